#include "search/nufftkernel.h"

#include "support/ftgrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

namespace quorix {
namespace {

using testing::GridCase;
using testing::kEarliest;
using testing::PeriodGrid;
using testing::RandomTimes;

// Observing seasons: `count` times in clusters of about 100 days, one each year for `years` years.
std::vector<double> Seasons(unsigned seed, int count, double start, int years) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> year(0, years - 1);
    std::uniform_real_distribution<double> day(0, 100);
    std::vector<double> times(static_cast<std::size_t>(count));
    std::generate(times.begin(), times.end(), [&] { return start + 365.25 * year(random) + day(random); });
    return times;
}

// Grid points first..last through `plan` (none: through NufftFTBlock) and through the reference: every
// value within the bound, the same best bit for bit, stored as the reference has it. Returns how many
// points were re-evaluated.
int ExpectBlockMatches(const FTGrid& grid, std::int32_t first, std::int32_t last,
                       const NufftPlan* plan = nullptr) {
    std::vector<double> literal(static_cast<std::size_t>(last - first) + 1), fast(literal.size());
    const FTMinimum expected = LiteralFTBlock(grid, first, last, literal);
    const FTMinimum actual = plan ? plan->Block(first, last, fast) : NufftFTBlock(grid, first, last, fast);
    EXPECT_EQ(std::tie(actual.index, actual.value, actual.omega),
              std::tie(expected.index, expected.value, expected.omega));
    const auto best = static_cast<std::size_t>(expected.index - first);
    EXPECT_EQ(fast[best], literal[best]);
    const double bound = plan ? plan->ErrorBound() : NufftErrorBound(grid);
    for (std::size_t i = 0; i < fast.size(); ++i) {
        EXPECT_LE(std::fabs(fast[i] - literal[i]), bound) << first + i; // false for NaN too
    }
    return actual.reevaluated;
}

TEST(NufftKernelTest, ValuesStayWithinTheBoundAndEachBlockFindsTheReferencesBest) {
    struct Case : GridCase {
        int blockPoints;
        double tolerance; // what the bound itself must stay under for the test to mean something
    };
    const Case cases[] = {
        {{"reduced, 500", RandomTimes(1, 500, 52000, 1100), kEarliest, 0.2, 1.2, 20000}, 20001, 1e-9},
        {{"reduced, 2", {52000.25, 52417.8}, kEarliest, 0.2, 1.2, 5000}, 5001, 1e-9},
        {{"full JD, 500 over 100 years", RandomTimes(2, 500, 2415000, 36500), kEarliest, 0.05, 100, 20000},
         20001,
         1e-6},
        {{"full JD from 99999", RandomTimes(3, 60, 2452000, 3650), 99999, 0.2, 1.2, 4000}, 4001, 1e-6},
        {{"seasons, 2000 in 30 years", Seasons(4, 2000, 2440000.5, 30), kEarliest, 0.3, 3, 6000}, 6001, 1e-8},
        {{"reduced, 20000, short grid", RandomTimes(5, 20000, 52000, 3000), kEarliest, 0.2, 1.2, 1000},
         1001,
         1e-8},
        // Longer than one transform: the block is cut into pieces that share the threads.
        {{"long grid, pieces", RandomTimes(6, 12, 52000, 5000), kEarliest, 0.2, 1.2, 600000}, 600001, 1e-9},
        // A walk's blocks, all through one plan; the last one is short.
        {{"walk blocks", RandomTimes(7, 100, 2452000, 9000), kEarliest, 0.1, 10, 150000}, 65536, 1e-8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FTGrid grid = c.Grid();
        const NufftPlan plan(grid, c.blockPoints);
        EXPECT_LE(plan.ErrorBound(), NufftErrorBound(grid));
        EXPECT_LE(NufftErrorBound(grid), c.tolerance);
        for (std::int32_t first = 0; first <= grid.steps; first += c.blockPoints) {
            const std::int32_t last = std::min(grid.steps, first + c.blockPoints - 1);
            EXPECT_LE(ExpectBlockMatches(grid, first, last, &plan), 20);
        }
    }
}

TEST(NufftKernelTest, BlocksAtTheEndsOfTheGridAgreeWithTheReference) {
    const auto times = Seasons(8, 500, 2451000.5, 12);
    const FTGrid grid = PeriodGrid(times, 0.2, 1.2, 100000);
    const std::pair<std::int32_t, std::int32_t> blocks[] = {
        {0, 0}, {0, 1}, {0, 99}, {50000, 50999}, {99901, 100000}, {100000, 100000}};
    for (const auto& [first, last] : blocks) {
        SCOPED_TRACE(first);
        const NufftPlan plan(grid, last - first + 1);
        ExpectBlockMatches(grid, first, last, &plan);
    }
}

TEST(NufftKernelTest, TheBestOfRandomGridsIsTheReferencesBitForBit) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> count(1, 400), steps(1000, 30000);
    std::uniform_real_distribution<double> period(0.1, 5), noise(1e-5, 1e-3);
    for (int trial = 0; trial < 12; ++trial) {
        SCOPED_TRACE(trial);
        const double start = trial % 2 == 0 ? 2450000.5 : 50000.5;
        const double truePeriod = period(random);
        // Half the grids hold a binary's primaries and secondaries, whose deep dip is what is sought.
        const auto times = trial % 3 == 0
                               ? RandomTimes(trial, count(random), start, 4000)
                               : testing::Minima(random, count(random), start, truePeriod, noise(random));
        const FTGrid grid = PeriodGrid(times, truePeriod * 0.7, truePeriod * 1.6, steps(random));
        ExpectBlockMatches(grid, 0, grid.steps);
    }
}

TEST(NufftKernelTest, NearTiesBetweenNeighboursAreSettledAsTheReferenceSettlesThem) {
    // Two minima d apart: FT = sin^2(omega d) / 2 dips to zero at multiples of pi / d. With one midway
    // between two grid points their values differ by rounding only, far less than the fast values'
    // error: only the re-evaluation can tell which the reference takes.
    for (const double d : {97.3, 250.125, 411.77, 1234.5, 3000.25, 5555.5, 7001.75, 9876.5}) {
        SCOPED_TRACE(d);
        const std::vector<double> times = {2450000.5, 2450000.5 + d};
        const double dip = std::round(5 * d / std::numbers::pi) * std::numbers::pi / d;
        EXPECT_GE(ExpectBlockMatches({times, times[0], dip - 500.5e-6, 1e-6, 1000}, 0, 1000), 2);
    }
}

TEST(NufftKernelTest, DegenerateInputsGiveTheReferenceWithoutNaN) {
    const double flat = 2452345.6789;
    const struct {
        const char* name;
        std::vector<double> times;
        int steps;
    } cases[] = {
        {"one time", {flat}, 1000},
        {"all equal", std::vector<double>(50, flat), 1000},
        {"one grid point", RandomTimes(9, 100, flat, 2000), 0},
        {"one time, one grid point", {flat}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FTGrid grid = PeriodGrid(c.times, 0.2, 1.2, 1000);
        grid.steps = c.steps; // cut after MakeGrid, which needs at least one step
        ExpectBlockMatches(grid, 0, c.steps);
    }
}

TEST(NufftKernelTest, RefusesBadBlocksAndUnsearchableGrids) {
    const auto times = RandomTimes(10, 20, 52000, 100);
    const FTGrid grid = PeriodGrid(times, 0.2, 1.2, 1000);
    std::vector<double> values(10, -7.0);
    const std::pair<std::int32_t, std::int32_t> bad[] = {{-1, 8}, {5, 4}, {995, 1004}, {0, 5}};
    for (const auto& [first, last] : bad) {
        EXPECT_EQ(NufftFTBlock(grid, first, last, values).index, -1) << first << ".." << last;
    }
    FTGrid unsearchable = grid;
    const std::vector<double> infinite = {52000, std::numeric_limits<double>::infinity()};
    unsearchable.times = infinite;
    EXPECT_EQ(NufftFTBlock(unsearchable, 0, 9, values).index, -1);
    EXPECT_TRUE(std::isinf(NufftErrorBound(unsearchable)));
    EXPECT_EQ(values, std::vector<double>(10, -7.0)) << "a refused block writes nothing";
}

TEST(NufftKernelTest, MoreTimesOrMorePointsNeverTurnTheChoiceBackToTheRecurrence) {
    const std::size_t observations[] = {1, 100, 199, 200, 449, 450, 700, 2000, 100000, 1000000};
    const std::int64_t points[] = {1, 1001, 2999, 3000, 9999, 10000, 49999, 50000, 500000, 10000001};
    for (std::size_t n = 0; n < std::size(observations); ++n) {
        for (std::size_t m = 0; m < std::size(points); ++m) {
            if (PreferNufft(observations[n], points[m])) {
                EXPECT_TRUE(n + 1 == std::size(observations) || PreferNufft(observations[n + 1], points[m]));
                EXPECT_TRUE(m + 1 == std::size(points) || PreferNufft(observations[n], points[m + 1]));
            }
        }
    }
    EXPECT_TRUE(PreferNufft(100000, 1000001));
    EXPECT_TRUE(PreferNufft(10000, 10000001));
    EXPECT_FALSE(PreferNufft(500, 1001)) << "the desktop's own searches stay with the recurrence";
}

} // namespace
} // namespace quorix
