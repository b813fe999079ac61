#include "search/periodsearch.h"

#include "support/ftgrid.h"
#include "support/observedstate.h"
#include "support/recordingwindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <tuple>

namespace quorix {
namespace {

using testing::ObservedState;
using testing::RecordingWindow;

const std::string kMinimum = "Minimum period must be between 0.05 and 100 days.",
                  kMaximum = "Maximum period must be between 0.05 and 100 days.",
                  kOrder = "Minimum period must be less than the maximum period.",
                  kSteps = "Number of steps must be between 1000 and 500000, inclusive.";

// The first message a search with these entries shows; empty when it runs.
std::string FirstMessage(const char* minimum, const char* maximum, const char* steps) {
    SharedState state = ObservedState({52345.6789, 52346.1234}, 0.0);
    RecordingWindow window;
    std::tie(window.minimum, window.maximum, window.steps) = std::tie(minimum, maximum, steps);
    RunPeriodSearch(state, window);
    return window.messages.empty() ? "" : window.messages.front();
}

TEST(PeriodSearchTest, EntryChecksInTheirOrder) {
    // Each failing period is also followed by failing entries: only the first failure is told.
    for (const char* entry : {"0.049", "abc", "", "-5", "inf"}) {
        EXPECT_EQ(FirstMessage(entry, "100.1", "5"), kMinimum) << entry;
    }
    for (const char* entry : {"100.1", "1e400"}) {
        EXPECT_EQ(FirstMessage("0.2", entry, "5"), kMaximum) << entry;
    }
    // The last pair is so close that both give one and the same frequency: a grid without width.
    for (const auto& [low, high] :
         {std::pair{"1", "1"}, {"2", "1"}, {"0.060000000000000026", "0.060000000000000032"}}) {
        EXPECT_EQ(FirstMessage(low, high, "5"), kOrder) << low;
    }
    for (const char* steps : {"999", "500001", "1e12", "", "nan", "-1e400", "999.4"}) {
        EXPECT_EQ(FirstMessage("0.2", "1", steps), kSteps) << steps;
    }
    for (const char* steps : {"1000", "500000", "999.5", "1000.5", "1000.4"}) {
        EXPECT_EQ(FirstMessage("0.2", "1", steps), "") << steps;
    }
    EXPECT_EQ(FirstMessage("0.05", "100", "1000"), "");
    EXPECT_EQ(FirstMessage("  0.3abc", "1", "1000"), "");
}

TEST(CheckSearchEntriesTest, KeepsWhatItReadUpToTheFailureAndTellsTheCallersStepsLimit) {
    const EntryCheck maximum = CheckSearchEntries({"0.3 days", "200", "5"}, kMaxSteps);
    EXPECT_EQ(std::tuple(maximum.periodMin, maximum.periodMax, maximum.steps),
              std::tuple(std::optional(0.3), std::optional(200.0), std::optional<std::int32_t>()));
    EXPECT_EQ(maximum.message, kMaximum);
    EXPECT_FALSE(maximum.entries);
    const EntryCheck beyond = CheckSearchEntries({"0.3", "1", "1e12"}, 100'000'000);
    EXPECT_EQ(beyond.steps, std::numeric_limits<std::int32_t>::max()) << "held to the 32-bit range";
    EXPECT_EQ(beyond.message, "Number of steps must be between 1000 and 100000000, inclusive.");
    const EntryCheck wide = CheckSearchEntries({"0.3", "1", "600000"}, 100'000'000);
    ASSERT_TRUE(wide.entries);
    EXPECT_EQ(wide.entries->steps, 600000);
    EXPECT_TRUE(wide.message.empty());
}

TEST(PeriodSearchTest, RefusedRunsKeepTheLastResultAndHugeTimesAreSearchedWithoutOverflow) {
    const struct {
        std::vector<double> times; // none: the binary's own
        const char *minimum, *steps;
        std::string message; // none: the search runs
        std::int32_t storedSteps;
    } cases[] = {
        {{}, "0.01", "1000", kMinimum, 1000},
        {{}, "0.2", "1e12", kSteps, 2147483647},
        {{1e307, 2e307}, "0.2", "1000", kTimesTooLargeMessage, 1000},    // the differences overflow the phase
        {{52345.1, 5e306}, "0.05", "1000", kTimesTooLargeMessage, 1000}, // omega x dt overflows
        {{52345.1, HUGE_VAL}, "0.2", "1000", kTimesTooLargeMessage, 1000},
        {{52345.1, 5e306}, "0.2", "1000", "", 1000}, // omega x dt is finite, twice it is not
        {{52345.1, 1e300}, "0.2", "1000", "", 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.minimum) + " " + c.steps + " " + c.message);
        // A binary of period 0.6523417 days, already searched with the default entries.
        std::mt19937 random(1);
        SharedState state = ObservedState(testing::Minima(random, 40, 52000.1, 0.6523417, 0.0005), 0.0);
        RecordingWindow window;
        RunPeriodSearch(state, window);
        const SharedState before = state;
        const std::string bestBefore = window.best;
        if (!c.times.empty()) {
            const SharedState huge = ObservedState(c.times, 0.0);
            std::tie(state.ObsTimes, state.ObsCount, state.BaseTime) =
                std::tie(huge.ObsTimes, huge.ObsCount, huge.BaseTime);
        }
        std::tie(window.minimum, window.steps) = std::tie(c.minimum, c.steps);
        window.switches.clear();
        RunPeriodSearch(state, window);
        EXPECT_EQ(state.FTComputed, kTrue);
        EXPECT_EQ(std::make_tuple(state.PeriodMin, state.StepCount),
                  std::make_tuple(std::strtod(c.minimum, nullptr), c.storedSteps))
            << "the entries are stored as they are read";
        if (!c.message.empty()) {
            EXPECT_EQ(window.messages, std::vector<std::string>{c.message});
            EXPECT_TRUE(window.switches.empty()) << "the buttons were never disabled";
            EXPECT_EQ(window.best, bestBefore);
            EXPECT_EQ(state.FTValues, before.FTValues);
            EXPECT_EQ(
                std::tie(state.BestOmega, state.OmegaLow, state.CompletedStepCount, state.ViewEndIndex),
                std::tie(before.BestOmega, before.OmegaLow, before.CompletedStepCount, before.ViewEndIndex));
        } else {
            EXPECT_TRUE(window.messages.empty());
            EXPECT_EQ(window.switches, (std::vector<bool>{false, true}));
            EXPECT_TRUE(std::all_of(state.FTValues.begin(), state.FTValues.begin() + 1001,
                                    [](double v) { return std::isfinite(v); }));
            EXPECT_TRUE(std::isfinite(state.BestOmega));
        }
    }
}

} // namespace
} // namespace quorix
