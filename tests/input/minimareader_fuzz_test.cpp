#include "input/minimareader.h"

#include "support/recordingwindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>

namespace quorix {
namespace {

// A valid text of a few records with up to eight random edits: bytes put in, taken out, repeated
// or the text cut short.
std::string EditedText(std::mt19937_64& random) {
    const auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static constexpr char kBytes[] = "0123456789+-.,eE \r\n\t\"x\0\377";
    const char* const lineEnd = std::array{"\r\n", "\n", "\r"}[below(3)];
    const std::size_t extraFields = below(6);
    std::string text;
    for (std::size_t records = 1 + below(6); records > 0; --records) {
        text.append(std::to_string((below(2) == 0 ? 52000 : 2452000) + below(5000)))
            .append(".")
            .append(std::to_string(below(999)));
        for (std::size_t c = 0; c < extraFields; ++c) {
            text.append(",").append(std::to_string(below(3)));
        }
        text += lineEnd;
    }
    for (std::size_t edits = below(9); edits > 0; --edits) {
        const std::size_t at = below(text.size() + 1);
        switch (below(4)) {
        case 0:
            text.insert(at, 1, kBytes[below(sizeof kBytes - 1)]);
            break;
        case 1:
            text.erase(at, 1);
            break;
        case 2:
            text.insert(at, text.substr(at, below(16)));
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
    std::map<MinimaFailure, int> outcomes;
    for (int run = 0; run < 10'000; ++run) {
        const std::string bytes = EditedText(random);
        state.FTComputed = kTrue;
        window.computeEnabled = false;
        window.messages.clear();
        const auto before = loaded();
        const MinimaReadResult result = ParseMinimaText(bytes);
        ApplyMinimaResult(state, window, result);
        ++outcomes[result.failure];
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
        ASSERT_EQ(state.FTComputed, kFalse);
        ASSERT_TRUE(window.computeEnabled);
        ASSERT_EQ(window.count, std::string(" ").append(std::to_string(state.ObsCount)));
    }
    // The texts reach every outcome often, or the test would prove little.
    for (const auto failure : {MinimaFailure::kNone, MinimaFailure::kFaultyFirstLine,
                               MinimaFailure::kFaultyValue, MinimaFailure::kRunTimeError}) {
        EXPECT_GT(outcomes[failure], 250) << static_cast<int>(failure);
    }
}

} // namespace
} // namespace quorix
