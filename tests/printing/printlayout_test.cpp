#include "printing/printlayout.h"

#include <gtest/gtest.h>

#include <array>

namespace quorix {
namespace {

TEST(PrintLayoutTest, TheListIsLinesOneToTheCountHeldToTheTableFiveDownAndNineteenIn) {
    SharedState state;
    for (int i = 0; i <= kMaxAliasLines; ++i) {
        state.AliasLines[i] = "line " + std::to_string(i);
    }
    const struct {
        int count;
        std::size_t expected;
    } cases[] = {{0, 0}, {3, 3}, {kMaxAliasLines, kMaxAliasLines}, {-4, 0}, {500, kMaxAliasLines}};
    for (const auto& c : cases) {
        state.AliasLineCount = static_cast<std::int16_t>(c.count);
        const auto lines = AliasLineSpan(state);
        ASSERT_EQ(lines.size(), c.expected) << c.count;
        if (!lines.empty()) {
            EXPECT_EQ(lines.front(), "line 1") << "entry 0 is not a line";
            EXPECT_EQ(lines.back(), "line " + std::to_string(c.expected));
        }
    }
    const std::array<std::string, 3> lines{" For Trial", "", "  0.333333"};
    const std::string in(19, ' ');
    EXPECT_EQ(AliasPrintLines(lines),
              (std::vector<std::string>{"", "", "", "", "", in + " For Trial", in, in + "  0.333333"}));
    EXPECT_EQ(AliasPrintLines({}).size(), 5u) << "an empty list still feeds the five lines";
}

TEST(PrintLayoutTest, ThePrinterNamedIsTheLastWhoseUpperCaseMatches) {
    const std::vector<std::string> names{"Office", "laser", "LASER", "Laser"};
    const struct {
        std::string wanted;
        std::optional<std::size_t> found;
    } cases[] = {
        {"LASER", 3},             // three match: the last wins
        {"OFFICE", 0},            // found in any case
        {"Office", std::nullopt}, // the name searched for is compared as given, in upper case
        {"LASERJET", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LastPrinterNamed(names, c.wanted), c.found) << c.wanted;
    }
}

} // namespace
} // namespace quorix
