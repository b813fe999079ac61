#include "state/settingsfile.h"

#include "platform/textfile.h"
#include "state/scopedcurrentfolder.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

namespace quorix {
namespace {

using Lines = std::vector<std::string>;

SharedState StartedState() {
    SharedState state;
    InitialiseSharedState(state);
    return state;
}

TEST(SettingsFileLinesTest, DefaultsInTheirOrderOnBothOccasions) {
    const SharedState state = StartedState();
    const Lines places = {"5100", "100",  "50",   "50", "5055",  "14900", "5100",
                          "6700", "5500", "7000", "50", "14950", "6000",  "3600"};
    Lines onClose = places;
    onClose.insert(onClose.end(), {",0.2", "", "10000"});
    Lines onExit = places;
    onExit.insert(onExit.end(), {"0.2", "", "10000"});
    EXPECT_EQ(SettingsFileLines(state, 5100, 100, PeriodLine::kSecondField), onClose);
    EXPECT_EQ(SettingsFileLines(state, 5100, 100, PeriodLine::kValueAlone), onExit);
}

TEST(SettingsFileLinesTest, EachValueLandsOnItsOwnLine) {
    SharedState state = StartedState();
    state.FTWinTop = 1;
    state.FTWinLeft = 2;
    state.FTWinHeight = 3;
    state.FTWinWidth = 4;
    state.OCWinTop = 5;
    state.OCWinLeft = 6;
    state.OCWinHeight = 7;
    state.OCWinWidth = 8;
    state.AliasWinTop = 9;
    state.AliasWinLeft = 10;
    state.AliasWinHeight = 11;
    state.AliasWinWidth = -12;
    state.StepCount = 500000;
    const Lines lines = SettingsFileLines(state, 0, 0, PeriodLine::kValueAlone);
    ASSERT_EQ(lines.size(), 17u);
    for (int line = 3; line <= 13; ++line) {
        EXPECT_EQ(lines[line - 1], std::to_string(line - 2)) << "line " << line;
    }
    EXPECT_EQ(lines[13], "-12");
    EXPECT_EQ(lines[16], "500000");
}

TEST(SettingsFileLinesTest, MainWindowMeasuresAreRoundedAndHeldTo16Bits) {
    const struct {
        double measure;
        const char* written;
    } cases[] = {
        {1234.5, "1234"},    {1235.5, "1236"},
        {-0.5, "0"},         {-7.6, "-8"},
        {40000, "32767"},    {-1e9, "-32768"},
        {std::nan(""), "0"}, {std::numeric_limits<double>::infinity(), "32767"},
    };
    const SharedState state = StartedState();
    for (const auto& c : cases) {
        const Lines lines = SettingsFileLines(state, c.measure, c.measure, PeriodLine::kValueAlone);
        EXPECT_EQ(lines[0], c.written) << c.measure;
        EXPECT_EQ(lines[1], c.written) << c.measure;
    }
}

TEST(SettingsFileLinesTest, TheMinimumPeriodAsLastRead) {
    const struct {
        double period;
        const char* alone;
    } cases[] = {
        {0.2, "0.2"},   {0.01, "0.01"}, {12.5, "12.5"},  {100, "100"},
        {-0.5, "-0.5"}, {0, "0"},       {1e-7, "1E-07"}, {1.0 / 3, "0.333333333333333"},
    };
    SharedState state = StartedState();
    for (const auto& c : cases) {
        state.PeriodMin = c.period;
        EXPECT_EQ(SettingsFileLines(state, 0, 0, PeriodLine::kValueAlone)[14], c.alone);
        EXPECT_EQ(SettingsFileLines(state, 0, 0, PeriodLine::kSecondField)[14], std::string(",") + c.alone);
    }
}

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything a folder holds, by name.
std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class SettingsFileWriteTest : public ::testing::Test {
protected:
    testing::TempFolder temp;
    testing::ScopedCurrentFolder here{temp.Path()};
    const Lines lines = SettingsFileLines(StartedState(), 5100, 100, PeriodLine::kSecondField);
};

TEST_F(SettingsFileWriteTest, ReplacesAnOldFileWholeWithCrLfLines) {
    temp.Write(kSettingsFileName, std::string(1000, 'x'));
    ASSERT_EQ(ReplaceTextFile(kSettingsFileName, lines), 0);
    EXPECT_EQ(Contents(kSettingsFileName),
              "5100\r\n100\r\n50\r\n50\r\n5055\r\n14900\r\n5100\r\n6700\r\n5500\r\n"
              "7000\r\n50\r\n14950\r\n6000\r\n3600\r\n,0.2\r\n\r\n10000\r\n");
    EXPECT_EQ(Entries(temp.Path()), std::vector<std::string>{kSettingsFileName}) << "nothing else is left";
}

TEST_F(SettingsFileWriteTest, AFolderOfThatNameIsLeftAsItWas) {
    std::filesystem::create_directory(kSettingsFileName);
    temp.Write(std::string(kSettingsFileName) + "/inside.txt", "kept");
    EXPECT_NE(ReplaceTextFile(kSettingsFileName, lines), 0);
    EXPECT_TRUE(std::filesystem::is_directory(kSettingsFileName));
    EXPECT_EQ(Contents(std::string(kSettingsFileName) + "/inside.txt"), "kept");
    EXPECT_EQ(Entries(temp.Path()), std::vector<std::string>{kSettingsFileName});
}

TEST_F(SettingsFileWriteTest, AFolderThatIsGoneWritesNothing) {
    std::filesystem::create_directory("gone");
    testing::ScopedCurrentFolder inside(temp.Path() / "gone");
    std::filesystem::remove(temp.Path() / "gone");
    EXPECT_NE(ReplaceTextFile(kSettingsFileName, lines), 0);
}

// A write past this many bytes fails as on a full disk, whoever runs the test.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

TEST_F(SettingsFileWriteTest, AFullDiskKeepsTheOldFile) {
    const std::string old = "an older settings file\r\n";
    temp.Write(kSettingsFileName, old);
    int error = 0;
    {
        ScopedFileSizeLimit full(20);
        error = ReplaceTextFile(kSettingsFileName, lines);
    }
    EXPECT_EQ(error, 61);
    EXPECT_EQ(Contents(kSettingsFileName), old);
    EXPECT_EQ(Entries(temp.Path()), std::vector<std::string>{kSettingsFileName})
        << "the partial copy is removed";
}

TEST_F(SettingsFileWriteTest, AnUnwritableFolderKeepsTheOldFile) {
    temp.Write(kSettingsFileName, "old");
    std::filesystem::permissions(temp.Path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (const int probe = ::open("probe", O_WRONLY | O_CREAT, 0600); probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may write into any folder (run as root)";
    }
    EXPECT_EQ(ReplaceTextFile(kSettingsFileName, lines), 70);
    EXPECT_EQ(Contents(kSettingsFileName), "old");
}

} // namespace
} // namespace quorix
