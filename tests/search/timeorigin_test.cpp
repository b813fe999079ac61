// Times written as full Julian dates, as JD - 2400000 or with any other constant offset must give
// the same search and the same O-C diagram: the time origin is the earliest minimum.
#include "input/minimareader.h"
#include "ocdiagram/occompute.h"
#include "search/periodsearch.h"

#include "support/recordingwindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <tuple>
#include <random>
#include <string>
#include <vector>

namespace quorix {
namespace {

constexpr double kTruePeriod = 0.4172639;

// Sixty minima of a W UMa-like binary over 55 years, every third a secondary, timed to 2e-4 d,
// in the order an observer's list mixes them; reduced dates (JD - 2400000).
std::vector<double> ReducedMinima() {
    std::mt19937 random(2);
    std::uniform_int_distribution<int> cycle(0, static_cast<int>(20000 / kTruePeriod));
    std::normal_distribution<double> jitter(0, 2e-4);
    std::vector<double> times;
    for (int k = 0; k < 60; ++k) {
        times.push_back(45123.4493 + (cycle(random) + (k % 3 == 2 ? 0.5 : 0)) * kTruePeriod + jitter(random));
    }
    return times;
}

// The file an observer would write: five decimals, CR LF.
std::string MinimaFile(const std::vector<double>& times, double offset) {
    std::string text;
    char line[64];
    for (const double t : times) {
        std::snprintf(line, sizeof line, "%.5f\r\n", t + offset);
        text += line;
    }
    return text;
}

// What one offset of the same minima gives: the best grid point and the O-C figures at the true period.
struct Outcome {
    long bestIndex = -1;
    SharedState state;
};

Outcome SearchAndDiagram(double offset) {
    Outcome outcome;
    SharedState& state = outcome.state;
    InitialiseSharedState(state);
    testing::RecordingWindow window;
    ApplyMinimaResult(state, window, ParseMinimaText(MinimaFile(ReducedMinima(), offset)));
    // About two grid points across the dip of the 55 years: an origin far before the data (99999
    // for full dates) makes this grid pick a period some 39,000 points away.
    std::tie(window.minimum, window.maximum, window.steps) = std::tuple("0.3", "0.6", "100000");
    RunPeriodSearch(state, window);
    EXPECT_TRUE(window.messages.empty()) << offset;
    outcome.bestIndex = std::lround((state.BestOmega - state.OmegaLow) / state.OmegaStep);
    state.TrialPeriod = kTruePeriod;
    EXPECT_TRUE(ComputeOCDiagram(state)) << offset;
    return outcome;
}

TEST(TimeOriginTest, AConstantOffsetOfTheTimesChangesNoResult) {
    const Outcome reduced = SearchAndDiagram(0);
    const double truthIndex =
        (reduced.state.TwoPi / kTruePeriod - reduced.state.OmegaLow) / reduced.state.OmegaStep;
    EXPECT_NEAR(reduced.bestIndex, truthIndex, 1.0) << "the reduced dates find the true period";
    for (const double offset : {2400000.0, 2450000.0, 2400000.5}) {
        SCOPED_TRACE(offset);
        const Outcome shifted = SearchAndDiagram(offset);
        EXPECT_NEAR(shifted.bestIndex, reduced.bestIndex, 1) << "the same dip, or its neighbour on a tie";
        const SharedState &a = reduced.state, &b = shifted.state;
        EXPECT_NEAR(b.BaseTime - offset, a.BaseTime, 1e-9);
        for (int i = 1; i <= a.ObsCount; ++i) {
            ASSERT_EQ(b.CycleNumbers[i], a.CycleNumbers[i]) << i;
            ASSERT_NEAR(b.OCValues[i], a.OCValues[i], 1e-9) << i;
            // The earliest minimum is the origin: cycle 0 on the left edge, on the line O-C = 0.
            if (b.ObsTimes[i] == b.BaseTime) {
                EXPECT_EQ(b.CycleNumbers[i], 0);
                EXPECT_EQ(b.OCValues[i], 0);
            }
        }
        EXPECT_NEAR(b.OCRms, a.OCRms, 1e-9);
        EXPECT_EQ(b.CycleMax, a.CycleMax);
        EXPECT_TRUE(b.OCMin <= 0 && b.OCMax >= 0);
    }
}

} // namespace
} // namespace quorix
