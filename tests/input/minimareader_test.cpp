#include "input/minimareader.h"

#include "support/recordingwindow.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/mman.h>
#include <unistd.h>

namespace quorix {
namespace {

using testing::RecordingWindow;

const char* const kFirstLineMessage = "Faulty data or not a text file.  Please try again.";
const char* const kValueMessage = "Faulty data, or not a text file.  Please try again.";

std::string Values(int count, const char* lineEnd = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(52345 + i) + ".5" + lineEnd;
    }
    return text;
}

MinimaFailure FailureOf(std::string_view bytes) {
    return ParseMinimaText(bytes).failure;
}
int ErrorOf(std::string_view bytes) {
    const auto result = ParseMinimaText(bytes);
    return result.failure == MinimaFailure::kRunTimeError ? result.errorNumber : -1;
}

TEST(ParseMinimaTest, RecordLimitsAndCommaColumns) {
    EXPECT_EQ(ParseMinimaText(Values(500)).data.count, 500);
    EXPECT_EQ(ErrorOf(Values(501)), 9);
    const auto five = ParseMinimaText("52345.1,1,2,3,4,5\r\n52346.2,6,7,8,9,10\r\n");
    ASSERT_EQ(five.failure, MinimaFailure::kNone);
    EXPECT_EQ(five.data.count, 2);
    EXPECT_EQ(five.data.extraColumns[2][1], 6.0);
    EXPECT_EQ(five.data.extraColumns[2][5], 10.0);
    EXPECT_EQ(ErrorOf("52345.1,1,2,3,4,5,6\r\n"), 9);
    const auto across = ParseMinimaText("52345.1,1\r\n52346.2\r\n3,52347.3,4\r\n"); // records span lines
    ASSERT_EQ(across.data.count, 3);
    EXPECT_EQ(across.data.times[2], 52346.2);
    EXPECT_EQ(across.data.extraColumns[2][1], 3.0);
    EXPECT_EQ(across.data.times[3], 52347.3);
    EXPECT_EQ(ErrorOf(""), 62);
    EXPECT_EQ(ErrorOf("52345.1,1,2\r\n52346.1\r\n"), 62) << "the file ends inside a record";
}

TEST(ParseMinimaTest, FirstLineCharacters) {
    using namespace std::string_literals;
    // Tab, capital E, quotes, a letter, UTF-8 and UTF-16 byte order marks, UTF-16 text, a NUL.
    for (const std::string& bad : {"52345.1\t"s, "5.2E4"s, "\"52345\""s, "52345x"s, "\357\273\27752345"s,
                                   "\377\3765\0002\000"s, "5\0002\0003\000"s, "52345\0"s}) {
        EXPECT_EQ(FailureOf(bad + "\r\n"), MinimaFailure::kFaultyFirstLine) << bad;
    }
    EXPECT_EQ(FailureOf(" +5.2e4 , -1.e-3\r\n52346,1\r\n"), MinimaFailure::kNone);
    EXPECT_EQ(FailureOf("52345\r\n52346\tx\r\n"), MinimaFailure::kNone) << "only the first line is checked";
    EXPECT_EQ(FailureOf("52345.1" + std::string(32760, ' ')), MinimaFailure::kNone) << "32767 characters";
    EXPECT_EQ(ErrorOf("52345.1" + std::string(32761, ' ')), 6);
    EXPECT_EQ(ErrorOf(std::string(40000, 'x')), 6) << "the whole line is taken before it is checked";
}

TEST(ParseMinimaTest, LineEndsAndFieldValues) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        const auto result = ParseMinimaText(Values(3, lineEnd));
        EXPECT_EQ(result.failure, MinimaFailure::kNone);
        EXPECT_EQ(result.data.count, 3);
    }
    EXPECT_EQ(ParseMinimaText("52345.1\n52346.2\r52347.3\r\n52348.4").data.count, 4) << "mixed, no last end";
    for (const char* bad : {"0", "", "-0.0", "nan", "inf", "1e999", "-1e999", "abc", "\"52346\"", ".e5"}) {
        EXPECT_EQ(FailureOf("52345.1\r\n" + std::string(bad) + "\r\n52347.1\r\n"),
                  MinimaFailure::kFaultyValue)
            << bad;
    }
    EXPECT_EQ(FailureOf("52345.1\r\n52346.1\r\n\r\n"), MinimaFailure::kFaultyValue) << "a blank last line";
    EXPECT_EQ(FailureOf("52345.1\r\n\r\n"), MinimaFailure::kFaultyValue);
    // Fields read as the number they start with, after blanks.
    const auto loose = ParseMinimaText("52345.1\r\n \t52346.5 days\r\n52347 .5\r\n-3e2x\r\n");
    ASSERT_EQ(loose.failure, MinimaFailure::kNone);
    EXPECT_EQ(loose.data.times[2], 52346.5);
    EXPECT_EQ(loose.data.times[3], 52347.0);
    EXPECT_EQ(loose.data.baseTime, -300.0);
    EXPECT_EQ(ParseMinimaText("52350.12\r\n52345.67\r\n52349\r\n").data.baseTime, 52345.67);
    EXPECT_EQ(ParseMinimaText("2452345.67\r\n2452350.12\r\n").data.baseTime, 99999);
    EXPECT_EQ(ParseMinimaText("99999\r\n100000.5\r\n").data.baseTime, 99999);
}

TEST(ParseMinimaTest, HugeFieldsReadAsTheirStart) {
    const std::string digits(10'000'000, '0');
    const std::string blanks(10'000'000, ' ');
    const auto result = ParseMinimaText("52345.5\r\n52346.5" + digits + "\r\n" + blanks + "52347.5\r\n");
    ASSERT_EQ(result.failure, MinimaFailure::kNone);
    EXPECT_EQ(result.data.times[2], 52346.5);
    EXPECT_EQ(result.data.times[3], 52347.5);
}

// Bytes that end exactly where the reader must stop, followed by a large inaccessible region: any
// read beyond what the reader needs faults.
class GuardedBytes {
public:
    explicit GuardedBytes(std::string_view readable) {
        const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t pages = (readable.size() + page - 1) / page;
        base_ = ::mmap(nullptr, kSize, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (base_ == MAP_FAILED || ::mprotect(base_, pages * page, PROT_READ | PROT_WRITE) != 0) {
            return;
        }
        char* start = static_cast<char*>(base_) + pages * page - readable.size();
        readable.copy(start, readable.size());
        bytes_ = std::string_view(start, kSize - static_cast<std::size_t>(start - static_cast<char*>(base_)));
    }
    ~GuardedBytes() {
        if (base_ != MAP_FAILED) {
            ::munmap(base_, kSize);
        }
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    std::string_view Bytes() const { return bytes_; }

private:
    static constexpr std::size_t kSize = std::size_t{256} << 20;
    void* base_ = MAP_FAILED;
    std::string_view bytes_;
};

TEST(ParseMinimaTest, ReadsNoFurtherThanItNeeds) {
    const GuardedBytes noLineEnd(std::string(32768, '1'));
    ASSERT_FALSE(noLineEnd.Bytes().empty());
    EXPECT_EQ(ErrorOf(noLineEnd.Bytes()), 6);
    const GuardedBytes tooMany(Values(500) + "5"); // only the 501st record's first byte is readable
    ASSERT_FALSE(tooMany.Bytes().empty());
    EXPECT_EQ(ErrorOf(tooMany.Bytes()), 9);
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
    EXPECT_EQ(state.ObsTimes[1], 52822.2985);
    EXPECT_EQ(state.ObsExtraColumns[1][1], 1.0);
    EXPECT_EQ(state.ObsExtraColumns[1][2], 0.0015);
    EXPECT_EQ(state.BaseTime, *std::min_element(state.ObsTimes.begin() + 1, state.ObsTimes.begin() + 46));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(QUORIX_EXAMPLES));
    Load(QUORIX_EXAMPLES, "algol_type_hjd.txt");
    EXPECT_EQ(state.ObsCount, 60);
    EXPECT_EQ(state.BaseTime, 99999);
    EXPECT_EQ(state.ObsExtraColumns[1][1], 0.0) << "the previous file's columns are gone";
    Load(QUORIX_EXAMPLES, "long_period_mixed_order.txt");
    EXPECT_EQ(state.ObsCount, 300);
    EXPECT_EQ(window.count, " 300");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(LoadMinimaFileTest, AFailedLoadChangesNothing) {
    temp.Write("good.txt", "52345.1,7\r\n52346.2,8\r\n");
    Load(temp.Path(), "good.txt");
    const auto times = state.ObsTimes;
    const auto extra = state.ObsExtraColumns;
    temp.Write("zero.txt", "52000.5,1\r\n0,2\r\n52001.5,3\r\n");
    temp.Write("many.txt", Values(501, "\n"));
    temp.Write("commas.txt", "1,2,3,4,5,6,7\r\n");
    temp.Write("letters.txt", "abc\r\n");
    temp.Write("wide.txt", std::string(33000, '5'));
    temp.Write("empty.txt", "");
    temp.Write("short.txt", "52345.1,1,2\r\n52346.1\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"zero.txt", kValueMessage},
        {"many.txt", "Subscript out of range."},
        {"commas.txt", "Subscript out of range."},
        {"letters.txt", kFirstLineMessage},
        {"wide.txt", "Error: Overflow."},
        {"empty.txt", "Error: Input past end of file."},
        {"short.txt", "Error: Input past end of file."},
        {"missing.txt", "Error: File not found."},
        {"nowhere/good.txt", "Error: Path not found."},
    };
    for (const auto& [name, message] : cases) {
        window = RecordingWindow();
        state.FTComputed = kTrue;
        Load(temp.Path(), name);
        ASSERT_EQ(window.messages.size(), 1u) << name;
        EXPECT_EQ(window.messages[0], message) << name;
        EXPECT_EQ(state.ObsCount, 2) << name;
        EXPECT_EQ(state.ObsTimes, times) << name;
        EXPECT_EQ(state.ObsExtraColumns, extra) << name;
        EXPECT_EQ(state.BaseTime, 52345.1) << name;
        EXPECT_EQ(state.FTComputed, kTrue) << name;
        EXPECT_EQ(window.fileName, RecordingWindow().fileName) << name;
        EXPECT_EQ(window.count, "") << name;
        EXPECT_FALSE(window.computeEnabled) << name;
        EXPECT_EQ(std::filesystem::current_path(), temp.Path()) << "the folder stays current";
    }
    Load(temp.Path() / "nowhere", "good.txt");
    EXPECT_EQ(window.messages.back(), "Error: Path not found.");
    EXPECT_EQ(std::filesystem::current_path(), temp.Path());
    EXPECT_EQ(state.ObsCount, 2);
}

TEST_F(LoadMinimaFileTest, NamesAndLoadingTwice) {
    const auto folder = temp.Path() / "Mes données";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "V471 Tau ÄÖ.txt", std::ios::binary) << "52345.1,1\n52346.2,2\n";
    Load(folder, "V471 Tau ÄÖ.txt");
    ASSERT_TRUE(window.messages.empty());
    EXPECT_EQ(window.fileName, "V471 Tau ÄÖ.txt");
    const auto times = state.ObsTimes;
    const auto extra = state.ObsExtraColumns;
    state.FTComputed = kTrue;
    window = RecordingWindow();
    Load(folder, "V471 Tau ÄÖ.txt");
    EXPECT_EQ(state.ObsTimes, times);
    EXPECT_EQ(state.ObsExtraColumns, extra);
    EXPECT_EQ(state.ObsCount, 2);
    EXPECT_EQ(state.FTComputed, kFalse);
    EXPECT_TRUE(window.computeEnabled);
    EXPECT_EQ(window.count, " 2");
}

} // namespace
} // namespace quorix
