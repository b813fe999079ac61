#include "input/minimareader.h"

#include "support/recordingwindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>

namespace quorix {
namespace {

// A valid text of one to six records with up to eight random edits: a byte put in, a byte taken
// out, or the text cut short.
std::string EditedText(std::mt19937_64& random) {
    const auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static constexpr char kBytes[] = "0123456789+-.,eE \r\n\t\"x\0\377\r\n,";
    std::string record = below(2) == 0 ? "52345.67" : "2452345.67";
    for (std::size_t fields = below(6); fields > 0; --fields) {
        record += ",1";
    }
    record += std::array{"\r\n", "\n", "\r"}[below(3)];
    std::string text;
    for (std::size_t records = 1 + below(6); records > 0; --records) {
        text += record;
    }
    for (std::size_t edits = below(9); edits > 0; --edits) {
        const std::size_t at = below(text.size() + 1);
        switch (below(3)) {
        case 0:
            text.insert(at, 1, kBytes[below(sizeof kBytes - 1)]);
            break;
        case 1:
            text.erase(at, 1);
            break;
        default:
            text.resize(at);
        }
    }
    return text;
}

TEST(MinimaFuzzTest, EveryTextGivesASoundDataSetOrChangesNothing) {
    SharedState state;
    InitialiseSharedState(state);
    testing::RecordingWindow window;
    // Everything a load may change.
    const auto loaded = [&] {
        return std::tuple(state.ObsTimes, state.ObsExtraColumns, state.ObsCount, state.BaseTime,
                          state.FTComputed, window.fileName, window.count, window.computeEnabled);
    };
    std::mt19937_64 random(20261207);
    std::array<int, 4> outcomes{};
    for (int run = 0; run < 10'000; ++run) {
        const std::string bytes = EditedText(random);
        state.FTComputed = kTrue;
        window.computeEnabled = false;
        window.messages.clear();
        const auto before = loaded();
        const MinimaReadResult result = ParseMinimaText(bytes);
        ApplyMinimaResult(state, window, result);
        ++outcomes.at(static_cast<std::size_t>(result.failure));
        if (result.failure != MinimaFailure::kNone) {
            ASSERT_EQ(window.messages.size(), 1u);
            ASSERT_FALSE(window.messages[0].empty());
            ASSERT_TRUE(loaded() == before) << "a refused text changed the state: " << bytes;
            continue;
        }
        ASSERT_TRUE(window.messages.empty());
        ASSERT_GE(state.ObsCount, 1);
        const auto first = state.ObsTimes.begin() + 1, last = first + state.ObsCount;
        ASSERT_TRUE(std::all_of(first, last, [](double t) { return std::isfinite(t) && t != 0; })) << bytes;
        ASSERT_EQ(state.BaseTime, std::min(99999.0, *std::min_element(first, last)));
        ASSERT_TRUE(window.computeEnabled);
    }
    // The texts reach every outcome (success, first line, value, run-time error) often, or the test
    // would prove little.
    EXPECT_GT(*std::min_element(outcomes.begin(), outcomes.end()), 250);
}

} // namespace
} // namespace quorix
