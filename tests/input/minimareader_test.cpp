#include "input/minimareader.h"

#include "support/recordingwindow.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace quorix {
namespace {

using testing::RecordingWindow;

const char* const kFirstLineMessage = "Faulty data or not a text file.  Please try again.";
const char* const kValueMessage = "Faulty data, or not a text file.  Please try again.";

// `count` lines, each `record` followed by `lineEnd`.
std::string Lines(int count, const std::string& record = "52345.5", const char* lineEnd = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.append(record).append(lineEnd);
    }
    return text;
}

// The outcome in a few words: "count 500", "error 9", "first line" or "value".
std::string OutcomeOf(std::string_view bytes) {
    const MinimaReadResult result = ParseMinimaText(bytes);
    switch (result.failure) {
    case MinimaFailure::kNone:
        return "count " + std::to_string(result.data.count);
    case MinimaFailure::kFaultyFirstLine:
        return "first line";
    case MinimaFailure::kFaultyValue:
        return "value";
    case MinimaFailure::kRunTimeError:
        return "error " + std::to_string(result.errorNumber);
    }
    return "";
}

TEST(ParseMinimaTest, EveryKindOfTextGivesItsOutcome) {
    using namespace std::string_literals;
    const std::string longest = "52345.1" + std::string(32760, ' '); // 32767 characters
    const auto between = [](const char* field) { return "52345.1\r\n"s + field + "\r\n52347.1\r\n"; };
    const std::pair<std::string, const char*> cases[] = {
        // At most 500 records, refused as a 501st begins; 1 + up to 5 fields per record.
        {Lines(500), "count 500"},
        {Lines(501), "error 9"},
        {Lines(500, "52345.5,1") + "52346.5", "error 9"},
        {"52345.1,1,2,3,4,5,6\r\n", "error 9"},
        {"", "error 62"},
        {"52345.1,1,2\r\n52346.1\r\n", "error 62"},
        // Line ends of every system, mixed, and none after the last record.
        {"52345.1\n52346.2\r52347.3\r\n52348.4", "count 4"},
        // Only the first line's characters are checked, and only after its length.
        {" +5.2e4 , -1.e-3\r\n52346,1\r\n", "count 2"},
        {"52345\r\n52346\tx\r\n", "count 2"},
        {"52345.1\t\r\n", "first line"},
        {"5.2E4\r\n", "first line"},
        {"\"52345\"\r\n", "first line"},
        {"52345x\r\n", "first line"},
        {"\357\273\27752345\r\n", "first line"},
        {"52345\0\r\n"s, "first line"},
        {longest, "count 1"},
        {longest + " ", "error 6"},
        {std::string(40000, 'x'), "error 6"},
        // Times that are not non-zero numbers, blank lines included.
        {between("0"), "value"},
        {between(""), "value"},
        {between("nan"), "value"},
        {between("1e999"), "value"},
        {"52345.1\r\n52346.1\r\n\r\n", "value"},
    };
    for (const auto& [bytes, outcome] : cases) {
        EXPECT_EQ(OutcomeOf(bytes), outcome) << ::testing::PrintToString(bytes.substr(0, 40));
    }
}

// The times of a read, in file order.
std::vector<double> TimesOf(const MinimaReadResult& result) {
    return {result.data.times.begin() + 1, result.data.times.begin() + 1 + result.data.count};
}

TEST(ParseMinimaTest, FieldsFillTheRecordsInOrderAndTheLowestTimeIsTheBase) {
    // Five extra columns, and records that do not keep to the lines.
    const auto wide = ParseMinimaText("52345.1,1,2,3,4,5\r\n52346.2,6,7\r\n8,9,10\r\n");
    EXPECT_EQ(TimesOf(wide), (std::vector<double>{52345.1, 52346.2}));
    EXPECT_EQ(wide.data.extraColumns[2], (std::array<double, kExtraColumns>{0, 6, 7, 8, 9, 10}));
    // A field is the number it starts with, after any number of blanks.
    const auto loose = ParseMinimaText("52345.1\r\n \t52346.5 days\r\n52347 .5\r\n-3e2x\r\n" +
                                       std::string(5000, ' ') + "52348.5\r\n");
    EXPECT_EQ(TimesOf(loose), (std::vector<double>{52345.1, 52346.5, 52347, -300, 52348.5}));
    // The base time is the lowest time, but never above 99999.
    EXPECT_EQ(ParseMinimaText("52350.12\r\n52345.67\r\n52349\r\n").data.baseTime, 52345.67);
    EXPECT_EQ(ParseMinimaText("2452345.67\r\n2452350.12\r\n").data.baseTime, 99999);
}

class LoadMinimaFileTest : public ::testing::Test {
protected:
    LoadMinimaFileTest() { InitialiseSharedState(state); }
    ~LoadMinimaFileTest() override { std::filesystem::current_path(start); }

    // As OK in the open-file dialog: the file's folder and its bare name.
    void Load(const std::filesystem::path& file) {
        state.DataFolder = file.parent_path().string();
        state.DataFileName = file.filename().string();
        state.FTComputed = kTrue;
        window = RecordingWindow();
        LoadMinimaFile(state, window);
    }
    // Everything a load may change.
    auto Loaded() const {
        return std::tuple(state.ObsTimes, state.ObsExtraColumns, state.ObsCount, state.BaseTime,
                          state.FTComputed, window.fileName, window.count, window.computeEnabled);
    }

    SharedState state;
    RecordingWindow window;
    testing::TempFolder temp;
    std::filesystem::path start = std::filesystem::current_path();
};

TEST_F(LoadMinimaFileTest, LoadsRealFilesAndAFailedLoadChangesNothing) {
    const std::filesystem::path examples = QUORIX_EXAMPLES;
    Load(examples / "algol_type_reduced.csv");
    EXPECT_EQ(state.ObsCount, 45);
    EXPECT_EQ(state.ObsExtraColumns[1][2], 0.0015);
    EXPECT_EQ(std::filesystem::current_path(), examples);
    Load(examples / "algol_type_hjd.txt");
    EXPECT_EQ(state.ObsCount, 60);
    EXPECT_EQ(state.ObsExtraColumns[1][1], 0.0) << "the previous file's columns are gone";

    // Names beyond ASCII, loaded twice: the second load leaves the state as the first did.
    const auto folder = temp.Path() / "Mes données";
    std::filesystem::create_directories(folder / "sub");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    temp.Write("Mes données/V471 Tau ÄÖ.txt", "52345.1,7\r\n52346.2,8\r\n");
    Load(folder / "V471 Tau ÄÖ.txt");
    const auto once = Loaded();
    Load(folder / "V471 Tau ÄÖ.txt");
    EXPECT_TRUE(Loaded() == once);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.fileName, "V471 Tau ÄÖ.txt");
    EXPECT_EQ(window.count, " 2");
    EXPECT_TRUE(window.computeEnabled);
    EXPECT_EQ(state.FTComputed, kFalse);
    EXPECT_EQ(state.BaseTime, 52345.1);

    // Each message the reader shows; a file is written only where there are bytes.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"zero.txt", "52000.5,1\r\n0,2\r\n52001.5,3\r\n", kValueMessage},
        {"letters.txt", "abc\r\n", kFirstLineMessage},
        {"many.txt", Lines(501, "52345.5", "\n"), "Subscript out of range."},
        {"wide.txt", std::string(33000, '5'), "Error: Overflow."},
        {"short.txt", "52345.1,1,2\r\n52346.1\r\n", "Error: Input past end of file."},
        {"missing.txt", "", "Error: File not found."},
        {"nowhere/good.txt", "", "Error: Path not found."}, // DataFolder is missing
        {"sub", "", "Error: Path/file access error."},
        {"pipe", "", "Error: Path/file access error."},
    };
    for (const auto& [name, bytes, message] : cases) {
        if (!bytes.empty()) {
            temp.Write("Mes données/" + std::string(name), bytes);
        }
        state.FTComputed = kTrue;
        window = RecordingWindow();
        const auto before = Loaded();
        Load(folder / name);
        EXPECT_EQ(window.messages, std::vector<std::string>{message}) << name;
        EXPECT_TRUE(Loaded() == before) << name;
        EXPECT_EQ(std::filesystem::current_path(), folder) << "the folder stays current: " << name;
    }
}

} // namespace
} // namespace quorix
