#include "search/ftkernel.h"

#include "support/ftgrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

namespace quorix {
namespace {

using testing::GridCase;
using testing::kEarliest;
using testing::PeriodGrid;
using testing::RandomTimes;

// Offsets whose step angle 2 omegaStep d lies just off a multiple of pi, where the recurrence's
// errors grow fastest.
std::vector<double> NearMultiplesOfPi(int steps, int count) {
    const double omegaStep = PeriodGrid({}, 52000.0, 0.2, 1.2, steps).omegaStep;
    const double nudges[] = {0, 1e-12, -3e-9, 1e-6, -2e-4};
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        times.push_back(52000.0 + ((k % 7) * 3.141592653589793 + nudges[k % 5]) / (2 * omegaStep));
    }
    return times;
}

TEST(FTKernelTest, FastValuesStayWithinTheBoundAndTheBestIsTheReferences) {
    const double flat = 52345.6789;
    const std::vector<double> duplicated = {52000, 52000, 52000.5, 52000.5, 52001.25, 52001.25};
    struct Case : GridCase {
        double tolerance;    // on |fast - reference|
        int mostReevaluated; // -1: every grid point
    };
    const Case cases[] = {
        {{"reduced, one", {flat}, kEarliest, 0.2, 1.2, 1000}, 0, -1},
        {{"reduced, 500", RandomTimes(2, 500, 52000, 1100), kEarliest, 0.2, 1.2, 20000}, 1e-9, 10},
        {{"full JD, many tasks", RandomTimes(4, 60, 2452000, 3650), 99999, 0.2, 1.2, 70000}, 1e-6, 10},
        {{"all equal", std::vector<double>(20, flat), flat, 0.2, 1.2, 1000}, 0, -1},
        {{"duplicated", duplicated, kEarliest, 0.2, 1.2, 5000}, 1e-9, 10},
        {{"one grid step apart", {52000, 52000 + 1e-5}, kEarliest, 0.2, 1.2, 1000}, 1e-9, -1},
        {{"short span", RandomTimes(5, 500, 52000, 0.01), kEarliest, 0.05, 100, 1000}, 1e-9, -1},
        {{"long span", RandomTimes(6, 500, 2400000, 1e5), kEarliest, 0.05, 100, 1000}, 1e-9, 10},
        {{"near pi, 1001", NearMultiplesOfPi(1000, 500), kEarliest, 0.2, 1.2, 1000}, 1e-9, 10},
        {{"near pi, 500001", NearMultiplesOfPi(500000, 14), kEarliest, 0.2, 1.2, 500000}, 1e-9, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FTGrid grid = c.Grid();
        std::vector<double> literal(grid.steps + 1), fast(grid.steps + 1);
        const FTMinimum expected = LiteralFTKernel(grid, literal);
        const FTMinimum actual = FastFTKernel(grid, fast);
        EXPECT_EQ(std::tie(actual.index, actual.value, actual.omega),
                  std::tie(expected.index, expected.value, expected.omega));
        EXPECT_EQ(fast[expected.index], literal[expected.index]);
        double largest = 0;
        for (int i = 0; i <= grid.steps; ++i) {
            largest = std::max(largest, std::fabs(fast[i] - literal[i]));
        }
        EXPECT_LE(largest, FastFTErrorBound(grid));
        EXPECT_LE(largest, c.tolerance);
        EXPECT_LE(actual.reevaluated, c.mostReevaluated < 0 ? grid.steps + 1 : c.mostReevaluated);
        if (c.mostReevaluated < 0 && c.tolerance == 0) {
            EXPECT_EQ(actual.reevaluated, grid.steps + 1) << "a flat FT leaves every point in doubt";
            EXPECT_EQ(expected.index, 0) << "on a tie the earliest grid point wins";
        }
    }
}

TEST(FTKernelTest, WorkersThatCannotStartLeaveTheirWorkToTheCaller) {
    int started = 0, allowed = 0;
    // Lets `allowed` threads start, then fails the way std::thread does when the system has no more.
    auto starter = [&](std::function<void()> body) {
        if (started >= allowed) {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        ++started;
        return std::thread(std::move(body));
    };
    const auto times = RandomTimes(5, 40, 52000.0, 3000.0);
    const FTGrid grid = PeriodGrid(times, times.front(), 0.2, 1.2, 60000);
    std::vector<double> expected(60001), actual(60001);
    const FTMinimum reference = FastFTKernel(grid, expected);
    for (allowed = 0; allowed <= 1; ++allowed) {
        started = 0;
        WorkerPool pool(3, starter);
        EXPECT_EQ(pool.Slots(), static_cast<unsigned>(allowed) + 1);
        const FTMinimum best = FastFTKernel(grid, actual, pool);
        EXPECT_EQ(std::tie(best.index, best.value), std::tie(reference.index, reference.value));
        EXPECT_EQ(actual, expected) << allowed << " workers";
    }
}

} // namespace
} // namespace quorix
