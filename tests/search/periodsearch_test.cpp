#include "search/periodsearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace quorix {
namespace {

class RecordingWindow : public SearchWindow {
public:
    std::string MinimumPeriodText() const override { return minimum; }
    std::string MaximumPeriodText() const override { return maximum; }
    std::string StepCountText() const override { return steps; }
    void SetSearchButtonsEnabled(bool enabled) override { switches.push_back(enabled); }
    void SetBestPeriodText(const std::string& text) override { best = text; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::string minimum = "0.20", maximum = "1.20", steps = "1000";
    std::vector<bool> switches;
    std::vector<std::string> messages;
    std::string best;
};

SharedState StateWithTimes(const std::vector<double>& times) {
    SharedState state;
    InitialiseSharedState(state);
    state.BaseTime = 99999;
    for (std::size_t i = 0; i < times.size(); ++i) {
        state.ObsTimes[i + 1] = times[i];
        state.BaseTime = std::min(state.BaseTime, times[i]);
    }
    state.ObsCount = static_cast<std::int16_t>(times.size());
    return state;
}

// Times of primary and secondary minima of a binary with the given period, with small timing noise.
std::vector<double> EclipsingBinary(double period, int count, double start, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> cycle(0, 1500);
    std::normal_distribution<double> noise(0, 0.0005);
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        const double half = k % 3 == 0 ? 0.5 : 0.0;
        times.push_back(start + period * (cycle(random) + half) + noise(random));
    }
    return times;
}

const char* kMinimumMessage = "Minimum period must be between 0.05 and 100 days.";
const char* kMaximumMessage = "Maximum period must be between 0.05 and 100 days.";
const char* kOrderMessage = "Minimum period must be less than the maximum period.";
const char* kStepsMessage = "Number of steps must be between 1000 and 500000, inclusive.";

std::string FirstMessage(const std::string& minimum, const std::string& maximum, const std::string& steps) {
    SharedState state = StateWithTimes({52345.6789, 52346.1234});
    RecordingWindow window;
    window.minimum = minimum;
    window.maximum = maximum;
    window.steps = steps;
    RunPeriodSearch(state, window);
    return window.messages.empty() ? "" : window.messages.front();
}

TEST(PeriodSearchTest, EntryChecksInTheirOrder) {
    EXPECT_EQ(FirstMessage("0.05", "100", "1000"), "");
    EXPECT_EQ(FirstMessage("0.049", "100", "1000"), kMinimumMessage);
    EXPECT_EQ(FirstMessage("0.2", "100.1", "1000"), kMaximumMessage);
    EXPECT_EQ(FirstMessage("abc", "100.1", "5"), kMinimumMessage) << "only the first failure is told";
    EXPECT_EQ(FirstMessage("", "1", "1000"), kMinimumMessage);
    EXPECT_EQ(FirstMessage("1", "1", "1000"), kOrderMessage);
    EXPECT_EQ(FirstMessage("2", "1", "1000"), kOrderMessage);
    // Two periods so close that they give one and the same frequency: a grid without width.
    EXPECT_EQ(FirstMessage("0.060000000000000026", "0.060000000000000032", "1000"), kOrderMessage);
    EXPECT_EQ(FirstMessage("-5", "1", "1000"), kMinimumMessage);
    EXPECT_EQ(FirstMessage("  0.3abc", "1", "1000"), "");
    EXPECT_EQ(FirstMessage("inf", "1", "1000"), kMinimumMessage);
    EXPECT_EQ(FirstMessage("0.2", "1e400", "1000"), kMaximumMessage);
    for (const char* steps : {"999", "500001", "1e12", "", "nan", "-1e400", "999.4"}) {
        EXPECT_EQ(FirstMessage("0.2", "1", steps), kStepsMessage) << steps;
    }
    for (const char* steps : {"1000", "500000", "999.5", "1000.5", "1000.4"}) {
        EXPECT_EQ(FirstMessage("0.2", "1", steps), "") << steps;
    }
}

TEST(PeriodSearchTest, RejectedRunKeepsTheLastResultButStoresTheEntries) {
    SharedState state = StateWithTimes(EclipsingBinary(0.6523417, 40, 52000.1, 1));
    RecordingWindow window;
    RunPeriodSearch(state, window);
    ASSERT_EQ(state.FTComputed, kTrue);
    const double best = state.BestOmega;
    const double value = state.FTValues[500];
    window.minimum = "0.01";
    RunPeriodSearch(state, window);
    EXPECT_DOUBLE_EQ(state.PeriodMin, 0.01);
    window.minimum = "0.2";
    window.steps = "1e12";
    RunPeriodSearch(state, window);
    EXPECT_EQ(state.StepCount, 2147483647);
    EXPECT_EQ(state.CompletedStepCount, 1000);
    EXPECT_EQ(state.BestOmega, best);
    EXPECT_EQ(state.FTValues[500], value);
    EXPECT_EQ(state.ViewEndIndex, 1000);
    EXPECT_EQ(window.switches, (std::vector<bool>{false, true})) << "rejected runs leave the buttons alone";
}

TEST(PeriodSearchTest, AbsurdTimesAreRefusedOrSearchedWithoutOverflow) {
    struct Case {
        std::vector<double> times;
        const char* minimum;
        bool refused;
    };
    const Case cases[] = {
        {{1e307, 2e307}, "0.2", true},    // the differences themselves overflow the phase
        {{52345.1, 5e306}, "0.05", true}, // omega x dt overflows
        {{52345.1, 5e306}, "0.2", false}, // omega x dt is finite, twice it is not
        {{52345.1, 1e300}, "0.2", false},
    };
    for (const Case& c : cases) {
        SharedState state = StateWithTimes(EclipsingBinary(0.6523417, 40, 52000.1, 1));
        RecordingWindow window;
        RunPeriodSearch(state, window);
        const SharedState before = state;
        const std::string bestBefore = window.best;
        for (std::size_t i = 0; i < c.times.size(); ++i) {
            state.ObsTimes[i + 1] = c.times[i];
        }
        state.ObsCount = static_cast<std::int16_t>(c.times.size());
        state.BaseTime = std::min(99999.0, *std::min_element(c.times.begin(), c.times.end()));
        window.minimum = c.minimum;
        window.switches.clear();
        RunPeriodSearch(state, window);
        if (c.refused) {
            EXPECT_EQ(window.messages,
                      std::vector<std::string>{"The times of minima are too large to search."});
            EXPECT_TRUE(window.switches.empty()) << "the buttons were never disabled";
            EXPECT_EQ(window.best, bestBefore);
            EXPECT_EQ(state.FTValues, before.FTValues);
            EXPECT_EQ(state.BestOmega, before.BestOmega);
            EXPECT_EQ(state.BestFT, before.BestFT);
            EXPECT_EQ(state.OmegaLow, before.OmegaLow);
            EXPECT_EQ(state.ViewEndIndex, before.ViewEndIndex);
            EXPECT_EQ(state.CompletedStepCount, before.CompletedStepCount);
        } else {
            EXPECT_TRUE(window.messages.empty());
            EXPECT_EQ(window.switches, (std::vector<bool>{false, true}));
            EXPECT_TRUE(std::all_of(state.FTValues.begin(), state.FTValues.begin() + 1001,
                                    [](double v) { return std::isfinite(v); }));
            EXPECT_TRUE(std::isfinite(state.BestFT) && std::isfinite(state.BestOmega));
            EXPECT_EQ(window.best, BestPeriodText(state.TwoPi / state.BestOmega));
        }
        EXPECT_EQ(state.FTComputed, kTrue) << c.times.back();
    }
}

TEST(PeriodSearchTest, WithoutObservationsNothingIsComputed) {
    SharedState state = StateWithTimes({});
    RecordingWindow window;
    RunPeriodSearch(state, window);
    EXPECT_EQ(state.FTComputed, kFalse) << "a mean over no observations has no value";
    EXPECT_EQ(state.CompletedStepCount, 0);
    EXPECT_TRUE(window.switches.empty());
    EXPECT_TRUE(window.best.empty());
}

TEST(PeriodSearchTest, RecoversAKnownPeriodAndSetsTheFullView) {
    SharedState state = StateWithTimes(EclipsingBinary(0.6523417, 80, 52000.1, 2));
    RecordingWindow window;
    window.minimum = "0.4"; // half the period fits as well: the harmonics stay out of this range
    window.steps = "100000";
    RunPeriodSearch(state, window);
    EXPECT_TRUE(window.messages.empty());
    const double period = state.TwoPi / state.BestOmega;
    const double resolution = state.TwoPi * state.OmegaStep / (state.BestOmega * state.BestOmega);
    EXPECT_NEAR(period, 0.6523417, 2 * resolution + 1e-5);
    EXPECT_EQ(window.best, BestPeriodText(period));
    EXPECT_EQ(window.best.substr(0, 4), ".652");
    EXPECT_EQ(state.Pi, 3.1415926535);
    EXPECT_EQ(state.ViewStartIndex, 1);
    EXPECT_EQ(state.ViewEndIndex, 100000);
    EXPECT_EQ(state.ViewOmegaStart, state.OmegaLow);
    EXPECT_DOUBLE_EQ(state.ViewOmegaEnd, state.OmegaHigh);
    EXPECT_EQ(state.FullOmegaEnd, state.ViewOmegaEnd);
    EXPECT_LT(state.BestFT, 0.05);
}

TEST(PeriodSearchTest, SingleObservationGivesTheLongestPeriod) {
    SharedState state = StateWithTimes({52345.6789});
    RecordingWindow window;
    RunPeriodSearch(state, window);
    EXPECT_EQ(state.BestFT, 0.0);
    EXPECT_EQ(state.BestOmega, state.OmegaLow) << "on a tie the earliest grid point wins";
    EXPECT_EQ(window.best, "1.2");
    EXPECT_EQ(state.FTValues[1000], 0.0);
}

TEST(PeriodSearchTest, BestPeriodTextIsCutToSixCharacters) {
    EXPECT_EQ(BestPeriodText(0.45678912345), ".45678");
    EXPECT_EQ(BestPeriodText(1.2345678), "1.2345");
    EXPECT_EQ(BestPeriodText(12.345678), "12.345");
    EXPECT_EQ(BestPeriodText(0.5), ".5");
}

} // namespace
} // namespace quorix
