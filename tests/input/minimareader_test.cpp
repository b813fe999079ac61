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

TEST(ParseMinimaTest, EveryKindOfTextGivesItsOutcome) {
    constexpr auto kRead = MinimaFailure::kNone, kFirstLine = MinimaFailure::kFaultyFirstLine,
                   kValue = MinimaFailure::kFaultyValue, kError = MinimaFailure::kRunTimeError;
    const std::string longest = "52345.1" + std::string(32760, ' '); // 32767 characters
    const auto between = [](const char* field) { return "52345.1\r\n"s + field + "\r\n52347.1\r\n"; };
    const std::tuple<MinimaFailure, int, std::vector<std::string>> cases[] = {
        // At most 500 records, refused as a 501st begins; 1 + up to 5 fields per record.
        {kRead, 500, {Lines(500)}},
        {kError, 9, {Lines(501), Lines(500, "52345.5,1") + "52346.5", "52345.1,1,2,3,4,5,6\r\n"}},
        {kError, 62, {"", "52345.1,1,2\r\n52346.1\r\n"}},
        // Line ends of every system, mixed, and none after the last record.
        {kRead, 4, {"52345.1\n52346.2\r52347.3\r\n52348.4"}},
        // Only the first line's characters are checked, and only after its length.
        {kRead, 2, {" +5.2e4 , -1.e-3\r\n52346\tx,1\r\n"}},
        {kFirstLine, 0, {"52345.1\t\r\n", "5.2E4\r\n", "\357\273\27752345\r\n", "52345\0\r\n"s}},
        {kRead, 1, {longest}},
        {kError, 6, {longest + " ", std::string(40000, 'x')}},
        // Times that are not non-zero numbers, blank lines included.
        {kValue, 0, {between("0"), between(""), between("1e999"), "52345.1\r\n52346.1\r\n\r\n"}},
    };
    for (const auto& [failure, number, texts] : cases) {
        for (const std::string& bytes : texts) {
            const MinimaReadResult result = ParseMinimaText(bytes);
            EXPECT_EQ(std::pair(result.failure, failure == kRead ? result.data.count : result.errorNumber),
                      std::pair(failure, number))
                << ::testing::PrintToString(bytes.substr(0, 40));
        }
    }
}

TEST(ParseMinimaTest, FieldsFillTheRecordsInOrderEachTheNumberItStartsWith) {
    // Five extra columns, and records that do not keep to the lines.
    const auto wide = ParseMinimaText("52345.1,1,2,3,4,5\r\n52346.2,6,7\r\n8,9,10\r\n");
    EXPECT_EQ(wide.data.times, (std::vector<double>{0, 52345.1, 52346.2})) << "entry 0 is not used";
    EXPECT_EQ(wide.data.extraColumns[2], (std::array<double, kExtraColumns>{0, 6, 7, 8, 9, 10}));
    // A field is the number it starts with, after any number of blanks.
    const auto loose = ParseMinimaText("52345.1\r\n \t52346.5 days\r\n52347 .5\r\n-3e2x\r\n" +
                                       std::string(5000, ' ') + "52348.5\r\n");
    EXPECT_EQ(loose.data.times, (std::vector<double>{0, 52345.1, 52346.5, 52347, -300, 52348.5}));
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

TEST_F(LoadMinimaTest, LoadsRealFilesAndAFailedLoadShowsItsMessageAndChangesNothing) {
    const fs::path examples = QUORIX_EXAMPLES;
    Load(examples / "algol_type_reduced.csv");
    EXPECT_EQ(state.ObsCount, 45);
    EXPECT_EQ(state.ObsExtraColumns[1][2], 0.0015);
    EXPECT_EQ(fs::current_path(), examples);
    Load(examples / "algol_type_hjd.txt");
    EXPECT_EQ(state.ObsCount, 60);
    EXPECT_EQ(state.ObsExtraColumns[1][1], 0.0) << "the previous file's columns are gone";

    // Names beyond ASCII, loaded twice: the second load leaves the state as the first did.
    const auto folder = temp.Path() / "Mes données";
    fs::create_directories(folder / "sub");
    temp.Write("Mes données/V471 Tau ÄÖ.txt", "52345.1,7\r\n52346.2,8\r\n");
    Load(folder / "V471 Tau ÄÖ.txt");
    const auto once = Loaded();
    Load(folder / "V471 Tau ÄÖ.txt");
    EXPECT_TRUE(Loaded() == once);
    EXPECT_EQ(window.count, " 2");

    // Each message the reader shows; a file is written only where there are bytes.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"zero.txt", "52000.5,1\r\n0,2\r\n52001.5,3\r\n",
         "Faulty data, or not a text file.  Please try again."},
        {"letters.txt", "abc\r\n", "Faulty data or not a text file.  Please try again."},
        {"many.txt", Lines(501, "52345.5", "\n"), "Subscript out of range."},
        {"wide.txt", std::string(33000, '5'), "Error: Overflow."},
        {"short.txt", "52345.1,1,2\r\n52346.1\r\n", "Error: Input past end of file."},
        {"missing.txt", "", "Error: File not found."},
        {"nowhere/good.txt", "", "Error: Path not found."}, // DataFolder is missing
        {"sub", "", "Error: Path/file access error."},
    };
    for (const auto& [name, bytes, message] : cases) {
        if (!bytes.empty()) {
            temp.Write("Mes données/" + std::string(name), bytes);
        }
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
    const char* lineEnd = std::array{"\r\n", "\n", "\r"}[below(3)];
    std::string text = Lines(1 + below(6), record, lineEnd);
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
        ASSERT_EQ(state.BaseTime, std::min(99999.0, *std::min_element(first, last))) << bytes;
    }
    // Each outcome (read, first line, value, run-time error) comes often, or the test proves little.
    EXPECT_GT(*std::min_element(outcomes.begin(), outcomes.end()), 250);
}

} // namespace
} // namespace quorix
