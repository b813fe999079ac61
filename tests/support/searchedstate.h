#pragma once

#include "search/searchentries.h"
#include "state/sharedstate.h"

#include <cmath>

namespace quorix::testing {

// Fills a started-up state as a completed search over `pMin`..`pMax` days with `steps` steps leaves
// it: a smooth FT curve, the full view, the data file name set.
inline void FillSearched(SharedState& state, double pMin = 0.2, double pMax = 1.2, int steps = 1000) {
    InitialiseSharedState(state);
    state.Pi = kSearchPi;
    state.TwoPi = kSearchTwoPi;
    state.PeriodMin = pMin;
    state.PeriodMax = pMax;
    state.OmegaLow = state.TwoPi / pMax;
    state.OmegaHigh = state.TwoPi / pMin;
    state.OmegaStep = (state.OmegaHigh - state.OmegaLow) / steps;
    state.StepCount = state.CompletedStepCount = steps;
    for (int i = 0; i <= steps; ++i) {
        state.FTValues[i] = 0.5 + 0.5 * std::sin(i * 0.01);
    }
    state.FTComputed = kTrue;
    state.ViewStartIndex = 1;
    state.ViewEndIndex = steps;
    state.ViewOmegaStart = state.FullOmegaStart = state.OmegaLow;
    state.ViewOmegaEnd = state.FullOmegaEnd = state.OmegaHigh;
    state.DataFileName = "algol_type_hjd.txt";
}

} // namespace quorix::testing
