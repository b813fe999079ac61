#include "platform/surface.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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
    DisplayList& drawing = surface.EditDrawing();
    drawing.SetForeColor(Rgb(0, 0, 255));
    drawing.Line(10 * tpp, 20 * tpp, 200 * tpp, 20 * tpp);
    drawing.SetForeColor(Rgb(255, 0, 0));
    drawing.PSet(50 * tpp, 100 * tpp);
    drawing.LineTo(50 * tpp, 150 * tpp);
    drawing.Circle(300 * tpp, 150 * tpp, 20 * tpp);
    drawing.Print("W", surface.TextLineHeight());
    const QImage image = surface.Snapshot();
    EXPECT_EQ(image.pixelColor(100, 20), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(100, 21), QColor(224, 224, 224));
    EXPECT_EQ(image.pixelColor(50, 120), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(320, 150), QColor(255, 0, 0)) << "the circle's right edge";
    EXPECT_EQ(image.pixelColor(300, 150), QColor(224, 224, 224)) << "an outline only";
    EXPECT_EQ(image.pixelColor(200, 250), QColor(224, 224, 224));
    bool textInk = false;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 10; ++x) {
            textInk |= image.pixelColor(x, y) == QColor(255, 0, 0);
        }
    }
    EXPECT_TRUE(textInk) << "text starts at the top-left corner";
}

TEST(SurfaceTest, DenseCurveMissesNoPixelOfEverySegment) {
    const double tpp = TwipsPerPixel();
    DisplayList list;
    list.SetForeColor(Rgb(0, 0, 255));
    std::vector<QPoint> every;
    for (int i = 0; i < 40000; ++i) {
        const float x = static_cast<float>((10 + 280.0 * i / 39999) * tpp);
        const float y = static_cast<float>((100 + 80 * std::sin(i * 0.37) * std::cos(i * 0.001)) * tpp);
        i == 0 ? list.PSet(x, y) : list.LineTo(x, y);
        every.emplace_back(static_cast<int>(std::lround(x / tpp)), static_cast<int>(std::lround(y / tpp)));
    }
    QImage painted(300, 200, QImage::Format_RGB32);
    painted.fill(Qt::white);
    QImage reference = painted;
    {
        QPainter painter(&painted);
        PaintDisplayList(painter, list, 1.0 / tpp, QFont());
    }
    {
        QPainter painter(&reference);
        painter.setPen(QPen(QColor(0, 0, 255), 0));
        painter.drawPolyline(every.data(), static_cast<int>(every.size()));
    }
    int missing = 0, extra = 0, drawn = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const bool inReference = reference.pixel(x, y) != qRgb(255, 255, 255);
            const bool inPainted = painted.pixel(x, y) != qRgb(255, 255, 255);
            drawn += inReference;
            missing += inReference && !inPainted;
            extra += inPainted && !inReference;
        }
    }
    EXPECT_GT(drawn, 10000);
    EXPECT_EQ(missing, 0);
    EXPECT_LE(extra, drawn / 2000) << "at most a segment end pixel here and there";
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
