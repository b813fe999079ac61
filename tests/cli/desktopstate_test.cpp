#include "cli/desktopstate.h"
#include "support/ftgrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quorix::cli {
namespace {

CliSearch Searched(std::span<const double> times, double baseTime, double pMin, double pMax) {
    const SearchEntries entries{testing::kTwoPi, pMin, pMax, 1000};
    CliSearch search;
    search.entries = entries;
    search.grid = SearchGrid(times, baseTime, entries);
    search.best = {0, 0.5, search.grid.omegaLow};
    return search;
}

TEST(RefineEphemerisTest, RecoversTheTruePeriodAndGivesTheLeastSquaresErrors) {
    // O-C values of 0, 0.01, 0.01 at cycles 0, 1, 2: a = 1/600, b = 0.005; residuals -1/600, 1/300,
    // -1/600, so s^2 = (1/60000) / 1 and the errors are s sqrt(Sxx/D) and s sqrt(n/D), D = 6.
    const std::vector<double> cycles{0, 0, 1, 2}, oc{0, 0, 0.01, 0.01};
    const auto e = RefineEphemeris(cycles, oc, 3, 50000.0, 0.8);
    ASSERT_TRUE(e);
    EXPECT_NEAR(e->epoch, 50000.0 + 1.0 / 600, 1e-12);
    EXPECT_NEAR(e->period, 0.805, 1e-12);
    EXPECT_NEAR(e->residualRms, std::sqrt(1.0 / 60000 / 3), 1e-12);
    EXPECT_NEAR(*e->epochError, std::sqrt(1.0 / 60000 * 5 / 6), 1e-12);
    EXPECT_NEAR(*e->periodError, std::sqrt(1.0 / 60000 * 3 / 6), 1e-12);
    // Two points fix the line and leave nothing for the errors; equal cycle counts fix no line.
    const auto two = RefineEphemeris(cycles, oc, 2, 50000.0, 0.8);
    ASSERT_TRUE(two);
    EXPECT_FALSE(two->periodError);
    EXPECT_FALSE(RefineEphemeris(std::vector<double>{0, 1, 1}, oc, 2, 50000.0, 0.8));
}

TEST(DesktopStateTest, OCAndAliasesAreTheDesktopsForTheCommandLinesSearch) {
    // Minima of a period 0.8 days a little longer than the trial 0.7999: the O-C line's slope puts
    // the refined period back at 0.8.
    std::vector<double> times;
    for (const double cycle : {0.0, 3.0, 10.5, 27.0, 40.0, 41.5}) {
        times.push_back(50000.0 + 0.8 * cycle);
    }
    const CliSearch search = Searched(times, 50000.0, 0.6, 1.3);
    auto state = DesktopState(search, times, 50000.0, {}, "minima.txt");
    const auto oc = DesktopOC(*state, 0.7999);
    ASSERT_TRUE(oc);
    EXPECT_EQ(oc->cycles, (std::vector<double>{0, 3, 10.5, 27, 40, 41.5}));
    ASSERT_TRUE(oc->ephemeris);
    EXPECT_NEAR(oc->ephemeris->period, 0.8, 1e-12);

    // P = 1.1 searched over 0.6 to 1.3 days: the desktop's six aliases, headed by its five lines.
    const auto lines = DesktopAliasLines(*state, 1.1);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], " For Trial Period = 1.100000");
    EXPECT_EQ(lines[6], "  0.6111111  (0.556)");
    EXPECT_EQ(lines[11], "  0.8555555  (0.778)");
}

} // namespace
} // namespace quorix::cli
