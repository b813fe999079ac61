#include "state/settingsfile.h"

#include "platform/textfile.h"
#include "state/errormessages.h"
#include "support/scopedcurrentfolder.h"
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

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(SettingsFileLinesTest, EachNumberIsWrittenOnItsLineAsTheFileHoldsIt) {
    const struct {
        double measure;
        const char* measureText;
        double period;
        const char* periodText;
    } cases[] = {
        {1234.5, "1234", 0.2, "0.2"},
        {1235.5, "1236", 0.01, "0.01"},
        {-0.5, "0", 12.5, "12.5"},
        {-7.6, "-8", 100, "100"},
        {40000, "32767", -0.5, "-0.5"},
        {-1e9, "-32768", 0, "0"},
        {std::nan(""), "0", 1e-7, "1E-07"},
        {std::numeric_limits<double>::infinity(), "32767", 1.0 / 3, "0.333333333333333"},
    };
    SharedState state;
    InitialiseSharedState(state);
    state.AliasWinWidth = -12;
    state.StepCount = 500000;
    for (const auto& c : cases) {
        state.PeriodMin = c.period;
        Lines lines = SettingsFileLines(state, c.measure, c.measure, PeriodLine::kValueAlone);
        EXPECT_EQ(lines, (Lines{c.measureText, c.measureText, "50", "50", "5055", "14900", "5100", "6700",
                                "5500", "7000", "50", "14950", "6000", "-12", c.periodText, "", "500000"}))
            << c.measure << " " << c.period;
        lines[14] = std::string(",") + c.periodText;
        EXPECT_EQ(SettingsFileLines(state, c.measure, c.measure, PeriodLine::kSecondField), lines)
            << "only the period line differs on closing";
    }
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

class SettingsFileWriteTest : public ::testing::Test {
protected:
    testing::TempFolder temp;
    testing::ScopedCurrentFolder here{temp.Path()};
    const Lines lines = {"5100", "", ",0.2"};
};

int EntryCount(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST_F(SettingsFileWriteTest, ReplacesAnOldFileWholeOrNotAtAll) {
    const std::string old(1000, 'x');
    temp.Write(kSettingsFileName, old);
    {
        ScopedFileSizeLimit full(4);
        EXPECT_EQ(ReplaceTextFile(kSettingsFileName, lines), kErrDiskFull);
    }
    EXPECT_EQ(Contents(kSettingsFileName), old) << "a full disk keeps the old file";
    EXPECT_EQ(EntryCount(temp.Path()), 1) << "and leaves no partial copy";
    ASSERT_EQ(ReplaceTextFile(kSettingsFileName, lines), 0);
    EXPECT_EQ(Contents(kSettingsFileName), "5100\r\n\r\n,0.2\r\n");
    EXPECT_EQ(EntryCount(temp.Path()), 1) << "nothing else is left";
}

TEST_F(SettingsFileWriteTest, AnUnwritableFolderKeepsTheOldFile) {
    temp.Write(kSettingsFileName, "old");
    fs::permissions(temp.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (const int probe = ::open("probe", O_WRONLY | O_CREAT, 0600); probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may write into any folder (run as root)";
    }
    EXPECT_EQ(ReplaceTextFile(kSettingsFileName, lines), kErrPermissionDenied);
    EXPECT_EQ(Contents(kSettingsFileName), "old");
}

} // namespace
} // namespace quorix
