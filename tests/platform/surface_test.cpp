#include "platform/surface.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quorix {
namespace {

// The picture is compared with what a plain painter draws where each part should go: the dense
// curve must lose no pixel to the painting's shortcuts, and each part keeps its own colour.
TEST(SurfaceTest, PaintsEachPartInItsColourWhereItsTwipsSayAndMissesNoPixelOfADenseCurve) {
    Surface surface;
    surface.resize(400, 300);
    surface.SetBackColor(Rgb(224, 224, 224));
    const double tpp = TwipsPerPixel();
    const auto twips = [tpp](double pixels) { return static_cast<float>(pixels * tpp); };
    const QColor blue(0, 0, 255), red(255, 0, 0), back(224, 224, 224);
    DisplayList& drawing = surface.EditDrawing();
    drawing.SetForeColor(Rgb(255, 0, 0));
    drawing.Print("W", surface.TextLineHeight());
    drawing.SetForeColor(Rgb(0, 0, 255));
    std::vector<QPoint> curve;
    for (int i = 0; i < 40000; ++i) {
        const float x = twips(20 + 270.0 * i / 39999),
                    y = twips(100 + 80 * std::sin(i * 0.37) * std::cos(i * 0.001));
        i == 0 ? drawing.PSet(x, y) : drawing.LineTo(x, y);
        curve.emplace_back(static_cast<int>(std::lround(x / tpp)), static_cast<int>(std::lround(y / tpp)));
    }
    drawing.SetForeColor(Rgb(255, 0, 0));
    drawing.LineTo(twips(390), twips(250)); // a new colour starts a new line at the pen
    drawing.Line(twips(300), twips(20), twips(390), twips(20));
    drawing.LineTo(twips(390), twips(80)); // on from the end of the last line
    drawing.Circle(twips(340), twips(150), twips(20));
    const QImage painted = surface.Snapshot();
    QImage reference(painted.size(), painted.format());
    reference.fill(back);
    {
        QPainter painter(&reference);
        painter.setPen(QPen(blue, 0));
        painter.drawPolyline(curve.data(), static_cast<int>(curve.size()));
        painter.setPen(QPen(red, 0));
        painter.drawPolyline(QPolygon{curve.back(), QPoint(390, 250)});
        painter.drawPolyline(QPolygon{QPoint(300, 20), QPoint(390, 20), QPoint(390, 80)});
        painter.drawEllipse(QPointF(340, 150), 20, 20);
    }
    int missing = 0, extra = 0, drawn = 0, textInk = 0;
    for (int x = 0; x < painted.width(); ++x) {
        for (int y = 0; y < painted.height(); ++y) {
            const QColor want = reference.pixelColor(x, y), got = painted.pixelColor(x, y);
            if (x < 20 && y < 25) {
                textInk += got == red; // text starts at the top-left corner
            } else {
                drawn += want != back;
                missing += want != back && got != want;
                extra += want == back && got != back;
            }
        }
    }
    EXPECT_GT(drawn, 10000);
    EXPECT_EQ(missing, 0);
    EXPECT_LE(extra, drawn / 2000) << "at most a segment end pixel here and there";
    EXPECT_GT(textInk, 0);
}

} // namespace
} // namespace quorix
