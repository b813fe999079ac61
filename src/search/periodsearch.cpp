#include "search/periodsearch.h"

#include "state/numbertext.h"

#include <limits>
#include <span>

namespace quorix {

namespace {

constexpr double kShortestPeriod = 0.05;
constexpr double kLongestPeriod = 100;
constexpr std::int32_t kFewestSteps = 1000;

bool PeriodInRange(double period) {
    return !(period < kShortestPeriod || period > kLongestPeriod);
}

// Reads and checks the entries in order, storing each value as it is read; false after a message.
bool ReadEntries(SharedState& state, SearchWindow& window) {
    state.PeriodMin = ReadLeadingNumber(window.MinimumPeriodText());
    if (!PeriodInRange(state.PeriodMin)) {
        window.ShowMessage("Minimum period must be between 0.05 and 100 days.");
        return false;
    }
    state.PeriodMax = ReadLeadingNumber(window.MaximumPeriodText());
    if (!PeriodInRange(state.PeriodMax)) {
        window.ShowMessage("Maximum period must be between 0.05 and 100 days.");
        return false;
    }
    // Periods a few units of the last place apart can still give one and the same frequency, and a
    // grid without width has nothing to search and nothing to draw.
    if (!(state.PeriodMin < state.PeriodMax) ||
        !(state.TwoPi / state.PeriodMax < state.TwoPi / state.PeriodMin)) {
        window.ShowMessage("Minimum period must be less than the maximum period.");
        return false;
    }
    const double entry = ReadLeadingNumber(window.StepCountText());
    const auto steps = RoundToInt32(entry);
    // An entry beyond the 32-bit range is kept as the nearest value the field can hold.
    state.StepCount = steps.value_or(entry > 0 ? std::numeric_limits<std::int32_t>::max()
                                               : std::numeric_limits<std::int32_t>::min());
    if (!steps || *steps < kFewestSteps || *steps > kMaxSteps) {
        window.ShowMessage("Number of steps must be between 1000 and 500000, inclusive.");
        return false;
    }
    return true;
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

FTGrid GridOf(const SharedState& state) {
    FTGrid grid;
    grid.times = std::span<const double>(state.ObsTimes).subspan(1, state.ObsCount);
    grid.baseTime = state.BaseTime;
    grid.omegaLow = state.OmegaLow;
    grid.omegaStep = state.OmegaStep;
    grid.steps = state.StepCount;
    return grid;
}

std::string BestPeriodText(double period) {
    return ShortNumberText(period).substr(0, 6);
}

void RunPeriodSearch(SharedState& state, SearchWindow& window) {
    state.Pi = 3.1415926535;
    state.TwoPi = state.Pi * 2;
    if (!ReadEntries(state, window) || state.ObsCount < 1) {
        return;
    }
    const double omegaHigh = state.TwoPi / state.PeriodMin;
    FTGrid grid = GridOf(state);
    grid.omegaLow = state.TwoPi / state.PeriodMax;
    grid.omegaStep = (omegaHigh - grid.omegaLow) / state.StepCount;
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
    state.OmegaHigh = omegaHigh;
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
