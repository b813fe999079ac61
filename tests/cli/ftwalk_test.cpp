#include "cli/ftwalk.h"
#include "support/ftgrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace quorix::cli {
namespace {

using testing::kTwoPi;
using testing::Minima;
using testing::PeriodGrid;

TEST(WalkFTGridTest, BestIsTheLiteralFormulasBitForBitWhateverTheBlocks) {
    std::mt19937 random(11);
    const auto reduced = Minima(random, 120, 52000.3, 0.6523417, 0.002);
    const auto julian = Minima(random, 60, 2452000.3, 0.8372914, 0.001);
    const double reducedBase = *std::min_element(reduced.begin(), reduced.end());
    const std::vector<double> single{52345.5}, twins{52345.5, 52345.5, 52346.0};
    const struct {
        FTGrid grid;
        std::int32_t block;
    } cases[] = {
        {PeriodGrid(reduced, reducedBase, 0.2, 1.2, 20000), 4096},
        {PeriodGrid(reduced, reducedBase, 0.2, 1.2, 20000), 7},
        {PeriodGrid(julian, 99999, 0.05, 100, 30001), 65536},
        {PeriodGrid(julian, 99999, 0.5, 1.0, 5000), 1000},
        {PeriodGrid(single, 52345.5, 0.2, 1.0, 1000), 300}, // every value 0: the first point wins
        {PeriodGrid(twins, 52345.5, 0.2, 1.0, 1000), 1001},
    };
    for (const auto& [grid, block] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << grid.times.size() << " times, " << grid.steps << " steps, blocks of " << block);
        std::vector<double> literal(static_cast<std::size_t>(grid.steps) + 1); // the reference
        const FTMinimum expected = LiteralFTKernel(grid, literal);
        for (const FTKernelChoice kernel : {FTKernelChoice::kFast, FTKernelChoice::kLiteral}) {
            std::vector<double> handed;
            const FTMinimum best = WalkFTGrid(
                grid, kernel,
                [&](std::int32_t first, std::span<const double> values) {
                    ASSERT_EQ(first, static_cast<std::int32_t>(handed.size())) << "in grid order, no gaps";
                    ASSERT_LE(values.size(), static_cast<std::size_t>(block));
                    handed.insert(handed.end(), values.begin(), values.end());
                },
                block);
            ASSERT_EQ(handed.size(), literal.size());
            EXPECT_EQ(best.index, expected.index);
            EXPECT_EQ(best.value, expected.value);
            EXPECT_EQ(best.omega, expected.omega);
            EXPECT_EQ(handed[best.index], best.value) << "the best point's value handed on is exact";
            double largest = 0;
            for (std::size_t k = 0; k < literal.size(); ++k) {
                largest = std::max(largest, std::fabs(handed[k] - literal[k]));
            }
            EXPECT_LE(largest, kernel == FTKernelChoice::kLiteral ? 0.0 : FastFTErrorBound(grid));
        }
    }
    // Phases that overflow give no best point and hand on nothing, with either kernel.
    const std::vector<double> huge{1e307, 2e307};
    for (const FTKernelChoice kernel : {FTKernelChoice::kFast, FTKernelChoice::kLiteral}) {
        const auto handOn = [](std::int32_t, std::span<const double>) {
            ADD_FAILURE() << "values handed on";
        };
        EXPECT_EQ(WalkFTGrid(PeriodGrid(huge, 99999, 0.2, 1.2, 1000), kernel, handOn).index, -1);
    }
}

std::vector<FTDip> CollectDips(const FTGrid& grid, double span, int top, std::int32_t block) {
    DipCollector collector(grid, kTwoPi, span, top);
    const FTMinimum best = WalkFTGrid(
        grid, FTKernelChoice::kFast,
        [&](std::int32_t first, std::span<const double> values) { collector.Add(first, values); }, block);
    return collector.Finish(best);
}

TEST(DipCollectorTest, ListsDistinctDipsDeepestFirstAndMissesNoDeeperOne) {
    std::mt19937 random(5);
    const auto times = Minima(random, 80, 52000.3, 0.6523417, 0.003, 1000);
    const double span = TimeSpan(times);
    const double width = kTwoPi / span;
    // Finely sampled, so the fast and literal curves have the same local minima.
    const FTGrid grid = PeriodGrid(times, *std::min_element(times.begin(), times.end()), 0.4, 1.2, 8000);
    ASSERT_FALSE(GridTooCoarse(grid, kTwoPi, span));
    std::vector<double> literal(8001);
    const FTMinimum best = LiteralFTKernel(grid, literal);
    for (const int top : {1, 6, 30}) {
        const auto reference = CollectDips(grid, span, top, 8001);
        for (const std::int32_t block : {8001, 977, 5}) {
            SCOPED_TRACE(::testing::Message() << "top " << top << ", blocks of " << block);
            const auto dips = CollectDips(grid, span, top, block);
            ASSERT_EQ(dips.size(), static_cast<std::size_t>(top));
            EXPECT_EQ(dips[0].index, best.index);
            for (std::size_t a = 0; a < dips.size(); ++a) {
                EXPECT_EQ(dips[a].index, reference[a].index) << "the blocks changed the list";
                EXPECT_EQ(dips[a].value, literal[dips[a].index]);
                EXPECT_EQ(dips[a].omega, GridOmega(grid, dips[a].index));
                for (std::size_t b = a + 1; b < dips.size(); ++b) {
                    EXPECT_LE(dips[a].value, dips[b].value);
                    EXPECT_GE(std::fabs(dips[a].omega - dips[b].omega), width);
                }
            }
            // A local minimum (an end below its one neighbour counts) left out is part of a deeper
            // listed dip, or shallower than every one listed.
            for (std::int32_t m = 0; m <= 8000; ++m) {
                if ((m > 0 && literal[m] >= literal[m - 1]) || (m < 8000 && literal[m] > literal[m + 1])) {
                    continue;
                }
                const bool listed = std::any_of(dips.begin(), dips.end(), [&](const FTDip& d) {
                    return d.index == m ||
                           (std::fabs(d.omega - GridOmega(grid, m)) < width && d.value <= literal[m]);
                });
                EXPECT_TRUE(listed || literal[m] >= dips.back().value)
                    << "missed the dip at grid point " << m;
            }
        }
    }
    // A flat curve over a span of zero is one dip, the grid's first point, however many are asked for.
    const std::vector<double> single{52345.5};
    const FTGrid flat = PeriodGrid(single, 52345.5, 0.2, 1.0, 1000);
    const auto one = CollectDips(flat, 0.0, 5, 300);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].index, 0);
    EXPECT_TRUE(CollectDips(flat, 0.0, 0, 300).empty());
}

TEST(GridFactsTest, ResolutionAndCoarseness) {
    // 1 cycle/day over 1000 steps: 0.001 cycles/day a step, finer than a fifth of 1/T for T = 100 days
    // (0.002) and coarser for T = 250 days; a span of zero has no dip width.
    const std::vector<double> times{50000.0, 50100.0};
    const FTGrid grid = PeriodGrid(times, 50000.0, 0.5, 1.0, 1000);
    EXPECT_FALSE(GridTooCoarse(grid, kTwoPi, 100.0));
    EXPECT_TRUE(GridTooCoarse(grid, kTwoPi, 250.0));
    EXPECT_FALSE(GridTooCoarse(grid, kTwoPi, 0.0));
    EXPECT_EQ(StepsForFifthOfDipWidth(grid, kTwoPi, 250.0), 1250.0);
    // The period step to the next point, and at the last point to the one before.
    EXPECT_NEAR(PeriodResolution(grid, kTwoPi, 0), 1.0 / 1.0 - 1.0 / 1.001, 1e-9);
    EXPECT_NEAR(PeriodResolution(grid, kTwoPi, 1000), 1.0 / 1.999 - 1.0 / 2.0, 1e-9);
}

} // namespace
} // namespace quorix::cli
