#pragma once

#include "support/searchedstate.h"

#include <algorithm>
#include <vector>

namespace quorix::testing {

// Three minima about two days apart: at a period of 1 day they count 0, 2 and 4 cycles with O-C
// values 0, 0.01 and -0.02 days.
inline const std::vector<double> kThreeMinima = {50000.0, 50002.01, 50003.98};

// Fills `state` as a search over the default range leaves it, with `times` loaded as the reader
// loads them (the time origin is the earliest time) and `period` on trial.
inline void FillObserved(SharedState& state, const std::vector<double>& times, double period) {
    FillSearched(state);
    state.ObsCount = static_cast<std::int16_t>(times.size());
    state.BaseTime = *std::min_element(times.begin(), times.end());
    std::copy(times.begin(), times.end(), state.ObsTimes.begin() + 1);
    state.TrialPeriod = period;
}

inline SharedState ObservedState(const std::vector<double>& times, double period) {
    SharedState state;
    FillObserved(state, times, period);
    return state;
}

} // namespace quorix::testing
