#include "platform/surface.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace quorix {
namespace {

TEST(SurfaceTest, PaintsTheDisplayListAtTwipPositionsEachPartInItsColour) {
    Surface surface;
    surface.resize(400, 300);
    surface.SetBackColor(Rgb(224, 224, 224));
    const float tpp = static_cast<float>(TwipsPerPixel());
    DisplayList& drawing = surface.EditDrawing();
    drawing.SetForeColor(Rgb(0, 0, 255));
    drawing.PSet(10 * tpp, 20 * tpp);
    drawing.LineTo(200 * tpp, 20 * tpp);
    drawing.SetForeColor(Rgb(255, 0, 0));
    drawing.LineTo(200 * tpp, 150 * tpp); // a new colour starts a new line at the pen
    drawing.Line(250 * tpp, 20 * tpp, 350 * tpp, 20 * tpp);
    drawing.LineTo(350 * tpp, 80 * tpp); // on from the end of the last line
    drawing.Circle(300 * tpp, 150 * tpp, 20 * tpp);
    drawing.Print("W", surface.TextLineHeight());
    const QImage image = surface.Snapshot();
    const QColor blue(0, 0, 255), red(255, 0, 0), back(224, 224, 224);
    const std::tuple<int, int, QColor> pixels[] = {
        {100, 20, blue}, {100, 21, back}, {200, 100, red},  {300, 20, red},
        {350, 50, red},  {320, 150, red}, {300, 150, back}, {200, 250, back},
    };
    for (const auto& [x, y, colour] : pixels) {
        EXPECT_EQ(image.pixelColor(x, y), colour) << x << ", " << y;
    }
    bool textInk = false;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 10; ++x) {
            textInk |= image.pixelColor(x, y) == red;
        }
    }
    EXPECT_TRUE(textInk) << "text starts at the top-left corner";
    drawing.Cls();
    EXPECT_TRUE(drawing.Ops().empty());
    EXPECT_EQ(drawing.Pen(), (TwipPoint{0, 0}));
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

} // namespace
} // namespace quorix
