#include "search/periodsearch.h"

#include "state/numbertext.h"

#include <optional>
#include <span>

namespace quorix {

namespace {

// Reads and checks the entries, storing each value as it is read; empty after a message.
std::optional<SearchEntries> ReadEntries(SharedState& state, SearchWindow& window) {
    const EntryCheck check = CheckSearchEntries(
        {window.MinimumPeriodText(), window.MaximumPeriodText(), window.StepCountText()}, kMaxSteps);
    state.PeriodMin = check.periodMin.value_or(state.PeriodMin);
    state.PeriodMax = check.periodMax.value_or(state.PeriodMax);
    state.StepCount = check.steps.value_or(state.StepCount);
    if (!check.entries) {
        window.ShowMessage(check.message);
    }
    return check.entries;
}

void SetFullView(SharedState& state) {
    const std::int32_t n = state.StepCount;
    state.ViewStartIndex = 1;
    state.ViewEndIndex = n;
    const double span = state.OmegaHigh - state.OmegaLow;
    state.ViewOmegaStart = state.OmegaLow + span * (0.0 / n);
    state.ViewOmegaEnd = state.OmegaLow + span * (static_cast<double>(state.ViewEndIndex) / n);
    state.FullOmegaStart = state.ViewOmegaStart;
    state.FullOmegaEnd = state.ViewOmegaEnd;
}

} // namespace

std::string BestPeriodText(double period) {
    return ShortNumberText(period).substr(0, 6);
}

void RunPeriodSearch(SharedState& state, SearchWindow& window) {
    state.Pi = kSearchPi;
    state.TwoPi = kSearchTwoPi;
    const std::optional<SearchEntries> entries = ReadEntries(state, window);
    if (!entries || state.ObsCount < 1) {
        return;
    }
    const FTGrid grid = MakeGrid(std::span<const double>(state.ObsTimes).subspan(1, state.ObsCount),
                                 state.BaseTime, *entries);
    // Times a reader takes as numbers can still be too large for a phase: refuse before anything of
    // the last result is touched.
    if (!GridSearchable(grid)) {
        window.ShowMessage(kTimesTooLargeMessage);
        return;
    }
    window.SetSearchButtonsEnabled(false);
    const FTMinimum best = FastFTKernel(grid, state.FTValues);
    if (best.index < 0) {
        window.ShowMessage(kTimesTooLargeMessage);
        window.SetSearchButtonsEnabled(true);
        return;
    }
    state.OmegaLow = grid.omegaLow;
    state.OmegaHigh = OmegaHigh(*entries);
    state.OmegaStep = grid.omegaStep;
    state.BestFT = best.value;
    state.BestOmega = best.omega;
    state.FTComputed = kTrue;
    state.CompletedStepCount = state.StepCount;
    window.SetBestPeriodText(BestPeriodText(state.TwoPi / state.BestOmega));
    SetFullView(state);
    window.SetSearchButtonsEnabled(true);
}

} // namespace quorix
