#include "state/errormessages.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

std::vector<std::string> Table() {
    std::vector<std::string> table;
    FillErrorMessages(table);
    return table;
}

TEST(ErrorMessagesTest, TextsAreTheProgramsOwn) {
    const auto table = Table();
    ASSERT_EQ(table.size(), 1001u);
    EXPECT_EQ(ErrorText(table, 0), "");
    EXPECT_EQ(ErrorText(table, 53), "Error: File not found.");
    EXPECT_EQ(ErrorText(table, 62), "Error: Input past end of file.");
    EXPECT_EQ(ErrorText(table, 9), "Subscript out of range.");
    EXPECT_EQ(ErrorText(table, 7), "Out of memory.");
    EXPECT_EQ(ErrorText(table, 24), "Device timeout.");
    EXPECT_EQ(ErrorText(table, 72), "Error: Disk media error");
    EXPECT_EQ(ErrorText(table, 74), "Error: Rename across disks");
    EXPECT_EQ(ErrorText(table, 730), "Error: Path access error.");
    EXPECT_EQ(ErrorText(table, 76 + 655), ErrorText(table, 76));
    EXPECT_EQ(ErrorText(table, 482), "");
}

TEST(ErrorMessagesTest, CountsThirtyTwoTextsOnlyFourWithoutPrefix) {
    const auto table = Table();
    int filled = 0;
    int withoutPrefix = 0;
    for (const auto& text : table) {
        filled += !text.empty();
        withoutPrefix += !text.empty() && text.rfind("Error: ", 0) != 0;
    }
    EXPECT_EQ(filled, 32);
    EXPECT_EQ(withoutPrefix, 4);
}

TEST(ErrorMessagesTest, OutsideTheTableIsEmptyNotAFailure) {
    const auto table = Table();
    EXPECT_EQ(ErrorText(table, -1), "");
    EXPECT_EQ(ErrorText(table, 1001), "");
    EXPECT_EQ(ErrorText(table, 1 << 30), "");
}

TEST(ErrorMessagesTest, NumberedFormOfThePrintCommands) {
    const auto table = Table();
    EXPECT_EQ(NumberedErrorMessage(table, 25), " 25 Device fault.");
    EXPECT_EQ(NumberedErrorMessage(table, 27), " 27 Error: Out of paper.");
    EXPECT_EQ(NumberedErrorMessage(table, 482), " 482 ");
    EXPECT_EQ(NumberedErrorMessage(table, -5), "-5 ");
    EXPECT_EQ(NumberedErrorMessage(table, 5000), " 5000 ");
}

} // namespace
} // namespace quorix
