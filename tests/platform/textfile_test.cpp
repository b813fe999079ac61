#include "platform/textfile.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace quorix {
namespace {

namespace fs = std::filesystem;

class TextFileTest : public ::testing::Test {
protected:
    TextFileTest() { fs::current_path(temp.Path()); }
    ~TextFileTest() override { fs::current_path(start); }

    fs::path start = fs::current_path();
    testing::TempFolder temp;
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

TEST_F(TextFileTest, PermissionDenied) {
    temp.Write("secret.txt", "1");
    fs::permissions("secret.txt", fs::perms::none);
    if (const int probe = ::open("secret.txt", O_RDONLY); probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may read any file (run as root), so it cannot be denied";
    }
    EXPECT_EQ(InputFile("secret.txt").Error(), 70);
    fs::create_directory("locked");
    fs::permissions("locked", fs::perms::none);
    EXPECT_EQ(WriteTextFile("locked/out.ini", {"1"}), 70);
    EXPECT_EQ(ChangeCurrentFolder("locked"), 70);
}

TEST_F(TextFileTest, ReadsEveryByteThroughTheBufferTwice) {
    std::string bytes(200'000, 'a'); // more than one buffer
    bytes[0] = '\0';
    bytes[1] = '\xFF';
    bytes.back() = '\r';
    temp.Write("big.bin", bytes);
    InputFile file("big.bin");
    EXPECT_EQ(file.Peek(), 0);
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

TEST_F(TextFileTest, WritesLinesEndedByCrLfOrGivesTheErrorNumber) {
    temp.Write("Quorix15.ini", std::string(100, 'x'));
    EXPECT_EQ(WriteTextFile("Quorix15.ini", {" 50", "", "0.2"}), 0);
    std::ifstream in("Quorix15.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), " 50\r\n\r\n0.2\r\n")
        << "the old, longer file is replaced";
    fs::create_directory("folder");
    EXPECT_EQ(WriteTextFile("folder", {"1"}), 75);
    EXPECT_EQ(WriteTextFile("nowhere/Quorix15.ini", {"1"}), 76);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(WriteTextFile("/dev/full", {"1"}), 61);
    }
}

} // namespace
} // namespace quorix
