#include "platform/surface.h"

#include <QImage>

#include <gtest/gtest.h>

namespace quorix {
namespace {

TEST(DisplayListTest, PenLinesBecomeOnePolylinePerColour) {
    DisplayList list;
    list.SetForeColor(Rgb(0, 0, 255));
    list.PSet(500, 100);
    for (int i = 1; i <= 1000; ++i) {
        list.LineTo(500.0f + i, 100.0f + (i % 7));
    }
    ASSERT_EQ(list.Ops().size(), 2u);
    EXPECT_EQ(list.Ops()[1].kind, DrawKind::kPolyline);
    EXPECT_EQ(list.Ops()[1].pointCount, 1001u);
    list.SetForeColor(Rgb(255, 0, 0));
    list.LineTo(0, 0);
    EXPECT_EQ(list.Ops().size(), 3u) << "a new colour starts a new polyline";
    list.Line(1, 2, 3, 4);
    EXPECT_EQ(list.Pen(), (TwipPoint{3, 4}));
    list.Cls();
    EXPECT_TRUE(list.Ops().empty());
    EXPECT_TRUE(list.Points().empty());
    EXPECT_EQ(list.Pen(), (TwipPoint{0, 0}));
}

TEST(SurfaceTest, PaintsTheDisplayListAtTwipPositions) {
    Surface surface;
    surface.resize(400, 300);
    surface.SetBackColor(Rgb(224, 224, 224));
    const float tpp = static_cast<float>(TwipsPerPixel());
    surface.SetForeColor(Rgb(0, 0, 255));
    surface.Line(10 * tpp, 20 * tpp, 200 * tpp, 20 * tpp);
    surface.SetForeColor(Rgb(255, 0, 0));
    surface.PSet(50 * tpp, 100 * tpp);
    surface.LineTo(50 * tpp, 150 * tpp);
    const QImage image = surface.Snapshot();
    EXPECT_EQ(image.pixelColor(100, 20), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(100, 21), QColor(224, 224, 224));
    EXPECT_EQ(image.pixelColor(50, 120), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(224, 224, 224));
}

TEST(SurfaceTest, PointerShapes) {
    Surface surface;
    surface.SetMousePointer(MousePointer::kCrossHair);
    EXPECT_EQ(surface.cursor().shape(), Qt::CrossCursor);
    surface.SetMousePointer(MousePointer::kArrow);
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace quorix
