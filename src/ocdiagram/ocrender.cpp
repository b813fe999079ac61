#include "ocdiagram/ocrender.h"

#include "ftplot/AxisStep.h"
#include "ftplot/plotframe.h"
#include "ocdiagram/occompute.h"
#include "state/numbertext.h"

#include <algorithm>
#include <cmath>

namespace quorix {

namespace {

constexpr int kTickLength = 100;
constexpr int kReadOutOffset = 1100;
constexpr int kLabelRaise = 100;
constexpr int kStepCaptionRaise = 250;
constexpr int kLabelHeight = 255;
constexpr int kRingInnerRadius = 20;
constexpr int kRingOuterRadius = 30;
// A span divides into 4 to 10 steps; the bound only keeps a grid loop short whatever the values.
constexpr double kMaxGridLines = 50;
// Grid lines are counted in steps from 0: values this many steps away cannot be labelled sensibly.
constexpr double kMaxStepIndex = 1e9;

bool IsUsableSpan(double low, double high, double span) {
    if (!(std::isfinite(span) && span > 0)) {
        return false;
    }
    const double step = AxisStep(span);
    return std::isfinite(step) && step > 0 &&
           std::max(std::fabs(low), std::fabs(high)) / step < kMaxStepIndex;
}

// The values one axis of the diagram shows, from Low to High, Span apart.
struct OCAxisRange {
    double Low = -0.5;
    double High = 0.5;
    double Span = 1.0;
};

// Cycles from 0 to CycleMax, O-C values from OCMin to OCMax. An axis whose values are all the same
// (or too close together to divide into steps) spans one unit centred on them instead, so that the
// points stand in the middle of the frame and nothing is divided by a zero span.
struct OCAxisRanges {
    OCAxisRange Cycles;
    OCAxisRange OC;
};

OCAxisRanges ChooseOCAxisRanges(const SharedState& state) {
    const auto rangeOrUnit = [](double low, double high) {
        if (IsUsableSpan(low, high, high - low)) {
            return OCAxisRange{low, high, high - low};
        }
        const double middle = low + (high - low) / 2;
        return OCAxisRange{middle - 0.5, middle + 0.5, 1.0};
    };
    return {rangeOrUnit(0, state.CycleMax), rangeOrUnit(state.OCMin, state.OCMax)};
}

// The mappings of cycle counts to x and O-C values to y on the current frame.
class OCMapping {
public:
    explicit OCMapping(const SharedState& state) : state_(state), axes_(ChooseOCAxisRanges(state)) {}
    [[nodiscard]] const OCAxisRanges& Axes() const { return axes_; }
    [[nodiscard]] double X(double cycle) const {
        return state_.OCPlotLeft + state_.OCPlotWidth * (cycle - axes_.Cycles.Low) / axes_.Cycles.Span;
    }
    [[nodiscard]] double Y(double oc) const {
        return state_.OCPlotBottom - state_.OCPlotHeight * (oc - axes_.OC.Low) / axes_.OC.Span;
    }

private:
    const SharedState& state_;
    OCAxisRanges axes_;
};

// The O-C grid lines: the multiples first..last of the step.
struct OCGrid {
    float step = 0.0f;
    double first = 0.0;
    double last = 0.0;
};

void DrawCycleGrid(const SharedState& state, const OCMapping& map, DisplayList& drawing) {
    const OCAxisRange& cycles = map.Axes().Cycles;
    const double step = AxisStep(cycles.Span);
    const double first = Fix(cycles.Low / step);
    const double lines = std::min(Int(cycles.High / step) - first, kMaxGridLines);
    const float top = state.OCPlotTop, bottom = state.OCPlotBottom;
    for (int n = 0; n <= lines; ++n) {
        const double x = map.X((first + n) * step);
        if (x < state.OCPlotLeft || x > state.OCPlotRight) {
            continue;
        }
        const auto fx = static_cast<float>(x);
        drawing.SetForeColor(kBlack);
        drawing.Line(fx, bottom, fx, bottom + kTickLength);
        drawing.SetForeColor(kSilver);
        drawing.Line(fx, top, fx, bottom);
        drawing.SetForeColor(kBlack);
    }
}

OCGrid DrawOCGrid(const SharedState& state, const OCMapping& map, DisplayList& drawing) {
    OCGrid grid;
    const OCAxisRange& oc = map.Axes().OC;
    grid.step = AxisStep(oc.Span);
    const double step = grid.step;
    grid.first = Fix(oc.Low / step);
    grid.last = Int(oc.High / step);
    const double lines = std::min(grid.last - grid.first, kMaxGridLines);
    const float left = state.OCPlotLeft, right = state.OCPlotRight;
    for (int n = 0; n <= lines; ++n) {
        const double j = grid.first + n;
        const auto y = static_cast<float>(map.Y(j * step));
        drawing.SetForeColor(kBlack);
        drawing.Line(left - kTickLength, y, left, y);
        // The line of O-C = 0 stays black.
        drawing.SetForeColor(j == 0 ? kBlack : kSilver);
        drawing.Line(left, y, right, y);
        drawing.SetForeColor(kBlack);
    }
    return grid;
}

// The top of the "Step" caption: 250 twips above mid-height of the frame, with the step's value at
// mid-height below it. In a small window that pair would cover the value of the highest or lowest
// grid line; it then moves just clear of it, where the frame leaves room between the two.
double StepCaptionTop(double middle, double highestLabelTop, double lowestLabelTop) {
    const double wanted = middle - kStepCaptionRaise;
    const double highest = highestLabelTop + kLabelHeight;
    const double lowest = lowestLabelTop - kStepCaptionRaise - kLabelHeight;
    return highest <= lowest ? std::clamp(wanted, highest, lowest) : wanted;
}

void LabelOCAxis(const SharedState& state, OCPlotView& view, const OCMapping& map, const OCGrid& grid) {
    const std::string& format = state.DecimalFormats[AxisLabelDecimals(grid.step)];
    const double step = grid.step;
    const double middle = (state.OCPlotBottom + state.OCPlotTop) / 2.0;
    const double highestTop = map.Y(grid.last * step) - kLabelRaise;
    const double lowestTop = map.Y(grid.first * step) - kLabelRaise;
    const double stepTop = StepCaptionTop(middle, highestTop, lowestTop);
    view.SetControlTop(OCControl::kLabel1, highestTop);
    view.SetControlCaption(OCControl::kLabel1, FormatPattern(grid.last * step, format));
    view.SetControlTop(OCControl::kLabel4, stepTop);
    view.SetControlTop(OCControl::kLabel3, stepTop + kStepCaptionRaise);
    view.SetControlCaption(OCControl::kLabel3, FormatPattern(step, format));
    view.SetControlTop(OCControl::kLabel2, lowestTop);
    view.SetControlCaption(OCControl::kLabel2, FormatPattern(grid.first * step, format));
}

void FillReadOuts(const SharedState& state, OCPlotView& view) {
    const double top = state.OCWinHeight - kReadOutOffset;
    view.SetControlTop(OCControl::kLabel5, top);
    view.SetControlTop(OCControl::kLabel7, top);
    view.SetControlCaption(OCControl::kLabel7, FormatPattern(state.OCPeriod, "0.000000"));
    view.SetControlTop(OCControl::kLabel6, top);
    view.SetControlTop(OCControl::kText1, top);
    view.SetControlCaption(OCControl::kText1, FormatPattern(state.OCRms, "0.00000"));
    view.SetControlTop(OCControl::kCommand1, top);
}

void DrawFitLine(const SharedState& state, DisplayList& drawing) {
    const OCMapping map(state);
    const OCAxisRange &cycles = map.Axes().Cycles, &oc = map.Axes().OC;
    const double b = state.FitSlope;
    const double atStart = state.FitIntercept + b * cycles.Low, atEnd = state.FitIntercept + b * cycles.High;
    // A line through the points' mean meets the frame; a level line cannot leave it through the top
    // or the bottom, however its last bits were rounded.
    const bool sloped = b != 0;
    double xL = state.OCPlotLeft, yL = map.Y(atStart);
    if (sloped && atStart > oc.High) {
        xL = map.X(cycles.Low + (oc.High - atStart) / b);
        yL = state.OCPlotTop;
    } else if (sloped && atStart < oc.Low) {
        xL = map.X(cycles.Low + (oc.Low - atStart) / b);
        yL = state.OCPlotBottom;
    }
    // At the right-hand end the crossing is taken at a whole cycle count (halves to even).
    double xR = state.OCPlotRight, yR = map.Y(atEnd);
    if (sloped && atEnd > oc.High) {
        xR = map.X(std::nearbyint(cycles.High - (atEnd - oc.High) / std::fabs(b)));
        yR = state.OCPlotTop;
    } else if (sloped && atEnd < oc.Low) {
        xR = map.X(std::nearbyint(cycles.High - (oc.Low - atEnd) / std::fabs(b)));
        yR = state.OCPlotBottom;
    }
    if (!(std::isfinite(xL) && std::isfinite(yL) && std::isfinite(xR) && std::isfinite(yR))) {
        return;
    }
    const auto inFrame = [&state](double x) {
        return static_cast<float>(std::clamp<double>(x, state.OCPlotLeft, state.OCPlotRight));
    };
    drawing.Line(inFrame(xL), static_cast<float>(yL), inFrame(xR), static_cast<float>(yR));
}

} // namespace

void ComputeOCGeometry(SharedState& state, double windowWidth, double windowHeight) {
    state.OCWinWidth = RoundClampInt16(windowWidth);
    state.OCWinHeight = RoundClampInt16(windowHeight);
    state.OCPlotLeft = 900;
    state.OCPlotTop = 242;
    state.OCPlotRight = RoundClampInt16(std::max(state.OCWinWidth - 415, static_cast<int>(state.OCPlotLeft)));
    state.OCPlotBottom =
        RoundClampInt16(std::max(state.OCWinHeight - 1350, static_cast<int>(state.OCPlotTop)));
    state.OCPlotWidth = RoundClampInt16(state.OCPlotRight - state.OCPlotLeft);
    state.OCPlotHeight = RoundClampInt16(state.OCPlotBottom - state.OCPlotTop);
}

void DrawOCAxes(SharedState& state, LazyView<OCPlotView>& window) {
    // Raised before the window is touched: its load and first showing resize it. The complete
    // drawing that follows lowers it again.
    if (state.FTComputed != kFalse) {
        state.OCWinLoading = kTrue;
    }
    OCPlotView& view = window.Loaded();
    view.ShowPlotWindow();
    DisplayList& drawing = view.PlotDrawing();
    drawing.Cls();
    ComputeOCGeometry(state, view.PlotWindowWidth(), view.PlotWindowHeight());
    if (state.FTComputed == kFalse) {
        return;
    }
    const OCMapping map(state);
    DrawCycleGrid(state, map, drawing);
    const OCGrid grid = DrawOCGrid(state, map, drawing);
    LabelOCAxis(state, view, map, grid);
    FillReadOuts(state, view);
    DrawPlotFrame(drawing, state.OCPlotLeft, state.OCPlotTop, state.OCPlotRight, state.OCPlotBottom);
}

void DrawOCPoints(SharedState& state, OCPlotView& view) {
    if (state.FTComputed == kFalse) {
        return;
    }
    const OCMapping map(state);
    DisplayList& drawing = view.PlotDrawing();
    drawing.SetForeColor(kRed);
    const int count = std::clamp<int>(state.OCPointCount, 0, kMaxObservations);
    for (int i = 1; i <= count; ++i) {
        const auto x = static_cast<float>(map.X(state.CycleNumbers[i]));
        const auto y = static_cast<float>(map.Y(state.OCValues[i]));
        for (int radius = kRingInnerRadius; radius <= kRingOuterRadius; ++radius) {
            drawing.Circle(x, y, static_cast<float>(radius));
        }
    }
}

void DrawOCFitLine(SharedState& state, OCPlotView& view) {
    if (state.FTComputed == kFalse) {
        return;
    }
    DisplayList& drawing = view.PlotDrawing();
    drawing.SetForeColor(kBlue);
    if (state.OCFitDefined != kFalse) {
        DrawFitLine(state, drawing);
    }
    state.OCWinLoading = kFalse;
}

void RedrawOCPlot(SharedState& state, LazyView<OCPlotView>& window) {
    DrawOCAxes(state, window);
    OCPlotView& view = window.Loaded();
    DrawOCPoints(state, view);
    DrawOCFitLine(state, view);
}

void UpdateOCDiagram(SharedState& state, LazyView<OCPlotView>& window) {
    // Before the first search of a data set there is nothing to compute, yet the window still comes
    // up, cleared, rather than keeping an earlier file's diagram. A period the diagram cannot use
    // leaves the last diagram as it was.
    if (ComputeOCDiagram(state) || state.FTComputed == kFalse) {
        RedrawOCPlot(state, window);
    }
}

} // namespace quorix
