// Checks the candidate list's false-alarm probabilities against simulated data: on data sets with no
// period the share of sets reported below a level should be that level, and for eclipsing binaries the
// true period must come out far below any level. Prints the tables; not a timed benchmark.
#include "candidates/candidatedata.h"
#include "candidates/candidates.h"
#include "candidates/falsealarm.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

using namespace quorix;
using namespace quorix::testing;

constexpr double kPeriodMin = 0.2;
constexpr double kPeriodMax = 10;
constexpr int kSteps = 500000;
// Fresh seeds: the independence factor was fitted on other ones.
constexpr unsigned kNullSeed = 20261208;
constexpr int kNullSets = 200;

Sky RandomSky(std::mt19937& random) {
    Sky sky;
    sky.years = std::uniform_real_distribution<double>(5, 30)(random);
    sky.start = std::uniform_real_distribution<double>(2440000, 2455000)(random);
    sky.start = std::floor(sky.start) + 0.5;
    return sky;
}

double LowestFalseAlarm(const CandidateList& list) {
    double lowest = 1;
    for (const Candidate& dip : list.dips) {
        lowest = std::min(lowest, dip.falseAlarm);
    }
    return lowest;
}

// A search range with its grid.
struct Range {
    double pMin;
    double pMax;
    int steps;
};

void NullTable(const Range& range, unsigned seed) {
    std::mt19937 random(seed);
    const double levels[] = {0.01, 0.05, 0.10};
    int below[3] = {};
    for (int set = 0; set < kNullSets; ++set) {
        const Sky sky = RandomSky(random);
        const int count = std::uniform_int_distribution<int>(15, 100)(random);
        const std::vector<double> times = SeasonalTimes(random, sky, count);
        const SearchedGrid grid = SearchGrid(times, range.pMin, range.pMax, range.steps);
        const double fap = LowestFalseAlarm(ListCandidates(CandidatesOf(times, {}, grid)));
        for (int k = 0; k < 3; ++k) {
            below[k] += fap < levels[k];
        }
    }
    std::printf(
        "Data without a period: %d sets, 15-100 times over 5-30 years of seasons, %g-%g d, %d steps\n",
        kNullSets, range.pMin, range.pMax, range.steps);
    std::printf("level   sets below   share   expected +- 2 sd\n");
    for (int k = 0; k < 3; ++k) {
        const double sd = std::sqrt(levels[k] * (1 - levels[k]) / kNullSets);
        std::printf("%5.2f   %10d   %5.3f   %5.3f +- %5.3f\n", levels[k], below[k],
                    static_cast<double>(below[k]) / kNullSets, levels[k], 2 * sd);
    }
}

void BinaryTable() {
    std::mt19937 random(kNullSeed + 1);
    std::printf("\nEclipsing binaries, timing noise 1e-4 d, %g-%g d, %d steps\n", kPeriodMin, kPeriodMax,
                kSteps);
    std::printf("period      N  years  minima      FT(true)   FAP(true)  pick\n");
    for (const double period : {0.2871, 0.5634, 1.2346, 2.7183, 4.4321, 8.6602}) {
        for (const bool secondaries : {false, true}) {
            const Sky sky = RandomSky(random);
            const int count = std::uniform_int_distribution<int>(30, 80)(random);
            const Observed observed = EclipsingBinary(random, sky, period, count, secondaries);
            const SearchedGrid grid = SearchGrid(observed.times, kPeriodMin, kPeriodMax, kSteps);
            const CandidateList list = ListCandidates(CandidatesOf(observed.times, observed.types, grid));
            const double origin = *std::min_element(observed.times.begin(), observed.times.end());
            const double ft = ExactFT(observed.times, origin, 2 * std::numbers::pi / period);
            const double fap = FalseAlarmProbability(ft, static_cast<int>(observed.times.size()),
                                                     list.independentFrequencies);
            std::printf("%-10.4f %3zu  %5.1f  %-10s  %9.2e  %9.2e  %s\n", period, observed.times.size(),
                        sky.years, secondaries ? "mixed" : "primaries", ft, fap,
                        list.pick.period ? std::to_string(*list.pick.period).c_str() : "none");
        }
    }
}

void ExampleTables() {
    std::mt19937 random(kNullSeed + 2);
    for (const bool secondaries : {false, true}) {
        Sky sky;
        sky.years = 12;
        const Observed observed = EclipsingBinary(random, sky, 1.2345678, 40, secondaries);
        const SearchedGrid grid = SearchGrid(observed.times, kPeriodMin, kPeriodMax, 200000);
        std::printf("\n%s, true period 1.2345678 d, 40 minima over 12 years, 0.2-10 d in 200000 steps:\n",
                    secondaries ? "Primaries and secondaries" : "Primaries only");
        std::printf(
            "%s",
            FormatCandidateTable(ListCandidates(CandidatesOf(observed.times, observed.types, grid))).c_str());
        std::printf("Without the types:\n%s",
                    FormatCandidateTable(ListCandidates(CandidatesOf(observed.times, {}, grid))).c_str());
    }
}

} // namespace

int main() {
    NullTable({kPeriodMin, kPeriodMax, kSteps}, kNullSeed);
    NullTable({0.5, 3, 200000}, kNullSeed + 3);
    BinaryTable();
    ExampleTables();
}
