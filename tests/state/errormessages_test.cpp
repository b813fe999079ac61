#include "state/errormessages.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

TEST(ErrorMessagesTest, TableTextsAndTheNumberedFormOfThePrintCommands) {
    std::vector<std::string> table;
    FillErrorMessages(table);
    struct Case {
        int number;
        const char* text;
        const char* numbered;
    };
    const Case cases[] = {
        {0, "", " 0 "},
        {53, "Error: File not found.", " 53 Error: File not found."},
        {9, "Subscript out of range.", " 9 Subscript out of range."},
        {25, "Device fault.", " 25 Device fault."},
        {27, "Error: Out of paper.", " 27 Error: Out of paper."},
        {72, "Error: Disk media error", " 72 Error: Disk media error"},
        {730, "Error: Path access error.", " 730 Error: Path access error."},
        {731, "Error: Path not found.", " 731 Error: Path not found."},
        {482, "", " 482 "},
        {-5, "", "-5 "},
        {1001, "", " 1001 "},
        {1 << 30, "", " 1073741824 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorText(table, c.number), c.text) << c.number;
        EXPECT_EQ(NumberedErrorMessage(table, c.number), c.numbered) << c.number;
    }
    int withoutPrefix = 0;
    for (const auto& text : table) {
        withoutPrefix += !text.empty() && text.rfind("Error: ", 0) != 0;
    }
    EXPECT_EQ(withoutPrefix, 4) << "7, 9, 24 and 25 carry no prefix";
}

} // namespace
} // namespace quorix
