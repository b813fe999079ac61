#include "platform/textfile.h"

#include "support/currentfolder.h"
#include "support/filecontents.h"
#include "support/scopedcurrentfolder.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorix {
namespace {

namespace fs = std::filesystem;

using testing::Contents;
using testing::CurrentFolder;

class TextFileTest : public ::testing::Test {
protected:
    testing::TempFolder temp;
    testing::ScopedCurrentFolder here{temp.Path()};
};

TEST_F(TextFileTest, RealEntriesOpenOrGiveTheirErrorNumbers) {
    temp.Write("data.txt", "12");
    fs::create_directory("sub folder é");
    fs::create_symlink("gone.txt", "dangling");
    fs::create_symlink("loop", "loop");
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    const std::pair<std::string, int> opened[] = {
        {"data.txt", 0},
        {"sub folder é/../data.txt", 0},
        {"missing.txt", 53},
        {"", 53},
        {"dangling", 53},
        {"nowhere/data.txt", 76},
        {"data.txt/x", 76},
        {"sub folder é", 75},
        {"loop", 75},
        {"pipe", 75},
        {std::string(5000, 'n'), 64},
    };
    for (const auto& [name, number] : opened) {
        EXPECT_EQ(InputFile(name).Error(), number) << name.substr(0, 40);
    }
    EXPECT_EQ(InputFile("missing.txt").Next(), InputFile::kEnd);

    for (const char* folder : {"no such folder", "data.txt", ""}) {
        EXPECT_EQ(ChangeCurrentFolder(folder), 76) << folder;
    }
    EXPECT_EQ(fs::path(CurrentFolder()), temp.Path()) << "a failure stays where it was";
    EXPECT_EQ(ChangeCurrentFolder("sub folder é"), 0);
    EXPECT_EQ(fs::path(CurrentFolder()), temp.Path() / "sub folder é");
}

TEST_F(TextFileTest, DeniedEntriesGiveErrorSeventyAndKeepTheOldFile) {
    temp.Write("secret.txt", "1");
    fs::create_directory("shut");
    fs::create_directory("read only");
    temp.Write("read only/Quorix15.ini", "old");
    fs::permissions("secret.txt", fs::perms::none);
    fs::permissions("shut", fs::perms::none);
    fs::permissions("read only", fs::perms::owner_read | fs::perms::owner_exec);
    if (const int probe = ::open("secret.txt", O_RDONLY); probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may read any file (run as root), so nothing can be denied";
    }
    EXPECT_EQ(InputFile("secret.txt").Error(), 70);
    EXPECT_EQ(ChangeCurrentFolder("shut"), 70);
    EXPECT_EQ(ReplaceTextFile("shut/out.ini", {"1"}), 70);
    EXPECT_EQ(ReplaceTextFile("read only/Quorix15.ini", {"1"}), 70);
    EXPECT_EQ(Contents("read only/Quorix15.ini"), "old");
    fs::permissions("read only", fs::perms::owner_all); // so that the folder can be removed
}

TEST_F(TextFileTest, ReadsEveryByteThroughTheBufferTwice) {
    std::string bytes(200'000, 'a'); // more than one buffer
    bytes[0] = '\0';
    bytes[1] = '\xFF';
    bytes.back() = '\r';
    temp.Write("big.bin", bytes);
    InputFile file("big.bin");
    EXPECT_EQ(file.Next(), 0);
    EXPECT_EQ(file.Peek(), 0xFF);
    for (int pass = 0; pass < 2; ++pass) {
        file.Rewind();
        std::string read;
        for (int c = file.Next(); c != InputFile::kEnd; c = file.Next()) {
            read += static_cast<char>(c);
        }
        EXPECT_EQ(read, bytes) << "pass " << pass;
        EXPECT_EQ(file.Peek(), InputFile::kEnd);
    }
    EXPECT_EQ(file.Error(), 0);
}

TEST_F(TextFileTest, WritesLinesEndedByCrLfAndReplacesAFileWholeOrNotAtAll) {
    const std::vector<std::string> lines = {" 50", "", "0.2"};
    const std::string old(100, 'x');
    temp.Write("Quorix15.ini", old);
    // A write past 4 bytes fails as on a full disk, whoever runs the test.
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit full{4, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &full);
    const int replaced = ReplaceTextFile("Quorix15.ini", lines);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(replaced, 61);
    EXPECT_EQ(Contents("Quorix15.ini"), old) << "a full disk keeps the old file";
    EXPECT_EQ(ReplaceTextFile("Quorix15.ini", lines), 0);
    fs::create_directory("folder");
    EXPECT_EQ(ReplaceTextFile("folder", {"1"}), 75);
    EXPECT_EQ(ReplaceTextFile("nowhere/Quorix15.ini", {"1"}), 76);
    EXPECT_EQ(Contents("Quorix15.ini"), " 50\r\n\r\n0.2\r\n") << "the old, longer file is replaced";
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2) << "no copy is left";
}

} // namespace
} // namespace quorix
