#include "cli/ftwalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace quorix::cli {
namespace {

constexpr double kTwoPi = 3.1415926535 * 2;

FTGrid Grid(const std::vector<double>& times, double baseTime, double pMin, double pMax, int steps) {
    FTGrid grid;
    grid.times = times;
    grid.baseTime = baseTime;
    grid.omegaLow = kTwoPi / pMax;
    grid.omegaStep = (kTwoPi / pMin - grid.omegaLow) / steps;
    grid.steps = steps;
    return grid;
}

// Minima of a binary of period `period`, primaries and secondaries, with a little timing noise.
std::vector<double> Minima(std::mt19937& random, int count, double start, double period, double noise,
                           int cycles = 4000) {
    std::uniform_int_distribution<int> cycle(0, cycles);
    std::normal_distribution<double> jitter(0, noise);
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        times.push_back(start + (cycle(random) + 0.5 * (k % 2)) * period + jitter(random));
    }
    return times;
}

// The whole curve by the literal formula, the reference every walk is held to.
std::vector<double> LiteralCurve(const FTGrid& grid, FTMinimum& best) {
    std::vector<double> values(static_cast<std::size_t>(grid.steps) + 1);
    best = LiteralFTKernel(grid, values);
    return values;
}

TEST(WalkFTGridTest, BestIsTheLiteralFormulasBitForBitWhateverTheBlocks) {
    std::mt19937 random(11);
    const auto reduced = Minima(random, 120, 52000.3, 0.6523417, 0.002);
    const auto julian = Minima(random, 60, 2452000.3, 0.8372914, 0.001);
    const std::vector<double> single{52345.5};
    const std::vector<double> twins{52345.5, 52345.5, 52346.0};
    struct Case {
        FTGrid grid;
        std::int32_t block;
    };
    const Case cases[] = {
        {Grid(reduced, *std::min_element(reduced.begin(), reduced.end()), 0.2, 1.2, 20000), 4096},
        {Grid(reduced, *std::min_element(reduced.begin(), reduced.end()), 0.2, 1.2, 20000), 7},
        {Grid(julian, 99999, 0.05, 100, 30001), 65536},
        {Grid(julian, 99999, 0.5, 1.0, 5000), 1000},
        {Grid(single, 52345.5, 0.2, 1.0, 1000), 300}, // every value 0: the first point wins
        {Grid(twins, 52345.5, 0.2, 1.0, 1000), 1001},
    };
    for (const auto& [grid, block] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << grid.times.size() << " times, " << grid.steps << " steps, blocks of " << block);
        FTMinimum expected;
        const auto literal = LiteralCurve(grid, expected);
        for (const FTKernelChoice kernel : {FTKernelChoice::kFast, FTKernelChoice::kLiteral}) {
            std::int32_t next = 0;
            double largest = 0;
            const FTMinimum best = WalkFTGrid(
                grid, kernel,
                [&](std::int32_t first, std::span<const double> values) {
                    ASSERT_EQ(first, next) << "blocks must come in grid order without gaps";
                    ASSERT_LE(values.size(), static_cast<std::size_t>(block));
                    for (std::size_t k = 0; k < values.size(); ++k) {
                        largest = std::max(largest, std::fabs(values[k] - literal[first + k]));
                    }
                    next = first + static_cast<std::int32_t>(values.size());
                },
                block);
            EXPECT_EQ(next, grid.steps + 1);
            EXPECT_EQ(best.index, expected.index);
            EXPECT_EQ(best.value, expected.value);
            EXPECT_EQ(best.omega, expected.omega);
            EXPECT_LE(largest, kernel == FTKernelChoice::kLiteral ? 0.0 : 1e-6);
        }
    }
}

// The local minima of a curve, an end counting when it lies below its one neighbour.
std::vector<std::int32_t> LocalMinima(const std::vector<double>& values) {
    std::vector<std::int32_t> minima;
    const auto last = static_cast<std::int32_t>(values.size()) - 1;
    for (std::int32_t i = 0; i <= last; ++i) {
        const bool left = i == 0 || values[i] < values[i - 1];
        const bool right = i == last || values[i] <= values[i + 1];
        if (left && right) {
            minima.push_back(i);
        }
    }
    return minima;
}

TEST(DipCollectorTest, ListsDistinctDipsDeepestFirstAndMissesNoDeeperOne) {
    std::mt19937 random(5);
    const auto times = Minima(random, 80, 52000.3, 0.6523417, 0.003, 1000);
    const double base = *std::min_element(times.begin(), times.end());
    const double span = TimeSpan(times);
    const double width = kTwoPi / span;
    // Finely sampled, so the fast and literal curves have the same local minima.
    const FTGrid grid = Grid(times, base, 0.4, 1.2, 8000);
    ASSERT_FALSE(GridTooCoarse(grid, kTwoPi, span));
    FTMinimum best;
    const auto literal = LiteralCurve(grid, best);
    for (const int top : {1, 6, 30}) {
        std::vector<FTDip> reference;
        for (const std::int32_t block : {8001, 977, 5}) {
            SCOPED_TRACE(::testing::Message() << "top " << top << ", blocks of " << block);
            DipCollector collector(grid, kTwoPi, span, top);
            const FTMinimum walked = WalkFTGrid(
                grid, FTKernelChoice::kFast,
                [&](std::int32_t first, std::span<const double> values) { collector.Add(first, values); },
                block);
            const auto dips = collector.Finish(walked);
            ASSERT_EQ(dips.size(), static_cast<std::size_t>(top));
            EXPECT_EQ(dips[0].index, best.index);
            for (std::size_t a = 0; a < dips.size(); ++a) {
                EXPECT_EQ(dips[a].value, literal[dips[a].index]);
                EXPECT_EQ(dips[a].omega, GridOmega(grid, dips[a].index));
                for (std::size_t b = a + 1; b < dips.size(); ++b) {
                    EXPECT_LE(dips[a].value, dips[b].value);
                    EXPECT_GE(std::fabs(dips[a].omega - dips[b].omega), width);
                }
            }
            // A local minimum left out is part of a deeper listed dip, or shallower than every one listed.
            for (const std::int32_t m : LocalMinima(literal)) {
                const bool listed = std::any_of(dips.begin(), dips.end(), [&](const FTDip& d) {
                    return d.index == m ||
                           (std::fabs(d.omega - GridOmega(grid, m)) < width && d.value <= literal[m]);
                });
                EXPECT_TRUE(listed || literal[m] >= dips.back().value)
                    << "missed the dip at grid point " << m;
            }
            if (reference.empty()) {
                reference = dips;
            }
            for (std::size_t k = 0; k < dips.size(); ++k) {
                EXPECT_EQ(dips[k].index, reference[k].index) << "the blocks changed the list";
            }
        }
    }
}

TEST(DipCollectorTest, EndsFlatCurvesAndZeroSpans) {
    const std::vector<double> single{52345.5};
    const FTGrid grid = Grid(single, 52345.5, 0.2, 1.0, 1000);
    // Every value is 0 and the span is 0: one dip, the grid's first point, however many are asked for.
    DipCollector flat(grid, kTwoPi, 0.0, 5);
    const FTMinimum best =
        WalkFTGrid(grid, FTKernelChoice::kFast,
                   [&](std::int32_t first, std::span<const double> v) { flat.Add(first, v); });
    const auto dips = flat.Finish(best);
    ASSERT_EQ(dips.size(), 1u);
    EXPECT_EQ(dips[0].index, 0);
    DipCollector none(grid, kTwoPi, 0.0, 0);
    EXPECT_TRUE(none.Finish(best).empty());
}

TEST(GridFactsTest, ResolutionAndCoarseness) {
    const std::vector<double> times{50000.0, 50100.0}; // T = 100 days: a fifth of 1/T is 0.002 cycles/day
    const FTGrid grid = Grid(times, 50000.0, 0.5, 1.0, 1000); // 1 cycle/day over 1000 steps: 0.001
    EXPECT_EQ(TimeSpan(times), 100.0);
    EXPECT_FALSE(GridTooCoarse(grid, kTwoPi, 100.0));
    EXPECT_TRUE(GridTooCoarse(grid, kTwoPi, 250.0));
    EXPECT_FALSE(GridTooCoarse(grid, kTwoPi, 0.0));
    EXPECT_EQ(StepsForFifthOfDipWidth(grid, kTwoPi, 250.0), 1250.0);
    // Near 1 day a frequency step of 0.001 cycles/day is a period step of about 0.001 days; at the
    // last point the neighbour is the one before.
    EXPECT_NEAR(PeriodResolution(grid, kTwoPi, 0), 1.0 / 1.0 - 1.0 / 1.001, 1e-9);
    EXPECT_NEAR(PeriodResolution(grid, kTwoPi, 1000), 1.0 / 1.999 - 1.0 / 2.0, 1e-9);
}

} // namespace
} // namespace quorix::cli
