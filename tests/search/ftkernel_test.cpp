#include "search/ftkernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

namespace quorix {
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

// Runs both kernels and checks the fast one against the reference; returns the largest difference.
double CompareKernels(const FTGrid& grid) {
    std::vector<double> literal(grid.steps + 1), fast(grid.steps + 1);
    const FTMinimum expected = LiteralFTKernel(grid, literal);
    const FTMinimum actual = FastFTKernel(grid, fast);
    EXPECT_EQ(actual.index, expected.index);
    EXPECT_EQ(actual.value, expected.value);
    EXPECT_EQ(actual.omega, expected.omega);
    EXPECT_EQ(fast[expected.index], literal[expected.index]);
    double largest = 0;
    for (int i = 0; i <= grid.steps; ++i) {
        largest = std::max(largest, std::fabs(fast[i] - literal[i]));
    }
    EXPECT_LE(largest, FastFTErrorBound(grid));
    return largest;
}

std::vector<double> RandomTimes(std::mt19937& random, int count, double start, double span) {
    std::uniform_real_distribution<double> offset(0, span);
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        times.push_back(start + offset(random));
    }
    return times;
}

TEST(FTKernelTest, ReducedTimesAgreeWithinOneNanoUnit) {
    std::mt19937 random(7);
    double largest = 0;
    for (int count : {1, 2, 17, 60, 500}) {
        const auto times = RandomTimes(random, count, 52000.0, 14600.0); // forty years
        const double base = *std::min_element(times.begin(), times.end());
        largest = std::max(largest, CompareKernels(Grid(times, base, 0.05, 100, 3000)));
        largest = std::max(largest, CompareKernels(Grid(times, base, 0.2, 1.2, 1000)));
    }
    EXPECT_LT(largest, 1e-9);
}

TEST(FTKernelTest, FullJulianDatesAgreeWithinOneMicroUnit) {
    std::mt19937 random(11);
    double largest = 0;
    for (int count : {1, 50, 500}) {
        const auto times = RandomTimes(random, count, 2452000.0, 14600.0);
        largest = std::max(largest, CompareKernels(Grid(times, 99999, 0.05, 100, 2000)));
    }
    // One grid long enough for many re-seeds and blocks on every thread.
    const auto times = RandomTimes(random, 100, 2452000.0, 3650.0);
    largest = std::max(largest, CompareKernels(Grid(times, 99999, 0.2, 1.2, 40000)));
    EXPECT_LT(largest, 1e-6);
}

TEST(FTKernelTest, AdversarialDataKeepsTheExactMinimum) {
    // Every time the same: all values tie at zero, the first grid point must win.
    const std::vector<double> same(20, 52345.6789);
    std::vector<double> values(1001);
    const FTMinimum tie = FastFTKernel(Grid(same, 52345.6789, 0.2, 1.2, 1000), values);
    EXPECT_EQ(tie.index, 0);
    EXPECT_EQ(tie.value, 0.0);
    // Duplicates of a strictly periodic set: many near-equal dips.
    std::vector<double> periodic;
    for (int k = 0; k < 100; ++k) {
        periodic.push_back(52000.0 + 0.5 * (k % 50));
    }
    CompareKernels(Grid(periodic, 52000.0, 0.2, 1.2, 5000));
    CompareKernels(Grid(periodic, 99999, 0.05, 100, 5000));
}

TEST(FTKernelTest, WorkersThatCannotStartLeaveTheirWorkToTheCaller) {
    int started = 0;
    // Lets `allowed` threads start, then fails the way std::thread does when the system has no more.
    auto starter = [&started](int allowed) {
        return [&started, allowed](std::function<void()> body) {
            if (started >= allowed) {
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            ++started;
            return std::thread(std::move(body));
        };
    };
    std::mt19937 random(5);
    const auto times = RandomTimes(random, 40, 52000.0, 3000.0);
    const FTGrid grid = Grid(times, times.front(), 0.2, 1.2, 60000);
    std::vector<double> expected(60001), actual(60001);
    const FTMinimum reference = FastFTKernel(grid, expected);
    for (const int allowed : {0, 1}) {
        started = 0;
        WorkerPool pool(3, starter(allowed));
        EXPECT_EQ(pool.Slots(), static_cast<unsigned>(allowed) + 1);
        const FTMinimum best = FastFTKernel(grid, actual, pool);
        EXPECT_EQ(best.index, reference.index);
        EXPECT_EQ(best.value, reference.value);
        EXPECT_EQ(actual, expected) << allowed << " workers";
    }
}

TEST(FTKernelTest, UnsearchableGridsLeaveTheValuesAlone) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> cases[] = {{1e307, 2e307}, {52345.1, inf}, {52345.1, std::nan("")}, {}};
    for (const auto& times : cases) {
        const FTGrid grid = Grid(times, 99999, 0.2, 1.2, 1000);
        EXPECT_FALSE(GridSearchable(grid));
        std::vector<double> values(1001, 0.25);
        EXPECT_EQ(FastFTKernel(grid, values).index, -1);
        EXPECT_EQ(LiteralFTKernel(grid, values).index, -1);
        EXPECT_EQ(values, std::vector<double>(1001, 0.25));
    }
}

} // namespace
} // namespace quorix
