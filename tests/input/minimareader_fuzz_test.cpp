#include "input/minimareader.h"

#include "support/recordingwindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

namespace quorix {
namespace {

using testing::RecordingWindow;

// What a load may change, so a failed one can be shown to have changed none of it.
struct Observations {
    std::array<double, kMaxObservations + 1> times{};
    std::vector<std::array<double, kExtraColumns>> extra;
    std::int16_t count = 0;
    double baseTime = 0;
    Flag computed = kFalse;
    std::string fileName, countCaption;
    bool computeEnabled = false;
    friend bool operator==(const Observations&, const Observations&) = default;
};

Observations Take(const SharedState& state, const RecordingWindow& window) {
    return {state.ObsTimes,   state.ObsExtraColumns, state.ObsCount, state.BaseTime,
            state.FTComputed, window.fileName,       window.count,   window.computeEnabled};
}

class Inputs {
public:
    explicit Inputs(std::uint64_t seed) : random_(seed) {}

    // Random bytes, or a valid text with a few edits; `records` is the valid text's record count
    // when it was left unedited, else 0.
    std::string Next(int& records) {
        records = 0;
        if (Below(3) == 0) {
            return Noise();
        }
        const int wanted = Below(200) == 0 ? 495 + Below(10) : 1 + Below(6);
        std::string text = Valid(wanted);
        const int edits = Below(9);
        for (int e = 0; e < edits; ++e) {
            Edit(text);
        }
        records = edits == 0 ? wanted : 0;
        return text;
    }

private:
    static constexpr char kAlphabet[] = "0123456789+-.,eE \r\n\t\"x\0";

    int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    char Byte() {
        return Below(2) == 0 ? static_cast<char>(random_()) : kAlphabet[Below(sizeof kAlphabet - 1)];
    }
    std::string Noise() {
        std::string bytes(static_cast<std::size_t>(Below(41)), '\0');
        std::generate(bytes.begin(), bytes.end(), [this] { return Byte(); });
        return bytes;
    }
    std::string Valid(int records) {
        const int extra = Below(6);
        const char* const lineEnds[] = {"\r\n", "\n", "\r"};
        const char* lineEnd = lineEnds[Below(3)];
        std::string text;
        for (int r = 0; r < records; ++r) {
            text.append(std::to_string((Below(2) == 0 ? 52000 : 2452000) + Below(5000)))
                .append(".")
                .append(std::to_string(Below(10000)));
            for (int c = 0; c < extra; ++c) {
                text.append(",").append(std::to_string(Below(3)));
            }
            text += lineEnd;
        }
        if (Below(4) == 0) {
            text.resize(text.size() - std::char_traits<char>::length(lineEnd));
        }
        return text;
    }
    void Edit(std::string& text) {
        const std::size_t at = static_cast<std::size_t>(Below(static_cast<int>(text.size()) + 1));
        switch (Below(5)) {
        case 0:
            text.insert(at, 1, Byte());
            break;
        case 1:
            text.erase(at, 1);
            break;
        case 2:
            if (at < text.size()) {
                text[at] = Byte();
            }
            break;
        case 3:
            text.insert(at, text.substr(at, static_cast<std::size_t>(Below(16))));
            break;
        default:
            text.resize(at);
        }
    }

    std::mt19937_64 random_;
};

TEST(MinimaFuzzTest, EveryInputGivesACompleteDataSetOrChangesNothing) {
    SharedState state;
    InitialiseSharedState(state);
    state.DataFileName = "fuzz.txt";
    RecordingWindow window;
    Inputs inputs(20261207);
    std::map<MinimaFailure, int> outcomes;
    Observations before = Take(state, window);
    for (int run = 0; run < 100'000; ++run) {
        int records = 0;
        const std::string bytes = inputs.Next(records);
        state.FTComputed = kTrue;
        window.computeEnabled = false;
        window.messages.clear();
        before.computed = kTrue;
        before.computeEnabled = false;

        const MinimaReadResult result = ParseMinimaText(bytes);
        ApplyMinimaResult(state, window, result);
        ++outcomes[result.failure];
        if (records > 500) {
            ASSERT_EQ(result.failure, MinimaFailure::kRunTimeError);
            ASSERT_EQ(result.errorNumber, 9);
        } else if (records > 0) {
            ASSERT_EQ(result.failure, MinimaFailure::kNone) << bytes;
            ASSERT_EQ(result.data.count, records);
        }
        if (result.failure != MinimaFailure::kNone) {
            ASSERT_EQ(window.messages.size(), 1u);
            ASSERT_FALSE(window.messages[0].empty());
            ASSERT_TRUE(Take(state, window) == before) << "a failed load changed the state: " << bytes;
            continue;
        }
        ASSERT_TRUE(window.messages.empty());
        ASSERT_GE(state.ObsCount, 1);
        ASSERT_LE(state.ObsCount, 500);
        double lowest = 99999;
        for (int i = 1; i <= state.ObsCount; ++i) {
            ASSERT_TRUE(std::isfinite(state.ObsTimes[i]) && state.ObsTimes[i] != 0) << bytes;
            lowest = std::min(lowest, state.ObsTimes[i]);
        }
        ASSERT_EQ(state.BaseTime, lowest);
        ASSERT_EQ(state.FTComputed, kFalse);
        ASSERT_TRUE(window.computeEnabled);
        ASSERT_EQ(window.count, std::string(" ").append(std::to_string(state.ObsCount)));
        before = Take(state, window);
    }
    // The inputs reach every outcome often, or the test would prove little.
    for (const auto failure : {MinimaFailure::kNone, MinimaFailure::kFaultyFirstLine,
                               MinimaFailure::kFaultyValue, MinimaFailure::kRunTimeError}) {
        EXPECT_GT(outcomes[failure], 1000) << static_cast<int>(failure);
    }
}

} // namespace
} // namespace quorix
