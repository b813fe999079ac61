#include "input/minimareader.h"

#include "support/recordingwindow.h"
#include "support/scopedcurrentfolder.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <random>
#include <tuple>

namespace quorix {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// `count` lines, each `record` followed by `lineEnd`.
std::string Lines(std::size_t count, const std::string& record = "52345.5", const char* lineEnd = "\r\n") {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text.append(record).append(lineEnd);
    }
    return text;
}

class LoadMinimaTest : public ::testing::Test {
protected:
    LoadMinimaTest() { InitialiseSharedState(state); }

    // Everything a load may change.
    auto Loaded() const {
        return std::tuple(state.ObsTimes, state.ObsExtraColumns, state.ObsCount, state.BaseTime,
                          state.FTComputed, window.fileName, window.count, window.computeEnabled);
    }
    // Readies the state and the window for a load; returns what they hold then.
    auto Ready() {
        state.FTComputed = kTrue;
        window = testing::RecordingWindow();
        return Loaded();
    }
    // As OK in the open-file dialog: the file's folder and its bare name.
    void Load(const fs::path& file) {
        state.DataFolder = file.parent_path().string();
        state.DataFileName = file.filename().string();
        Ready();
        LoadMinimaFile(state, window);
    }

    testing::TempFolder temp;
    testing::ScopedCurrentFolder here{temp.Path()};
    SharedState state;
    testing::RecordingWindow window;
};

TEST_F(LoadMinimaTest, EveryKindOfFileGivesItsOutcomeAndAFailedLoadChangesNothing) {
    // Names beyond ASCII.
    const auto folder = temp.Path() / "Mes données";
    fs::create_directories(folder / "sub");
    temp.Write("Mes données/V471 Tau ÄÖ.txt", "52345.1,7\r\n52346.2,8\r\n");
    Load(folder / "V471 Tau ÄÖ.txt");
    EXPECT_EQ(window.count, " 2");
    EXPECT_EQ(state.ObsExtraColumns[2][1], 8.0);

    // The count read, or the message shown; the faulty first line and the faulty value differ by a
    // comma.
    const char* const firstLine = "Faulty data or not a text file.  Please try again.";
    const char* const value = "Faulty data, or not a text file.  Please try again.";
    const std::string longest = "52345.1" + std::string(32760, ' '); // 32767 characters
    const auto between = [](const char* field) { return "52345.1\r\n"s + field + "\r\n52347.1\r\n"; };
    const std::tuple<int, const char*, std::vector<std::string>> cases[] = {
        // At most 500 records, refused as a 501st begins; 1 + up to 5 fields per record.
        {500, "", {Lines(500)}},
        {0, "Subscript out of range.", {Lines(501), Lines(500, "52345.5,1") + "5", "5,1,2,3,4,5,6\r\n"}},
        {0, "Error: Input past end of file.", {"", "52345.1,1,2\r\n52346.1\r\n"}},
        // Line ends of every system, mixed, and none after the last record.
        {4, "", {"52345.1\n52346.2\r52347.3\r\n52348.4"}},
        // Records that do not keep to the lines.
        {2, "", {"52345.1,1,2,3,4,5\r\n52346.2,6,7\r\n8,9,10\r\n"}},
        // Only the first line's characters are checked, and only after its length; blanks may stand
        // around a time, and a further field is read up to its first non-number.
        {2, "", {" +5.2e4 , -1.e-3\r\n\t52346\t,x1\r\n"}},
        {3, "", {between("  2450000.1"), between("2450000.1  ")}},
        {0, firstLine, {"52345.1\t\r\n", "5.2E4\r\n", "\357\273\27752345\r\n", "52345\0\r\n"s, "abc\r\n"}},
        {1, "", {longest}},
        {0, "Error: Overflow.", {longest + " ", std::string(40000, 'x')}},
        // Times that are not non-zero numbers, blank lines included.
        {0, value, {between("0"), between(""), between("1e999"), "52345.1\r\n52346.1\r\n\r\n"}},
        // Fields that only start with a number: a blank inside, a digit or a word after it.
        {0, value, {between("54174. 4301"), between("2450000.1 2"), between("1.5e3 x"), between("1.5e")}},
    };
    for (const auto& [count, message, texts] : cases) {
        for (const std::string& bytes : texts) {
            SCOPED_TRACE(::testing::PrintToString(bytes.substr(0, 40)));
            temp.Write("Mes données/case.txt", bytes);
            const auto before = Ready();
            Load(folder / "case.txt");
            if (*message == 0) {
                EXPECT_TRUE(window.messages.empty());
                EXPECT_EQ(state.ObsCount, count);
            } else {
                EXPECT_EQ(window.messages, std::vector<std::string>{message});
                EXPECT_TRUE(Loaded() == before) << "a failed load changed the state";
            }
        }
    }
    EXPECT_EQ(state.ObsExtraColumns[2][1], 0.0) << "one-column files leave no earlier columns behind";
    const std::pair<const char*, const char*> unreadable[] = {
        {"nowhere/good.txt", "Error: Path not found."}, // DataFolder is missing
        {"sub", "Error: Path/file access error."},
    };
    for (const auto& [name, message] : unreadable) {
        const auto before = Ready();
        Load(folder / name);
        EXPECT_EQ(window.messages, std::vector<std::string>{message}) << name;
        EXPECT_TRUE(Loaded() == before) << name;
        EXPECT_EQ(fs::current_path(), folder) << "the folder stays current: " << name;
    }
}

// A valid text of one to six records with up to eight random edits: a byte put in, a byte taken
// out, or the text cut short.
std::string EditedText(std::mt19937_64& random) {
    const auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static constexpr char kBytes[] = "0123456789+-.,eE \r\n\t\"x\0\377\r\n,";
    const std::string record =
        (below(2) == 0 ? "52345.67"s : "2452345.67"s) + ",1,1,1,1,1"s.substr(0, 2 * below(6));
    std::string text = Lines(1 + below(6), record, std::array{"\r\n", "\n", "\r"}[below(3)]);
    for (std::size_t edits = below(9); edits > 0; --edits) {
        const std::size_t at = below(text.size() + 1), kind = below(3);
        if (kind == 0) {
            text.insert(at, 1, kBytes[below(sizeof kBytes - 1)]);
        } else {
            text.erase(at, kind == 1 ? 1 : std::string::npos); // one byte, or all from there on
        }
    }
    return text;
}

TEST_F(LoadMinimaTest, EveryEditedTextGivesASoundDataSetOrChangesNothing) {
    std::mt19937_64 random(20261207);
    std::array<int, 4> outcomes{};
    for (int run = 0; run < 10'000; ++run) {
        const std::string bytes = EditedText(random);
        const MinimaReadResult result = ParseMinimaText(bytes);
        const auto before = Ready();
        ApplyMinimaResult(state, window, result);
        ++outcomes.at(static_cast<std::size_t>(result.failure));
        if (result.failure != MinimaFailure::kNone) {
            ASSERT_TRUE(window.messages.size() == 1 && !window.messages[0].empty()) << bytes;
            ASSERT_TRUE(Loaded() == before) << "a refused text changed the state: " << bytes;
            continue;
        }
        const auto first = state.ObsTimes.begin() + 1, last = first + state.ObsCount;
        ASSERT_TRUE(window.messages.empty() && window.computeEnabled && state.FTComputed == kFalse &&
                    state.ObsCount >= 1)
            << bytes;
        ASSERT_TRUE(std::all_of(first, last, [](double t) { return std::isfinite(t) && t != 0; })) << bytes;
        ASSERT_EQ(state.BaseTime, *std::min_element(first, last)) << bytes;
    }
    // Each outcome (read, first line, value, run-time error) comes often, or the test proves little.
    EXPECT_GT(*std::min_element(outcomes.begin(), outcomes.end()), 250);
}

} // namespace
} // namespace quorix
