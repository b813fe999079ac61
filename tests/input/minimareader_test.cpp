#include "input/minimareader.h"

#include "platform/textfile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace quorix {
namespace {

class RecordingWindow : public ReaderWindow {
public:
    void SetFileNameCaption(const std::string& text) override { fileName = text; }
    void SetCountCaption(const std::string& text) override { count = text; }
    void EnableCompute() override { computeEnabled = true; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::string fileName = "My Filename", count;
    bool computeEnabled = false;
    std::vector<std::string> messages;
};

std::string Values(int count, const char* lineEnd = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(52345.6789 + i) + lineEnd;
    }
    return text;
}

MinimaFailure FailureOf(std::string_view bytes) {
    return ParseMinimaText(bytes).failure;
}
int ErrorOf(std::string_view bytes) {
    return ParseMinimaText(bytes).errorNumber;
}

TEST(ParseMinimaTest, RecordCountsAndCommaColumns) {
    EXPECT_EQ(ParseMinimaText(Values(500)).data.count, 500);
    EXPECT_EQ(ErrorOf(Values(501)), 9);
    const auto five = ParseMinimaText("52345.1,1,2,3,4,5\r\n52346.2,1,2,3,4,5\r\n");
    EXPECT_EQ(five.failure, MinimaFailure::kNone);
    EXPECT_EQ(five.data.count, 2);
    EXPECT_EQ(five.data.extraColumns[2][5], 5.0);
    EXPECT_EQ(ErrorOf("52345.1,1,2,3,4,5,6\r\n"), 9);
    const auto across = ParseMinimaText("52345.1,1\r\n52346.2\r\n3\r\n"); // records across lines
    EXPECT_EQ(across.data.count, 2);
    EXPECT_EQ(across.data.times[2], 52346.2);
    EXPECT_EQ(across.data.extraColumns[2][1], 3.0);
}

TEST(ParseMinimaTest, FirstLineCharactersAndLength) {
    for (const char* bad : {"52345.1\t\r\n", "5.2E4\r\n", "\"52345\"\r\n", "52345x\r\n",
                            "\xEF\xBB\xBF"
                            "52345\r\n"}) {
        EXPECT_EQ(FailureOf(bad), MinimaFailure::kFaultyFirstLine) << bad;
    }
    EXPECT_EQ(FailureOf("5.2e4\r\n+52345 \r\n"), MinimaFailure::kNone);
    EXPECT_EQ(FailureOf("52345\r\n52346\tx\r\n"), MinimaFailure::kNone) << "only the first line is checked";
    EXPECT_EQ(ErrorOf(std::string(32768, '1')), 6);
    EXPECT_EQ(FailureOf("52345.1" + std::string(32760, ' ')), MinimaFailure::kNone);
    EXPECT_EQ(ErrorOf(""), 62);
    EXPECT_EQ(ErrorOf("52345.1,1,2\r\n52346.1\r\n"), 62) << "the file ends inside a record";
}

TEST(ParseMinimaTest, LineEndsAndValues) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        const auto result = ParseMinimaText(Values(3, lineEnd));
        EXPECT_EQ(result.failure, MinimaFailure::kNone);
        EXPECT_EQ(result.data.count, 3);
    }
    EXPECT_EQ(ParseMinimaText("52345.67").data.count, 1) << "no line end after the last value";
    EXPECT_EQ(FailureOf("52345.1\r\n0\r\n"), MinimaFailure::kFaultyValue);
    EXPECT_EQ(FailureOf("52345.1\r\n\r\n52346.1\r\n"), MinimaFailure::kFaultyValue);
    EXPECT_EQ(FailureOf("52345.1\r\n52346.1\r\n\r\n"), MinimaFailure::kFaultyValue);
    EXPECT_EQ(FailureOf("52345.1\r\nnan\r\n"), MinimaFailure::kFaultyValue);
    EXPECT_EQ(FailureOf("52345.1\r\n1e999\r\n"), MinimaFailure::kFaultyValue);
    EXPECT_EQ(ParseMinimaText("52350.12\r\n52345.67\r\n").data.baseTime, 52345.67);
    EXPECT_EQ(ParseMinimaText("2452345.67\r\n2452350.12\r\n").data.baseTime, 99999);
}

TEST(ParseMinimaTest, RandomBytesGiveACompleteDataSetOrAFailure) {
    std::mt19937 random(2026);
    const std::string valid = "52345.6789,1,0.002\r\n52346.1234,2,0.001\r\n";
    const char alphabet[] = "0123456789+-.,e \r\n\tE\"x\0";
    int loaded = 0;
    for (int run = 0; run < 100000; ++run) {
        std::string bytes = run % 2 == 0 ? valid : std::string();
        const int edits = static_cast<int>(random() % 12);
        for (int e = 0; e < edits; ++e) {
            const char c =
                run % 3 == 0 ? static_cast<char>(random()) : alphabet[random() % (sizeof alphabet - 1)];
            const std::size_t at = bytes.empty() ? 0 : random() % (bytes.size() + 1);
            if (random() % 3 == 0 && !bytes.empty() && at < bytes.size()) {
                bytes.erase(at, 1);
            } else {
                bytes.insert(at, 1, c);
            }
        }
        const auto result = ParseMinimaText(bytes);
        if (result.failure != MinimaFailure::kNone) {
            continue;
        }
        ++loaded;
        ASSERT_GE(result.data.count, 1);
        ASSERT_LE(result.data.count, 500);
        double lowest = 99999;
        for (int i = 1; i <= result.data.count; ++i) {
            ASSERT_TRUE(std::isfinite(result.data.times[i]) && result.data.times[i] != 0) << bytes;
            lowest = std::min(lowest, result.data.times[i]);
        }
        ASSERT_EQ(result.data.baseTime, lowest);
    }
    EXPECT_GT(loaded, 1000) << "the mutations should leave many files loadable";
}

class LoadMinimaFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitialiseSharedState(state);
        start = std::filesystem::current_path();
    }
    void TearDown() override { std::filesystem::current_path(start); }

    void Load(const std::filesystem::path& folder, const std::string& name) {
        state.DataFolder = folder.string();
        state.DataFileName = name;
        LoadMinimaFile(state, window);
    }

    SharedState state;
    RecordingWindow window;
    testing::TempFolder temp;
    std::filesystem::path start;
};

TEST_F(LoadMinimaFileTest, LoadsTheBundledSamples) {
    Load(QUORIX_EXAMPLES, "algol_type_reduced.csv");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(state.ObsCount, 45);
    EXPECT_EQ(window.count, " 45");
    EXPECT_EQ(window.fileName, "algol_type_reduced.csv");
    EXPECT_TRUE(window.computeEnabled);
    EXPECT_LT(state.BaseTime, 99999);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(QUORIX_EXAMPLES));
    Load(QUORIX_EXAMPLES, "algol_type_hjd.txt");
    EXPECT_EQ(state.ObsCount, 60);
    EXPECT_EQ(state.BaseTime, 99999);
    Load(QUORIX_EXAMPLES, "long_period_mixed_order.txt");
    EXPECT_EQ(state.ObsCount, 300);
}

TEST_F(LoadMinimaFileTest, AFailedLoadChangesNothing) {
    temp.Write("good.txt", "52345.1\r\n52346.2\r\n");
    Load(temp.Path(), "good.txt");
    state.FTComputed = kTrue;
    const auto times = state.ObsTimes;
    temp.Write("zero.txt", "52000.5\r\n0\r\n52001.5\r\n");
    temp.Write("long.txt", Values(501));
    temp.Write("bad.txt", "abc\r\n");
    std::filesystem::create_directory(temp.Path() / "folder");
    const std::pair<const char*, const char*> cases[] = {
        {"zero.txt", "Faulty data, or not a text file.  Please try again."},
        {"long.txt", "Subscript out of range."},
        {"bad.txt", "Faulty data or not a text file.  Please try again."},
        {"missing.txt", "Error: File not found."},
        {"folder", "Error: Path/file access error."},
        {"", "Error: File not found."},
    };
    for (const auto& [name, message] : cases) {
        window.messages.clear();
        Load(temp.Path(), name);
        ASSERT_EQ(window.messages.size(), 1u) << name;
        EXPECT_EQ(window.messages[0], message);
        EXPECT_EQ(state.ObsCount, 2);
        EXPECT_EQ(state.ObsTimes, times);
        EXPECT_EQ(state.BaseTime, 52345.1);
        EXPECT_EQ(state.FTComputed, kTrue);
    }
    window.messages.clear();
    Load(temp.Path() / "nowhere", "good.txt");
    EXPECT_EQ(window.messages.at(0), "Error: Path not found.");
}

TEST_F(LoadMinimaFileTest, LoadingTwiceEqualsLoadingOnce) {
    temp.Write("twice.txt", "52345.1,1\r\n52346.2,2\r\n");
    Load(temp.Path(), "twice.txt");
    const auto times = state.ObsTimes;
    const auto extra = state.ObsExtraColumns;
    Load(temp.Path(), "twice.txt");
    EXPECT_EQ(state.ObsTimes, times);
    EXPECT_EQ(state.ObsExtraColumns, extra);
    EXPECT_EQ(state.ObsCount, 2);
}

TEST(TextFileTest, ErrnoMapsToRunTimeErrorNumbers) {
    EXPECT_EQ(ErrorNumberFromErrno(ENOENT, "/no/such/folder/file.txt"), 76);
    EXPECT_EQ(ErrorNumberFromErrno(ENOENT, "/tmp/no-such-file.txt"), 53);
    EXPECT_EQ(ErrorNumberFromErrno(EACCES, "x"), 70);
    EXPECT_EQ(ErrorNumberFromErrno(EISDIR, "x"), 75);
    EXPECT_EQ(ErrorNumberFromErrno(ENOSPC, "x"), 61);
    EXPECT_EQ(ErrorNumberFromErrno(EIO, "x"), 57);
    EXPECT_EQ(ErrorNumberFromErrno(EMFILE, "x"), 67);
    EXPECT_EQ(ErrorNumberFromErrno(ENAMETOOLONG, "x"), 64);
}

} // namespace
} // namespace quorix
