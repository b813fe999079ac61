#include "cli/plotexport.h"

#include "ftplot/ftrender.h"
#include "platform/surface.h"
#include "platform/twips.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <functional>
#include <map>

namespace quorix::cli {

namespace {

constexpr Colour kWindowBackground = Rgb(224, 224, 224);
const FontStyle kWindowFont{"MS Sans Serif", 8.25, true};
// The frame and caption of the window around its drawing surface, which the picture leaves out.
constexpr double kFrameWidth = 120;
constexpr double kLabelHeight = 255;
constexpr double kMargin = 120;

// The FT window off screen: its drawing surface and the labels the drawing routines place.
class PictureView : public FTPlotView, public LazyView<FTPlotView> {
public:
    FTPlotView& Loaded() override { return *this; }
    void ShowPlotWindow() override {}
    double PlotWindowWidth() override { return width; }
    double PlotWindowHeight() override { return height; }
    DisplayList& PlotDrawing() override { return drawing; }
    void SetControlTop(FTControl control, double top) override { labels[control].top = top; }
    void SetControlLeft(FTControl control, double left) override { labels[control].left = left; }
    void SetControlCaption(FTControl control, const std::string& caption) override {
        labels[control].caption = caption;
    }
    char DecimalSeparator() const override { return '.'; }

    struct Label {
        double left = 0, top = 0, width = 0;
        std::string caption;
    };
    double width = 0, height = 0;
    DisplayList drawing;
    std::map<FTControl, Label> labels;
};

// The labels of the window that describe the plot, at their designed places and widths; the
// buttons and hints, which only serve the mouse, are left out.
void DesignLabels(PictureView& view) {
    view.labels[FTControl::kLabel1] = {480, 0, 975, "L1"};
    view.labels[FTControl::kLabel2] = {12000, 0, 1095, "L2"};
    view.labels[FTControl::kLabel3] = {3600, 0, 1215, "Period (days)"};
    view.labels[FTControl::kLabel4] = {10200, 0, 1815, "Tick interval (days):"};
    view.labels[FTControl::kLabel5] = {12120, 0, 1335, "L5"};
}

void Paint(QPainter& painter, const PictureView& view, double scale, QSizeF size) {
    painter.fillRect(QRectF(QPointF(0, 0), size), ToQColor(kWindowBackground));
    const QFont font = ToQFont(kWindowFont);
    PaintDisplayList(painter, view.drawing, scale, font);
    painter.setPen(Qt::black);
    painter.setFont(font);
    for (const auto& [control, label] : view.labels) {
        const QRectF box(label.left * scale, label.top * scale, label.width * scale, kLabelHeight * scale);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, ToQString(label.caption));
    }
}

bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// Paints onto the device the file's type asks for; false when the device cannot be painted on.
bool WritePicture(const std::string& finalName, const std::string& writePath, double widthTwips,
                  double heightTwips,
                  const std::function<void(QPainter&, double scale, QSizeF size)>& paint) {
    const QString path = ToQString(writePath);
    if (EndsWith(finalName, ".svg")) {
        const double scale = 1.0 / 15; // 96 dots per inch
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setResolution(96);
        const QSizeF size(widthTwips * scale, heightTwips * scale);
        svg.setSize(size.toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), size));
        QPainter painter;
        if (!painter.begin(&svg)) {
            return false;
        }
        paint(painter, scale, size);
        return painter.end();
    }
    if (EndsWith(finalName, ".pdf")) {
        QPdfWriter pdf(path);
        pdf.setResolution(1440); // one device unit per twip
        pdf.setPageSize(QPageSize(QSizeF(widthTwips / 20, heightTwips / 20), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            return false;
        }
        paint(painter, 1.0, QSizeF(widthTwips, heightTwips));
        return painter.end();
    }
    const double scale = 2.0 / 15; // twice the screen's 96 dots per inch
    QImage image(static_cast<int>(widthTwips * scale), static_cast<int>(heightTwips * scale),
                 QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(192 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&image);
        paint(painter, scale, QSizeF(image.size()));
    }
    return image.save(path, "PNG");
}

} // namespace

bool ExportFTPlot(SharedState& state, const std::string& finalName, const std::string& writePath,
                  std::string& error) {
    PictureView view;
    view.width = state.FTWinWidth;
    view.height = state.FTWinHeight;
    DesignLabels(view);
    RedrawFTPlot(state, view);
    const double width = view.width - kFrameWidth;
    double lowest = 0;
    for (const auto& [control, label] : view.labels) {
        lowest = std::max(lowest, label.top + kLabelHeight);
    }
    const double height = lowest + kMargin;
    const bool written =
        WritePicture(finalName, writePath, width, height, [&](QPainter& painter, double scale, QSizeF size) {
            Paint(painter, view, scale, size);
        });
    if (!written) {
        error = "cannot write " + finalName;
    }
    return written;
}

} // namespace quorix::cli
