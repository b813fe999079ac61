#pragma once

#include "search/searchentries.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <span>
#include <vector>

namespace quorix::testing {

// The search's 2 pi, from its ten-digit pi.
inline constexpr double kTwoPi = kSearchTwoPi;

// The frequency grid of a search from `pMin` to `pMax` days in `steps` steps; it refers to `times`,
// which must outlive it.
inline FTGrid PeriodGrid(std::span<const double> times, double baseTime, double pMin, double pMax,
                         int steps) {
    return MakeGrid(times, baseTime, {kTwoPi, pMin, pMax, steps});
}

// The same grid with the earliest of `times` as its base time.
inline FTGrid PeriodGrid(std::span<const double> times, double pMin, double pMax, int steps) {
    return PeriodGrid(times, *std::min_element(times.begin(), times.end()), pMin, pMax, steps);
}

inline constexpr double kEarliest = std::numeric_limits<double>::quiet_NaN();

// A grid of a table-driven test; a base time of kEarliest stands for the earliest of `times`.
struct GridCase {
    const char* name;
    std::vector<double> times;
    double baseTime, pMin, pMax;
    int steps;

    [[nodiscard]] FTGrid Grid() const {
        return std::isnan(baseTime) ? PeriodGrid(times, pMin, pMax, steps)
                                    : PeriodGrid(times, baseTime, pMin, pMax, steps);
    }
};

// `count` times spread at random over `span` days from `start`.
inline std::vector<double> RandomTimes(unsigned seed, int count, double start, double span) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> offset(0, span);
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        times.push_back(start + offset(random));
    }
    return times;
}

// Minima of a binary of period `period`, primaries and secondaries in turn, within `cycles` cycles
// of `start` and with a little timing noise.
inline std::vector<double> Minima(std::mt19937& random, int count, double start, double period, double noise,
                                  int cycles = 4000) {
    std::uniform_int_distribution<int> cycle(0, cycles);
    std::normal_distribution<double> jitter(0, noise);
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        times.push_back(start + (cycle(random) + 0.5 * (k % 2)) * period + jitter(random));
    }
    return times;
}

} // namespace quorix::testing
