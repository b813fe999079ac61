#include "ocdiagram/occompute.h"

#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quorix {
namespace {

// A searched state holding `times` as the loaded observations, with the reader's time origin.
SharedState StateWithTimes(const std::vector<double>& times, double period) {
    SharedState state;
    testing::FillSearched(state);
    state.ObsCount = static_cast<std::int16_t>(times.size());
    state.BaseTime = 99999;
    for (std::size_t i = 0; i < times.size(); ++i) {
        state.ObsTimes[i + 1] = times[i];
        state.BaseTime = std::min(state.BaseTime, times[i]);
    }
    state.TrialPeriod = period;
    return state;
}

TEST(ComputeOCDiagramTest, CountsAreNearestHalfCyclesWithHalvesToEven) {
    struct Case {
        double time;
        double cycle;
        double oc;
    } const cases[] = {
        {50000.25, 0.0, 0.25},  // 2 dt / P = 0.5 goes to 0
        {50001.25, 1.0, 0.25},  // 2.5 goes to 2
        {50001.75, 2.0, -0.25}, // 3.5 goes to 4
        {50001.5, 1.5, 0.0},    // a secondary minimum
        {50002.49, 2.5, -0.01},
    };
    for (const auto& c : cases) {
        SharedState state = StateWithTimes({50000.0, c.time}, 1.0);
        ASSERT_TRUE(ComputeOCDiagram(state)) << c.time;
        EXPECT_EQ(state.CycleNumbers[1], 0.0);
        EXPECT_EQ(state.OCValues[1], 0.0);
        EXPECT_EQ(state.CycleNumbers[2], c.cycle) << c.time;
        EXPECT_NEAR(state.OCValues[2], c.oc, 1e-9) << c.time;
    }
}

TEST(ComputeOCDiagramTest, FitsTheLineAndTakesTheDeviationAboutTheInterceptInAnyFileOrder) {
    std::vector<double> times = {50000.0, 50002.01, 50003.98};
    std::sort(times.begin(), times.end());
    do {
        SharedState state = StateWithTimes(times, 1.0);
        ASSERT_TRUE(ComputeOCDiagram(state));
        EXPECT_EQ(state.CycleMax, 4.0);
        EXPECT_NEAR(state.OCMin, -0.02, 1e-9);
        EXPECT_NEAR(state.OCMax, 0.01, 1e-9);
        EXPECT_NEAR(state.OCRange, 0.03, 1e-9);
        EXPECT_NEAR(state.FitIntercept, 0.0066667, 1e-7);
        EXPECT_NEAR(state.FitSlope, -0.005, 1e-9);
        EXPECT_NEAR(state.OCRms, 0.015986, 1e-6) << "about the intercept, not the line (0.009428)";
        EXPECT_EQ(state.OCFitDefined, kTrue);
        EXPECT_EQ(state.OCPeriod, 1.0);
        EXPECT_EQ(state.OCPointCount, 3);
    } while (std::next_permutation(times.begin(), times.end()));
}

TEST(ComputeOCDiagramTest, IdenticalTimesBothCount) {
    SharedState state = StateWithTimes({50000.0, 50002.01, 50002.01}, 1.0);
    ASSERT_TRUE(ComputeOCDiagram(state));
    EXPECT_EQ(state.CycleNumbers[2], state.CycleNumbers[3]);
    // Two points at (2, 0.01) and one at (0, 0): the line passes through both exactly.
    EXPECT_NEAR(state.FitIntercept, 0.0, 1e-9);
    EXPECT_NEAR(state.FitSlope, 0.005, 1e-9);
    EXPECT_NEAR(state.OCRms, std::sqrt(2 * 0.01 * 0.01 / 3), 1e-9);
}

TEST(ComputeOCDiagramTest, PointsAtOneCycleCountKeepTheirValuesWithoutALine) {
    struct Case {
        const char* what;
        std::vector<double> times;
        double period;
        double cycleMax;
        double ocMin, ocMax, rms;
    } const cases[] = {
        {"single observation", {50000.0}, 0.65, 0.0, 0.0, 0.0, 0.0},
        {"all within a quarter period", {50000.0, 50000.1, 50000.2}, 1.0, 0.0, 0.0, 0.2, std::sqrt(0.02 / 3)},
        {"full dates, one observation", {2452349.3}, 1.0, 2352350.5, -0.2, -0.2, 0.0},
        {"a period far too short for one time", {50000.0}, 1e-9, 0.0, 0.0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        SharedState state = StateWithTimes(c.times, c.period);
        ASSERT_TRUE(ComputeOCDiagram(state)) << c.what;
        EXPECT_EQ(state.OCFitDefined, kFalse) << c.what;
        EXPECT_EQ(state.CycleMax, c.cycleMax) << c.what;
        EXPECT_NEAR(state.OCMin, c.ocMin, 1e-6) << c.what;
        EXPECT_NEAR(state.OCMax, c.ocMax, 1e-6) << c.what;
        EXPECT_NEAR(state.OCRms, c.rms, 1e-9) << c.what;
        EXPECT_EQ(state.FitSlope, 0.0) << c.what;
        for (double v : {state.FitIntercept, state.OCRange}) {
            EXPECT_TRUE(std::isfinite(v)) << c.what;
        }
    }
}

TEST(ComputeOCDiagramTest, RefusedInputsLeaveThePreviousDiagram) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        double period;
        bool searched;
        int count;
    } const cases[] = {
        {"no search result", 0.65, false, 3},
        {"zero period", 0.0, true, 3},
        {"negative period", -0.65, true, 3},
        {"not a number", std::nan(""), true, 3},
        {"infinite", inf, true, 3},
        {"cycle counts beyond 32 bits", 1e-9, true, 3},
        {"smallest positive period", 5e-324, true, 3},
        {"no observations", 0.65, true, 0},
    };
    for (const auto& c : cases) {
        SharedState state = StateWithTimes({50000.0, 50002.01, 50003.98}, 1.0);
        ASSERT_TRUE(ComputeOCDiagram(state));
        const SharedState before = state;
        state.TrialPeriod = c.period;
        state.FTComputed = ToFlag(c.searched);
        state.ObsCount = static_cast<std::int16_t>(c.count);
        EXPECT_FALSE(ComputeOCDiagram(state)) << c.what;
        EXPECT_EQ(state.CycleNumbers, before.CycleNumbers) << c.what;
        EXPECT_EQ(state.OCValues, before.OCValues) << c.what;
        EXPECT_EQ(state.OCRms, before.OCRms) << c.what;
        EXPECT_EQ(state.FitSlope, before.FitSlope) << c.what;
        EXPECT_EQ(state.OCPeriod, 1.0) << c.what;
    }
}

TEST(FitStraightLineTest, FitsTheGivenIndicesOnly) {
    const std::vector<double> x = {99, 1, 2, 3, 4, -7};
    const std::vector<double> y = {5, 5, 8, 11, 14, 40};
    const auto line = FitStraightLine(x, y, 1, 4);
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->Intercept, 2.0, 1e-12);
    EXPECT_NEAR(line->Slope, 3.0, 1e-12);
    EXPECT_FALSE(FitStraightLine(x, y, 2, 2)) << "one point";
    EXPECT_FALSE(FitStraightLine(std::vector<double>{3, 3, 3}, y, 0, 2)) << "one x";
    EXPECT_FALSE(FitStraightLine(x, y, 3, 2)) << "no point";
}

} // namespace
} // namespace quorix
