#pragma once

#include "candidates/candidates.h"
#include "search/ftkernel.h"
#include "search/searchentries.h"
#include "state/minimumtype.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace quorix::testing {

// When a star can be observed: a season of `seasonDays` each year and, within it, the part of each
// Julian day (which starts at noon) that is night at the observatory.
struct Sky {
    double start = 2451234.5; // Julian date of the first night
    double years = 10;
    double seasonDays = 240;
    double nightStart = 0.25;
    double nightEnd = 0.65;
};

inline bool Observable(const Sky& sky, double t) {
    const double sinceStart = t - sky.start, fraction = t - std::floor(t);
    return sinceStart >= 0 && sinceStart <= sky.years * 365.25 &&
           std::fmod(sinceStart, 365.25) < sky.seasonDays && fraction >= sky.nightStart &&
           fraction <= sky.nightEnd;
}

// A times-of-minima list with what the observer said of each minimum.
struct Observed {
    std::vector<double> times;
    std::vector<MinimumType> types;
};

// `count` times observable under `sky`, at random: data with no period.
inline std::vector<double> SeasonalTimes(std::mt19937& random, const Sky& sky, int count) {
    std::uniform_real_distribution<double> instant(sky.start, sky.start + sky.years * 365.25);
    std::vector<double> times;
    while (static_cast<int>(times.size()) < count) {
        if (const double t = instant(random); Observable(sky, t)) {
            times.push_back(t);
        }
    }
    return times;
}

// Up to `count` observable minima of an eclipsing binary of `period` days: primaries at whole cycles
// of an epoch, secondaries (when `withSecondaries`, about one in three) at half cycles, each with a
// normal timing error of `noise` days.
inline Observed EclipsingBinary(std::mt19937& random, const Sky& sky, double period, int count,
                                bool withSecondaries, double noise = 1e-4) {
    const double epoch = sky.start + 0.37 * period;
    std::uniform_int_distribution<long> cycle(0, static_cast<long>(sky.years * 365.25 / period));
    std::bernoulli_distribution secondary(withSecondaries ? 1.0 / 3 : 0.0);
    std::normal_distribution<double> error(0, noise);
    Observed observed;
    for (int attempt = 0; attempt < 1000000 && static_cast<int>(observed.times.size()) < count; ++attempt) {
        const bool isSecondary = secondary(random);
        const double t = epoch + (static_cast<double>(cycle(random)) + (isSecondary ? 0.5 : 0.0)) * period;
        if (Observable(sky, t)) {
            observed.times.push_back(t + error(random));
            observed.types.push_back(isSecondary ? MinimumType::kSecondary : MinimumType::kPrimary);
        }
    }
    return observed;
}

// A search's frequency grid from pMin to pMax days and its FT values, as "Compute" makes them.
struct SearchedGrid {
    double omegaLow = 0.0;
    double omegaStep = 0.0;
    int steps = 0;
    std::vector<double> ft;
};

inline SearchedGrid SearchGrid(const std::vector<double>& times, double pMin, double pMax, int steps) {
    const double earliest = *std::min_element(times.begin(), times.end());
    const FTGrid grid = MakeGrid(times, earliest, {2 * std::numbers::pi, pMin, pMax, steps});
    SearchedGrid searched{grid.omegaLow, grid.omegaStep, steps,
                          std::vector<double>(static_cast<std::size_t>(steps) + 1)};
    static_cast<void>(FastFTKernel(grid, searched.ft));
    return searched;
}

// The candidate search over a searched grid; `types` may be empty. Both must outlive the result.
inline CandidateSearch CandidatesOf(const std::vector<double>& times, const std::vector<MinimumType>& types,
                                    const SearchedGrid& grid, int count = 5) {
    return {times, types, grid.omegaLow, grid.omegaStep, grid.steps, grid.ft, count};
}

} // namespace quorix::testing
