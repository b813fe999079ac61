#include "platform/textfile.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace quorix {
namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadAll(InputFile& file) {
    std::string bytes;
    for (int c = file.Next(); c != InputFile::kEnd; c = file.Next()) {
        bytes += static_cast<char>(c);
    }
    return bytes;
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        start = std::filesystem::current_path();
        std::filesystem::current_path(temp.Path());
    }
    void TearDown() override { std::filesystem::current_path(start); }

    testing::TempFolder temp;
    std::filesystem::path start;
};

TEST_F(TextFileTest, AMissingEntryIsAFileOrAPathByItsFolder) {
    EXPECT_EQ(ErrorNumberFromErrno(ENOENT, "no-such-file.txt"), 53);
    EXPECT_EQ(ErrorNumberFromErrno(ENOENT, "no-such-folder/file.txt"), 76);
    EXPECT_EQ(ErrorNumberFromErrno(EOPNOTSUPP, "x"), 75) << "anything unforeseen";
}

TEST_F(TextFileTest, OpeningRealEntries) {
    temp.Write("data.txt", "12");
    std::filesystem::create_directory("folder");
    std::filesystem::create_symlink("gone.txt", "dangling");
    std::filesystem::create_symlink("loop", "loop");
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    const std::pair<const char*, int> cases[] = {
        {"data.txt", 0},
        {"missing.txt", 53},
        {"nowhere/data.txt", 76},
        {"data.txt/x", 76},
        {"folder", 75},
        {"dangling", 53},
        {"loop", 75},
        {"pipe", 75},
        {"", 53},
        {"folder/../data.txt", 0},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(InputFile(name).Error(), number) << name;
    }
    InputFile missing("missing.txt");
    EXPECT_EQ(missing.Next(), InputFile::kEnd);
    EXPECT_EQ(InputFile(std::string(5000, 'n')).Error(), 64);
}

TEST_F(TextFileTest, PermissionDenied) {
    temp.Write("secret.txt", "1");
    std::filesystem::permissions("secret.txt", std::filesystem::perms::none);
    if (const int probe = ::open("secret.txt", O_RDONLY); probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may read any file (run as root), so it cannot be denied";
    }
    EXPECT_EQ(InputFile("secret.txt").Error(), 70);
    std::filesystem::create_directory("locked");
    std::filesystem::permissions("locked", std::filesystem::perms::none);
    EXPECT_EQ(WriteTextFile("locked/out.ini", {"1"}), 70);
    EXPECT_EQ(ChangeCurrentFolder("locked"), 70);
}

TEST_F(TextFileTest, ReadsAndRewinds) {
    std::string bytes(200'000, 'a');
    bytes[0] = '\0';
    bytes[1] = '\xFF';
    bytes.back() = '\r';
    temp.Write("big.bin", bytes);
    InputFile file("big.bin");
    ASSERT_EQ(file.Error(), 0);
    EXPECT_EQ(file.Peek(), 0);
    EXPECT_EQ(file.Next(), 0);
    EXPECT_EQ(file.Peek(), 0xFF);
    file.Rewind();
    EXPECT_EQ(ReadAll(file), bytes);
    EXPECT_EQ(file.Peek(), InputFile::kEnd);
    file.Rewind();
    EXPECT_EQ(ReadAll(file), bytes) << "the second pass sees the same bytes";
    EXPECT_EQ(file.Error(), 0);
}

TEST_F(TextFileTest, CurrentFolder) {
    std::filesystem::create_directory("sub folder é");
    temp.Write("plain.txt", "");
    EXPECT_EQ(ChangeCurrentFolder("no such folder"), 76);
    EXPECT_EQ(ChangeCurrentFolder("plain.txt"), 76);
    EXPECT_EQ(ChangeCurrentFolder(""), 76);
    EXPECT_EQ(std::filesystem::path(CurrentFolder()), temp.Path()) << "a failure stays where it was";
    EXPECT_EQ(ChangeCurrentFolder("sub folder é"), 0);
    EXPECT_EQ(std::filesystem::path(CurrentFolder()), temp.Path() / "sub folder é");
}

TEST_F(TextFileTest, WritesLinesEndedByCrLf) {
    temp.Write("Quorix15.ini", std::string(100, 'x'));
    EXPECT_EQ(WriteTextFile("Quorix15.ini", {" 50", "", "0.2"}), 0);
    EXPECT_EQ(Contents("Quorix15.ini"), " 50\r\n\r\n0.2\r\n") << "the old, longer file is replaced";
    EXPECT_EQ(WriteTextFile("none.ini", {}), 0);
    EXPECT_EQ(Contents("none.ini"), "");
    std::filesystem::create_directory("folder");
    EXPECT_EQ(WriteTextFile("folder", {"1"}), 75);
    EXPECT_EQ(WriteTextFile("nowhere/Quorix15.ini", {"1"}), 76);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(WriteTextFile("/dev/full", {"1"}), 61);
    }
}

} // namespace
} // namespace quorix
