#include "state/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace quorix {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

TEST(NumberTextTest, FixedDecimalsRoundTheFifteenDigitFormHalfAwayFromZero) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {0.25, "0.0", "0.3"},
        {-0.25, "0.0", "-0.3"},
        {2.675, "0.00", "2.68"}, // binary 2.67499999... is 2.675 at 15 digits
        {9.99, "0.0", "10.0"},
        {-0.04, "0.0", "0.0"}, // no negative zero
        {0.000004, "0.00000", "0.00000"},
        {0.000005, "0.00000", "0.00001"},
        {1e-300, "0.00", "0.00"},
        {1e20, "0.0", "100000000000000000000.0"},
        {kInf, "0.00", "Infinity"},
        {0.5, "", "1"},
    };
    for (const auto& [value, pattern, text] : cases) {
        EXPECT_EQ(FormatPattern(value, pattern), text) << value << " " << pattern;
    }
    EXPECT_EQ(FormatPattern(2452345.6789, "0.00", ','), "2452345,68") << "the regional decimal separator";
    EXPECT_EQ(FormatFixed(-0.95, 1, ','), "-1,0");
}

TEST(NumberTextTest, ShortTextHasFifteenDigitsNoLeadingZeroAndAnExponentAtTheEnds) {
    const std::pair<double, const char*> cases[] = {
        {-0.5, "-.5"},
        {1.0 / 3.0, ".333333333333333"},
        {0.1 + 0.2, ".3"},
        {2452345.6789, "2452345.6789"},
        {0.00001, ".00001"},
        {0.0000015, "1.5E-06"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {-2.5e-300, "-2.5E-300"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(ShortNumberText(value), text) << value;
    }
    // Where a sign would stand, the blank is written on request.
    EXPECT_EQ(ShortNumberText(0.5234567891, SignBlank::kWrite), " .5234567891");
    EXPECT_EQ(ShortNumberText(0.0, SignBlank::kWrite), " 0");
    EXPECT_EQ(ShortNumberText(kInf, SignBlank::kWrite), " Infinity");
}

TEST(NumberTextTest, ReadingTakesTheLongestLeadingNumberOrZeroAndNeverTraps) {
    // The point is the only decimal separator; no hexadecimal, no words.
    const std::pair<std::string, double> cases[] = {
        {"  0.3abc", 0.3},
        {"+.5", 0.5},
        {"2.5E-1x", 0.25},
        {"7e+", 7.0},
        {"1,5", 1.0},
        {"", 0},
        {"inf", 0},
        {"0x10", 0},
        {"1e-400", 0},
        {"0.000e99999", 0},
        {std::string(10000, '0') + "1.5", 1.5},
        {"0." + std::string(1000000, '3'), 1.0 / 3.0},
        {"1e99999999999999999999", kInf},
        {std::string(1000000, '9'), kInf},
        {"-1e400", -kInf},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(ReadLeadingNumber(text), value) << text.substr(0, 20);
    }
}

TEST(NumberTextTest, RoundingHalvesToEvenAndReportsTheRangeInsteadOfWrapping) {
    const std::pair<double, std::optional<std::int32_t>> cases[] = {
        {999.5, 1000},      {1000.5, 1000}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {2147483647.4, 2147483647},
        {2147483647.5, {}}, {1e12, {}},     {kNaN, {}}, {kInf, {}},
    };
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundToInt32(value), rounded) << value;
    }
    EXPECT_EQ(RoundToInt16(-32768.0), -32768);
    EXPECT_FALSE(RoundToInt16(32767.5).has_value());
    EXPECT_EQ(RoundClampInt16(-1e9), -32768) << "held to the range";
}

} // namespace
} // namespace quorix
