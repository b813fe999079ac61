#include "ftplot/ftrender.h"

#include "aliases/aliaslist.h"
#include "ftplot/AxisStep.h"
#include "ftplot/plotframe.h"
#include "state/numbertext.h"

#include <algorithm>
#include <cmath>

namespace quorix {

namespace {

constexpr double kNarrowestSpan = 0.00001;
constexpr int kTickLength = 100;
constexpr int kTopMarkLength = 900;
constexpr int kBottomMarkLength = 300;
// An end-tick label stands 200 twips left of its tick; the left one is 975 twips wide.
constexpr double kEndLabelOffset = 200;
constexpr double kFirstEndLabelWidth = 975;
constexpr int kMaxLabelDecimals = 7;

bool ShowsFullView(const SharedState& state) {
    return state.ViewStartIndex == 1 && state.ViewEndIndex == state.CompletedStepCount &&
           state.ViewOmegaStart == state.FullOmegaStart && state.ViewOmegaEnd == state.FullOmegaEnd;
}

void DrawTickMarks(const SharedState& state, DisplayList& drawing, const FTTicks& ticks) {
    for (std::int32_t k = ticks.first; k >= ticks.last; --k) {
        const double omega = state.TwoPi / (k * static_cast<double>(ticks.interval));
        const auto x = static_cast<float>(OmegaToPlotX(state, omega));
        drawing.SetForeColor(kBlack);
        drawing.Line(x, static_cast<float>(state.PlotBottom + kTickLength), x, state.PlotBottom);
    }
}

void PlaceControlRows(const SharedState& state, FTPlotView& view) {
    const int h = state.FTWinHeight - state.ControlsOffset;
    const std::pair<FTControl, int> tops[] = {
        {FTControl::kLabel4, h - 300},   {FTControl::kLabel5, h - 300},   {FTControl::kLabel6, h - 300},
        {FTControl::kLabel7, h - 100},   {FTControl::kLabel3, h - 300},   {FTControl::kText1, h - 100},
        {FTControl::kCommand2, h - 300}, {FTControl::kLabel8, h - 300},   {FTControl::kCommand3, h - 100},
        {FTControl::kCommand4, h - 100}, {FTControl::kCommand1, h - 300},
    };
    for (const auto& [control, top] : tops) {
        view.SetControlTop(control, top);
    }
}

void LabelTicks(SharedState& state, FTPlotView& view, const FTTicks& ticks) {
    const auto& format = state.DecimalFormats[AxisLabelDecimals(ticks.interval)];
    const char separator = view.DecimalSeparator();
    const double labelTop = state.FTWinHeight - state.ControlsOffset - 700;
    const auto place = [&](FTControl control, double left, const std::string& caption) {
        view.SetControlLeft(control, left);
        view.SetControlCaption(control, caption);
        view.SetControlTop(control, labelTop);
    };
    const double firstPeriod = ticks.first * static_cast<double>(ticks.interval);
    const double lastPeriod = ticks.last * static_cast<double>(ticks.interval);
    const double firstLeft = OmegaToPlotX(state, state.TwoPi / firstPeriod) - kEndLabelOffset;
    const double lastLeft = OmegaToPlotX(state, state.TwoPi / lastPeriod) - kEndLabelOffset;
    place(FTControl::kLabel1, firstLeft, FormatPattern(firstPeriod, format, separator));
    if (lastLeft >= firstLeft + kFirstEndLabelWidth) {
        place(FTControl::kLabel2, lastLeft, FormatPattern(lastPeriod, format, separator));
    } else {
        // Over a wide range every tick crowds at the left, where the two labels would print over
        // each other ("100.0" over "10.0" reads "110.0"); the right label then names the period at
        // the right edge of the frame, with the decimals it needs.
        const double edgePeriod = state.TwoPi / state.ViewOmegaEnd;
        const int decimals =
            std::clamp(1 - static_cast<int>(std::floor(std::log10(edgePeriod))), 1, kMaxLabelDecimals);
        place(FTControl::kLabel2, state.PlotRight - kEndLabelOffset,
              FormatPattern(edgePeriod, state.DecimalFormats[decimals], separator));
    }
    state.TickInterval = ticks.interval;
    PlaceControlRows(state, view);
    view.SetControlCaption(FTControl::kLabel5, FormatPattern(ticks.interval, format, separator));
}

} // namespace

std::optional<FTTicks> ChooseFTTicks(double periodStart, double periodEnd) {
    const double span = periodStart - periodEnd;
    if (!(span >= kNarrowestSpan)) {
        return std::nullopt;
    }
    FTTicks ticks;
    ticks.interval = AxisStep(span);
    const double interval = ticks.interval;
    ticks.first = RoundToInt32(Fix(periodStart / interval)).value_or(0);
    ticks.last = RoundToInt32(periodEnd / interval).value_or(0);
    if (ticks.last * interval < periodEnd) {
        ++ticks.last;
    }
    if (ticks.last == 0) {
        ticks.last = 1;
    }
    if (ticks.first == ticks.last) {
        return std::nullopt;
    }
    return ticks;
}

void ComputeFTGeometry(SharedState& state, double windowWidth, double windowHeight) {
    state.FTWinWidth = RoundClampInt16(windowWidth);
    state.FTWinHeight = RoundClampInt16(windowHeight);
    state.PlotLeft = 500;
    state.PlotRight = RoundClampInt16(state.FTWinWidth - 415);
    state.PlotWidth = RoundClampInt16(state.FTWinWidth - 915);
    state.PlotTop = 242;
    state.PlotBottom = RoundClampInt16(state.FTWinHeight - 1850);
    state.PlotHeight = RoundClampInt16(state.FTWinHeight - 2092);
    state.ControlsOffset = 1000;
}

bool DrawFTAxes(SharedState& state, LazyView<FTPlotView>& window) {
    // Raised before the window is touched: its load and first showing resize it.
    state.FTRedrawing = kTrue;
    FTPlotView& view = window.Loaded();
    view.ShowPlotWindow();
    DisplayList& drawing = view.PlotDrawing();
    drawing.Cls();
    ComputeFTGeometry(state, view.PlotWindowWidth(), view.PlotWindowHeight());
    DrawPlotFrame(drawing, state.PlotLeft, state.PlotTop, state.PlotRight, state.PlotBottom);
    if (state.FTComputed == kFalse) {
        return true;
    }
    const auto ticks = ChooseFTTicks(state.TwoPi / state.ViewOmegaStart, state.TwoPi / state.ViewOmegaEnd);
    if (!ticks) {
        // A zoomed view too narrow to label goes back to the full range. The full range itself may be
        // that narrow too: it is then drawn without ticks rather than restored again and again.
        if (!ShowsFullView(state)) {
            RestoreFTView(state, window);
            return false;
        }
        PlaceControlRows(state, view);
        return true;
    }
    DrawTickMarks(state, drawing, *ticks);
    LabelTicks(state, view, *ticks);
    drawing.SetForeColor(kBlack);
    return true;
}

double OmegaToPlotX(const SharedState& state, double omega) {
    return state.PlotLeft +
           state.PlotWidth * (omega - state.ViewOmegaStart) / (state.ViewOmegaEnd - state.ViewOmegaStart);
}

double FTValueToPlotY(const SharedState& state, double value) {
    return state.PlotBottom - state.PlotHeight * value / 1.1;
}

void DrawFTCurve(SharedState& state, FTPlotView& view, std::int32_t first, std::int32_t last) {
    if (state.FTComputed == kFalse) {
        return;
    }
    // Only the grid of the last completed search holds values of the data now loaded.
    const std::int32_t lastValid = std::min(state.CompletedStepCount, kMaxSteps);
    first = std::clamp(first, 0, lastValid);
    last = std::clamp(last, first, lastValid);
    DisplayList& drawing = view.PlotDrawing();
    drawing.SetForeColor(kBlue);
    const double omegaSpan = state.ViewOmegaEnd - state.ViewOmegaStart;
    bool penDown = false;
    for (std::int32_t i = first; i <= last; ++i) {
        // A value that is not a number has no place on the plot: the curve resumes at the next one.
        const double value = state.FTValues[i];
        if (!std::isfinite(value)) {
            penDown = false;
            continue;
        }
        double x = state.PlotLeft;
        if (i > first) {
            const double omega = state.ViewOmegaStart + omegaSpan * (i - first) / (last - first);
            x = state.PlotLeft + state.PlotWidth * (omega - state.ViewOmegaStart) / omegaSpan;
        }
        const auto y = static_cast<float>(FTValueToPlotY(state, value));
        penDown ? drawing.LineTo(static_cast<float>(x), y) : drawing.PSet(static_cast<float>(x), y);
        penDown = true;
    }
    state.FTRedrawing = kFalse;
}

void RestoreFTView(SharedState& state, LazyView<FTPlotView>& window) {
    if (state.FTComputed == kFalse) {
        return;
    }
    state.ViewEndIndex = state.CompletedStepCount;
    state.ViewStartIndex = 1;
    state.ViewOmegaStart = state.FullOmegaStart;
    state.ViewOmegaEnd = state.FullOmegaEnd;
    window.Loaded().PlotDrawing().Cls();
    RedrawFTPlot(state, window);
}

void DrawAliasMarks(SharedState& state, FTPlotView& view, Colour colour) {
    DisplayList& drawing = view.PlotDrawing();
    drawing.SetForeColor(colour);
    const double shortest = state.TwoPi / state.ViewOmegaEnd;
    const double longest = state.TwoPi / state.ViewOmegaStart;
    const int count = std::clamp<int>(state.AliasCount, 0, kMaxAliases);
    for (int k = 1; k <= count; ++k) {
        const double alias = state.AliasPeriods[k].Period;
        if (!(shortest < alias && alias < longest)) {
            continue;
        }
        const float x = RoundClampInt16(OmegaToPlotX(state, state.TwoPi / alias));
        drawing.Line(x, state.PlotTop, x, static_cast<float>(state.PlotTop + kTopMarkLength));
        drawing.Line(x, state.PlotBottom, x, static_cast<float>(state.PlotBottom - kBottomMarkLength));
    }
}

bool ListAliasPeriods(SharedState& state, LazyView<AliasListView>& aliasWindow, FTPlotView& plot) {
    if (!BuildAliasList(state)) {
        return false;
    }
    AliasListView& window = aliasWindow.Loaded();
    window.OpenAliasList();
    window.ShowAliasLines();
    DrawAliasMarks(state, plot, state.MarkColour);
    return true;
}

void RedrawFTPlot(SharedState& state, LazyView<FTPlotView>& window) {
    if (!DrawFTAxes(state, window)) {
        return;
    }
    FTPlotView& view = window.Loaded();
    if (state.MarksShown != kFalse) {
        DrawAliasMarks(state, view, state.MarkColour);
    }
    DrawFTCurve(state, view, state.ViewStartIndex, state.ViewEndIndex);
}

void RedrawFTPlotWithoutMarks(SharedState& state, LazyView<FTPlotView>& window) {
    if (DrawFTAxes(state, window)) {
        DrawFTCurve(state, window.Loaded(), state.ViewStartIndex, state.ViewEndIndex);
    }
}

} // namespace quorix
