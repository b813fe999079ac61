#include "cli/ftwalk.h"
#include "cli/plotcurve.h"
#include "cli/progress.h"
#include "search/nufftkernel.h"
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
    const std::vector<double> single{52345.5}, twins{52345.5, 52345.5, 52346.0};
    const std::pair<FTGrid, std::int32_t> cases[] = {
        {PeriodGrid(reduced, 52000.3, 0.2, 1.2, 20000), 4096},
        {PeriodGrid(reduced, 52000.3, 0.2, 1.2, 20000), 7},
        {PeriodGrid(julian, 99999, 0.05, 100, 30001), 65536},
        {PeriodGrid(single, 52345.5, 0.2, 1.0, 1000), 300}, // every value 0: the first point wins
        {PeriodGrid(twins, 52345.5, 0.2, 1.0, 1000), 1001},
    };
    for (const auto& [grid, block] : cases) {
        SCOPED_TRACE(::testing::Message() << grid.times.size() << " times, blocks of " << block);
        std::vector<double> literal(static_cast<std::size_t>(grid.steps) + 1); // the reference
        const FTMinimum expected = LiteralFTKernel(grid, literal);
        const struct {
            FTKernelChoice kernel;
            double bound; // on any value handed on
        } kernels[] = {{FTKernelChoice::kFast, FastFTErrorBound(grid)},
                       {FTKernelChoice::kNufft, NufftErrorBound(grid)},
                       {FTKernelChoice::kAuto, std::max(FastFTErrorBound(grid), NufftErrorBound(grid))},
                       {FTKernelChoice::kLiteral, 0.0}};
        for (const auto& [kernel, bound] : kernels) {
            SCOPED_TRACE(static_cast<int>(kernel));
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
            EXPECT_EQ(std::tuple(best.index, best.value, best.omega),
                      std::tuple(expected.index, expected.value, expected.omega));
            EXPECT_EQ(handed[best.index], best.value) << "the best point's value handed on is exact";
            double largest = 0;
            for (std::size_t k = 0; k < literal.size(); ++k) {
                largest = std::max(largest, std::fabs(handed[k] - literal[k]));
            }
            EXPECT_LE(largest, bound);
        }
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
    const double span = TimeSpan(times), width = kTwoPi / span;
    // Finely sampled, so the fast and literal curves have the same local minima.
    const FTGrid grid = PeriodGrid(times, *std::min_element(times.begin(), times.end()), 0.4, 1.2, 8000);
    std::vector<double> literal(8001);
    LiteralFTKernel(grid, literal);
    for (const int top : {1, 6, 30}) {
        const auto reference = CollectDips(grid, span, top, 8001);
        for (const std::int32_t block : {977, 5}) {
            SCOPED_TRACE(::testing::Message() << "top " << top << ", blocks of " << block);
            const auto dips = CollectDips(grid, span, top, block);
            ASSERT_EQ(dips.size(), static_cast<std::size_t>(top));
            for (std::size_t a = 0; a < dips.size(); ++a) {
                EXPECT_EQ(dips[a].index, reference[a].index) << "the blocks changed the list";
                EXPECT_EQ(std::pair(dips[a].value, dips[a].omega),
                          std::pair(literal[dips[a].index], GridOmega(grid, dips[a].index)));
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
    const auto one = CollectDips(PeriodGrid(single, 52345.5, 0.2, 1.0, 1000), 0.0, 5, 300);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].index, 0);
}

TEST(PlotCurveTest, KeepsEachColumnsExtremesOfAGridTooLongToKeepWhole) {
    // Twelve points in three columns of four: each column gives its extremes in grid order, and a
    // column whose extremes are one point gives it once.
    PlotCurve reduced(12, 10, 3);
    reduced.Add(0, std::vector<double>{0.5, 0.9, 0.2, 0.6, 0.7});
    reduced.Add(5, std::vector<double>{0.1, 0.8, 0.3, 0.4, 0.4, 0.4, 0.4});
    EXPECT_EQ(reduced.Values(), (std::vector<double>{0.9, 0.2, 0.1, 0.8, 0.4}));
}

TEST(ProgressLineTest, SaysTheShareTheRateAndTheTimeLeft) {
    const struct {
        std::int64_t done, total;
        double seconds;
        const char* line;
    } cases[] = {
        {0, 1000, 0.0, "  0%"}, // no rate before any work
        {250, 1000, 2.0, " 25% 125 files/s, 6 s left"},
        {3, 7, 1.5, " 43% 2 files/s, 2 s left"},
        {1000, 1000, 4.0, "100% 250 files/s, 0 s left"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressLine(c.done, c.total, c.seconds, "files"), c.line);
    }
}

} // namespace
} // namespace quorix::cli
