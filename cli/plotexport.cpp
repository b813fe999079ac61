#include "cli/plotexport.h"

#include "cli/fitsreport.h"
#include "ftplot/ftlayout.h"
#include "ftplot/ftrender.h"
#include "ocdiagram/oclayout.h"
#include "ocdiagram/ocrender.h"
#include "platform/surface.h"
#include "platform/twips.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace quorix::cli {

namespace {

constexpr Colour kOCBackground = kWhite;
// The frame and caption of a window around its drawing surface, which the picture leaves out.
constexpr double kFrameWidth = 120;
constexpr double kMargin = 120;

// A window's drawing surface off screen, with the labels its drawing routines place and fill: the
// view both plot windows' drawing code draws into.
template <typename View, typename Control> struct Picture : View, LazyView<View> {
    struct Label {
        double left = 0, top = 0, width = 0;
        std::string caption;
        TextAlign align = TextAlign::kLeft;
    };
    double width = 0, height = 0, labelHeight = 0;
    Colour background;
    DisplayList drawing;
    std::map<Control, Label> labels;

    View& Loaded() override { return *this; }
    void ShowPlotWindow() override {}
    double PlotWindowWidth() override { return width; }
    double PlotWindowHeight() override { return height; }
    DisplayList& PlotDrawing() override { return drawing; }
    void SetControlTop(Control control, double top) override { labels[control].top = top; }
    void SetControlCaption(Control control, const std::string& caption) override {
        labels[control].caption = caption;
    }

    // The surface and the labels below the lowest of them, without the window's frame.
    [[nodiscard]] QSizeF Extent() const {
        double lowest = 0;
        for (const auto& [control, label] : labels) {
            lowest = std::max(lowest, label.top + labelHeight);
        }
        return {width - kFrameWidth, lowest + kMargin};
    }

    void Paint(QPainter& painter, double scale) const {
        const QSizeF extent = Extent();
        painter.fillRect(QRectF(0, 0, extent.width() * scale, extent.height() * scale), ToQColor(background));
        const QFont font = ToQFont(kWindowFont);
        PaintDisplayList(painter, drawing, scale, font);
        painter.setPen(Qt::black);
        painter.setFont(font);
        for (const auto& [control, label] : labels) {
            const QRectF box(label.left * scale, label.top * scale, label.width * scale, labelHeight * scale);
            painter.drawText(box, ToQAlignment(label.align), ToQString(label.caption));
        }
    }
};

// The FT window also places labels sideways and writes numbers with a decimal separator.
struct FTPicture : Picture<FTPlotView, FTControl> {
    void SetControlLeft(FTControl control, double left) override { labels[control].left = left; }
    char DecimalSeparator() const override { return '.'; }
};

using OCPicture = Picture<OCPlotView, OCControl>;

// The labels of each window that describe its plot, at their designed places and widths; buttons
// and hints, which only serve the mouse, are left out.
void DesignLabels(FTPicture& picture) {
    picture.labelHeight = kFTLabelHeight;
    for (const FTLabelDesign& design : kFTPlotLabels) {
        picture.labels[design.id] = {design.left, design.top, design.width, design.caption};
    }
}

void DesignLabels(OCPicture& picture) {
    picture.labelHeight = kOCLabelHeight;
    for (const OCLabelDesign& design : kOCPlotLabels) {
        picture.labels[design.id] = {design.left, design.top, design.width, design.caption, design.align};
    }
}

// The desktop's shared state as its "Compute" and its O-C window leave it after this search, for
// the windows' drawing routines: the FT values of the curve, evenly spread over the range, and the
// observations and O-C diagram when there is one.
std::unique_ptr<SharedState> PlotState(const PlotRequest& request) {
    auto state = std::make_unique<SharedState>();
    InitialiseSharedState(*state);
    const CliSearch& search = *request.search;
    const SearchEntries& entries = search.entries;
    state->DataFileName = request.dataFile;
    if (request.times.size() <= static_cast<std::size_t>(kMaxObservations)) {
        std::copy(request.times.begin(), request.times.end(), state->ObsTimes.begin() + 1);
        state->ObsCount = static_cast<std::int16_t>(request.times.size());
    }
    state->BaseTime = request.baseTime;
    state->Pi = entries.twoPi / 2;
    state->TwoPi = entries.twoPi;
    state->PeriodMin = entries.periodMin;
    state->PeriodMax = entries.periodMax;
    state->OmegaLow = search.grid.omegaLow;
    state->OmegaHigh = OmegaHigh(entries);
    // The drawing spreads the curve it is given evenly over the range, whatever its length.
    const auto steps = std::max<std::int32_t>(static_cast<std::int32_t>(request.curve.size()) - 1, 1);
    state->OmegaStep = (state->OmegaHigh - state->OmegaLow) / steps;
    state->StepCount = state->CompletedStepCount = steps;
    std::copy_n(request.curve.begin(), std::min<std::size_t>(request.curve.size(), state->FTValues.size()),
                state->FTValues.begin());
    state->BestFT = search.best.value;
    state->BestOmega = search.best.omega;
    state->FTComputed = kTrue;
    state->ViewStartIndex = 1;
    state->ViewEndIndex = steps;
    state->ViewOmegaStart = state->FullOmegaStart = state->OmegaLow;
    state->ViewOmegaEnd = state->FullOmegaEnd = state->OmegaHigh;
    if (request.oc != nullptr && state->ObsCount > 0) {
        state->TrialPeriod = request.oc->period;
        StoreOCDiagram(*state, *request.oc);
    }
    return state;
}

// What the picture adds to the O-C window's diagram: the chosen ephemeris as a curve over it, and a
// panel of the residuals about that ephemeris below, primaries and secondaries told apart and
// timing errors drawn as bars. Everything is in twips, in the diagram's own cycle scale.
class EphemerisOverlay {
public:
    EphemerisOverlay(const PlotRequest& request, const SharedState& state, const EphemerisFit& fit)
        : request_(request), state_(state), fit_(fit),
          residuals_(EphemerisResiduals(fit, request.times, request.ephemeris->counts.cycles)) {
        for (std::size_t k = 0; k < residuals_.size(); ++k) {
            residualRange_ = std::max(residualRange_, std::fabs(residuals_[k]) + Error(k));
        }
        residualRange_ = residualRange_ > 0 && std::isfinite(residualRange_) ? 1.1 * residualRange_ : 1.0;
    }

    // Whether the diagram's axes map cycles and O-C values one to one, as the curve needs.
    [[nodiscard]] bool CurveFits() const {
        const double cycleSpan = state_.CycleMax, ocSpan = state_.OCMax - state_.OCMin;
        return std::isfinite(cycleSpan) && cycleSpan > 0 && std::isfinite(ocSpan) && ocSpan > 0;
    }

    // The chosen model's O-C against the trial ephemeris, across the diagram's frame, with the
    // points' secondary markers and error bars.
    void PaintOnDiagram(QPainter& painter, double scale) const {
        if (!CurveFits()) {
            return;
        }
        painter.save();
        painter.setClipRect(Scaled(
            QRectF(state_.OCPlotLeft, state_.OCPlotTop, state_.OCPlotWidth, state_.OCPlotHeight), scale));
        painter.setRenderHint(QPainter::Antialiasing);
        const auto ocY = [&](double oc) {
            return state_.OCPlotBottom -
                   state_.OCPlotHeight * (oc - state_.OCMin) / (state_.OCMax - state_.OCMin);
        };
        const OCDiagram& diagram = *request_.oc;
        for (std::size_t k = 0; k < diagram.cycles.size(); ++k) {
            PaintMarker(painter, scale, k, X(diagram.cycles[k]), ocY(diagram.oc[k]),
                        ocY(diagram.oc[k] + Error(k)), ocY(diagram.oc[k] - Error(k)), false);
        }
        QPolygonF curve;
        constexpr int kSegments = 400;
        for (int k = 0; k <= kSegments; ++k) {
            const double e = state_.CycleMax * k / kSegments;
            const double oc = fit_.TimeAt(e) - (request_.baseTime + request_.ephemeris->trialPeriod * e);
            curve << QPointF(X(e) * scale, ocY(oc) * scale);
        }
        painter.setPen(QPen(kCurveColour, kCurveWidth * scale));
        painter.drawPolyline(curve);
        painter.restore();
    }

    // The residual panel: its frame, zero line, range labels, the residuals and a caption that
    // names the model and the markers.
    void PaintPanel(QPainter& painter, double scale, double width) const {
        painter.fillRect(Scaled(QRectF(0, 0, width, Height()), scale), ToQColor(kOCBackground));
        const QFont font = ToQFont(kWindowFont);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const double left = state_.OCPlotLeft, plotWidth = state_.OCPlotWidth;
        painter.drawText(Scaled(QRectF(left, 0, plotWidth, kPanelCaption), scale),
                         Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, ToQString(Caption()));
        const QRectF frame(left, kPanelCaption, plotWidth, kPanelHeight);
        const auto y = [&](double residual) {
            return frame.center().y() - 0.5 * kPanelHeight * residual / residualRange_;
        };
        painter.setPen(QPen(Qt::lightGray, 0));
        painter.drawLine(Scaled(QLineF(frame.left(), y(0), frame.right(), y(0)), scale));
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(Scaled(frame, scale));
        char text[32];
        for (const double value : {residualRange_, 0.0, -residualRange_}) {
            std::snprintf(text, sizeof text, "%.2g", value);
            painter.drawText(
                Scaled(QRectF(0, y(value) - kOCLabelHeight / 2, left - 2 * kMarker, kOCLabelHeight), scale),
                Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(text));
        }
        painter.save();
        painter.setClipRect(Scaled(frame, scale));
        painter.setRenderHint(QPainter::Antialiasing);
        const std::vector<double>& cycles = request_.ephemeris->counts.cycles;
        for (std::size_t k = 0; k < residuals_.size() && CurveFits(); ++k) {
            PaintMarker(painter, scale, k, X(cycles[k]), y(residuals_[k]), y(residuals_[k] + Error(k)),
                        y(residuals_[k] - Error(k)), true);
        }
        painter.restore();
    }

    [[nodiscard]] static double Height() { return kPanelCaption + kPanelHeight + kPanelMargin; }

private:
    static constexpr double kPanelCaption = 600; // two lines of text
    static constexpr double kPanelHeight = 2400;
    static constexpr double kPanelMargin = 240;
    static constexpr double kMarker = 30; // the radius of the O-C window's rings
    static constexpr double kCurveWidth = 15;
    static constexpr double kBarWidth = 8;
    static inline const QColor kCurveColour{0, 128, 0};
    static inline const QColor kMarkerColour{255, 0, 0};

    static QRectF Scaled(const QRectF& rect, double scale) {
        return {rect.x() * scale, rect.y() * scale, rect.width() * scale, rect.height() * scale};
    }
    static QLineF Scaled(const QLineF& line, double scale) { return {line.p1() * scale, line.p2() * scale}; }

    [[nodiscard]] double X(double cycle) const {
        return state_.OCPlotLeft + state_.OCPlotWidth * cycle / state_.CycleMax;
    }
    [[nodiscard]] double Error(std::size_t k) const {
        const double error = k < request_.errors.size() ? request_.errors[k] : 0.0;
        return std::isfinite(error) && error > 0 ? error : 0.0;
    }
    [[nodiscard]] MinimumType Type(std::size_t k) const {
        return k < request_.types.size() ? request_.types[k] : MinimumType::kUnknown;
    }

    // An error bar where the error is known; in the residual panel a ring for a primary or a time
    // of unknown type and a disc for a secondary; on the diagram, whose rings the window drew, a dot
    // in a secondary's ring.
    void PaintMarker(QPainter& painter, double scale, std::size_t k, double x, double y, double high,
                     double low, bool panel) const {
        if (Error(k) > 0) {
            painter.setPen(QPen(kMarkerColour, kBarWidth * scale));
            painter.drawLine(QLineF(x * scale, high * scale, x * scale, low * scale));
        }
        const bool secondary = Type(k) == MinimumType::kSecondary;
        if (!panel && !secondary) {
            return;
        }
        const double radius = (panel ? kMarker : kMarker / 2) * scale;
        painter.setPen(QPen(kMarkerColour, kBarWidth * scale));
        painter.setBrush(secondary ? QBrush(kMarkerColour) : Qt::NoBrush);
        painter.drawEllipse(QPointF(x * scale, y * scale), radius, radius);
        painter.setBrush(Qt::NoBrush);
    }

    [[nodiscard]] std::string Caption() const {
        std::string caption = "Residuals (days) from the ";
        caption += fit_.weighted ? "weighted " : "";
        caption += fit_.model == EphemerisModel::kQuadratic ? "quadratic" : "linear";
        caption += " ephemeris (the green curve)";
        if (!request_.types.empty()) {
            caption += "; rings: primaries, discs: secondaries";
        }
        if (!request_.errors.empty()) {
            caption += "; bars: timing errors";
        }
        return caption;
    }

    const PlotRequest& request_;
    const SharedState& state_;
    const EphemerisFit& fit_;
    std::vector<double> residuals_;
    double residualRange_ = 0.0;
};

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

} // namespace quorix::cli

extern "C" __attribute__((visibility("default"))) bool
QuorixExportPlots(const quorix::cli::PlotRequest& request, std::string& error) {
    using namespace quorix;
    using namespace quorix::cli;
    // Pictures are drawn off screen, with no display needed; Qt's own notes about the desktop
    // session would only clutter the program's one line of diagnostics.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int qtArgc = 1;
    char* qtArgv[] = {const_cast<char*>(request.programName), nullptr};
    const QGuiApplication qtApp(qtArgc, qtArgv);

    const std::unique_ptr<SharedState> state = PlotState(request);
    const bool withOC = request.oc != nullptr;
    FTPicture ft;
    ft.width = state->FTWinWidth;
    ft.height = state->FTWinHeight;
    ft.background = kFTPlotBackground;
    DesignLabels(ft);
    RedrawFTPlot(*state, ft);
    OCPicture oc;
    if (withOC) {
        oc.width = state->OCWinWidth;
        oc.height = state->OCWinHeight;
        oc.background = kOCBackground;
        DesignLabels(oc);
        RedrawOCPlot(*state, oc);
    }
    const EphemerisFit* chosen =
        withOC && request.ephemeris != nullptr ? PreferredFit(*request.ephemeris) : nullptr;
    std::optional<EphemerisOverlay> overlay;
    if (chosen != nullptr && state->ObsCount > 0) {
        overlay.emplace(request, *state, *chosen);
    }
    const QSizeF top = ft.Extent();
    const QSizeF bottom = withOC ? oc.Extent() : QSizeF(0, 0);
    const double width = std::max(top.width(), bottom.width());
    const double height = top.height() + bottom.height() + (overlay ? EphemerisOverlay::Height() : 0.0);
    const bool written =
        WritePicture(request.finalName, request.writePath, width, height,
                     [&](QPainter& painter, double scale, QSizeF size) {
                         painter.fillRect(QRectF(QPointF(0, 0), size), ToQColor(kFTPlotBackground));
                         ft.Paint(painter, scale);
                         if (withOC) {
                             painter.translate(0, top.height() * scale);
                             oc.Paint(painter, scale);
                             if (overlay) {
                                 overlay->PaintOnDiagram(painter, scale);
                                 painter.translate(0, bottom.height() * scale);
                                 overlay->PaintPanel(painter, scale, bottom.width());
                             }
                         }
                     });
    if (!written) {
        error = "cannot write " + request.finalName;
    }
    return written;
}
