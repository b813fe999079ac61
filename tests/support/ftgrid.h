#pragma once

#include "search/ftkernel.h"

#include <span>

namespace quorix::testing {

// The search's 2 pi, from its ten-digit pi.
inline constexpr double kTwoPi = 3.1415926535 * 2;

// The grid the search lays over pMin..pMax days in `steps` steps, the times taken from `baseTime`.
// The grid refers to `times`, which must outlive it.
inline FTGrid PeriodGrid(std::span<const double> times, double baseTime, double pMin, double pMax,
                         int steps) {
    FTGrid grid;
    grid.times = times;
    grid.baseTime = baseTime;
    grid.omegaLow = kTwoPi / pMax;
    grid.omegaStep = (kTwoPi / pMin - grid.omegaLow) / steps;
    grid.steps = steps;
    return grid;
}

} // namespace quorix::testing
