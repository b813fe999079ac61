#include "cli/desktopstate.h"

#include "aliases/aliaslist.h"
#include "ocdiagram/occompute.h"

#include <algorithm>

namespace quorix::cli {

std::unique_ptr<SharedState> DesktopState(const CliSearch& search, std::span<const double> times,
                                          double baseTime, const std::vector<double>& curve,
                                          const std::string& file) {
    auto state = std::make_unique<SharedState>();
    InitialiseSharedState(*state);
    const SearchEntries& entries = search.entries;
    state->DataFileName = file;
    if (times.size() <= static_cast<std::size_t>(kMaxObservations)) {
        std::copy(times.begin(), times.end(), state->ObsTimes.begin() + 1);
        state->ObsCount = static_cast<std::int16_t>(times.size());
    }
    state->BaseTime = baseTime;
    state->Pi = entries.twoPi / 2;
    state->TwoPi = entries.twoPi;
    state->PeriodMin = entries.periodMin;
    state->PeriodMax = entries.periodMax;
    state->OmegaLow = search.grid.omegaLow;
    state->OmegaHigh = entries.twoPi / entries.periodMin;
    // The drawing spreads the curve it is given evenly over the range, whatever its length.
    const auto steps = std::max<std::int32_t>(static_cast<std::int32_t>(curve.size()) - 1, 1);
    state->OmegaStep = (state->OmegaHigh - state->OmegaLow) / steps;
    state->StepCount = state->CompletedStepCount = steps;
    std::copy_n(curve.begin(), std::min<std::size_t>(curve.size(), state->FTValues.size()),
                state->FTValues.begin());
    state->BestFT = search.best.value;
    state->BestOmega = search.best.omega;
    state->FTComputed = kTrue;
    state->ViewStartIndex = 1;
    state->ViewEndIndex = steps;
    state->ViewOmegaStart = state->FullOmegaStart = state->OmegaLow;
    state->ViewOmegaEnd = state->FullOmegaEnd = state->OmegaHigh;
    return state;
}

std::optional<OCReport> DesktopOC(SharedState& state, double period) {
    state.TrialPeriod = period;
    if (state.ObsCount == 0 || !ComputeOCDiagram(state)) {
        return std::nullopt;
    }
    const int count = state.OCPointCount;
    OCReport report;
    report.period = period;
    report.baseTime = state.BaseTime;
    report.cycles.assign(state.CycleNumbers.begin() + 1, state.CycleNumbers.begin() + 1 + count);
    report.oc.assign(state.OCValues.begin() + 1, state.OCValues.begin() + 1 + count);
    report.fitDefined = state.OCFitDefined != kFalse;
    report.intercept = state.FitIntercept;
    report.slope = state.FitSlope;
    report.rms = state.OCRms;
    report.ephemeris = RefineEphemeris(state.CycleNumbers, state.OCValues, count, state.BaseTime, period);
    return report;
}

std::vector<std::string> DesktopAliasLines(SharedState& state, double period) {
    state.TrialPeriod = period;
    if (!BuildAliasList(state)) {
        return {};
    }
    return {state.AliasLines.begin() + 1, state.AliasLines.begin() + 1 + state.AliasLineCount};
}

} // namespace quorix::cli
