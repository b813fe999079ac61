#include "state/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorix {
namespace {

TEST(FormatFixedTest, RoundsTheFifteenDigitFormHalfAwayFromZero) {
    EXPECT_EQ(FormatPattern(0.9, "0.0"), "0.9");
    EXPECT_EQ(FormatFixed(0.25, 1), "0.3");
    EXPECT_EQ(FormatFixed(-0.25, 1), "-0.3");
    EXPECT_EQ(FormatFixed(2.675, 2), "2.68") << "binary 2.67499999... is 2.675 at 15 digits";
    EXPECT_EQ(FormatFixed(1.005, 2), "1.01");
    EXPECT_EQ(FormatFixed(9.99, 1), "10.0");
    EXPECT_EQ(FormatFixed(999.9999, 3), "1000.000");
    EXPECT_EQ(FormatFixed(0.2000000029802322, 1), "0.2");
    EXPECT_EQ(FormatPattern(0.7096774f, "0.0000000"), "0.7096774");
    EXPECT_EQ(FormatPattern(0.8555555f, "0.0000000"), "0.8555555");
    EXPECT_EQ(FormatPattern(1.1, "0.000000"), "1.100000");
    EXPECT_EQ(FormatPattern(-0.01, "0.000"), "-0.010");
    EXPECT_EQ(FormatPattern(2452345.6789, "0.00"), "2452345.68");
}

TEST(FormatFixedTest, NoNegativeZeroAndAlwaysAnIntegerDigit) {
    EXPECT_EQ(FormatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(FormatFixed(-0.0, 3), "0.000");
    EXPECT_EQ(FormatFixed(0.0, 8), "0.00000000");
    EXPECT_EQ(FormatFixed(0.000004, 5), "0.00000");
    EXPECT_EQ(FormatFixed(0.000005, 5), "0.00001");
    EXPECT_EQ(FormatFixed(1e-300, 2), "0.00");
    EXPECT_EQ(FormatFixed(0.05, 0), "0");
    EXPECT_EQ(FormatFixed(0.5, 0), "1");
}

TEST(FormatFixedTest, RegionalSeparatorAndExtremeValues) {
    EXPECT_EQ(FormatFixed(0.9, 1, ','), "0,9");
    EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2), "Infinity");
    EXPECT_EQ(FormatFixed(std::nan(""), 2), "NaN");
    EXPECT_EQ(FormatPattern(3.14159, ""), "3");
}

TEST(ShortNumberTextTest, FifteenDigitsNoLeadingZero) {
    EXPECT_EQ(ShortNumberText(0.45678912345), ".45678912345");
    EXPECT_EQ(ShortNumberText(0.5), ".5");
    EXPECT_EQ(ShortNumberText(-0.5), "-.5");
    EXPECT_EQ(ShortNumberText(1.2345678), "1.2345678");
    EXPECT_EQ(ShortNumberText(500), "500");
    EXPECT_EQ(ShortNumberText(1.0 / 3.0), ".333333333333333");
    EXPECT_EQ(ShortNumberText(0.1 + 0.2), ".3");
    EXPECT_EQ(ShortNumberText(2452345.6789), "2452345.6789");
    EXPECT_EQ(ShortNumberText(0.0523456789), ".0523456789");
    EXPECT_EQ(ShortNumberText(0.0), "0");
}

TEST(ShortNumberTextTest, BlankInPlaceOfTheSign) {
    EXPECT_EQ(ShortNumberText(0.5234567891, SignBlank::kWrite), " .5234567891");
    EXPECT_EQ(ShortNumberText(12.3456789, SignBlank::kWrite), " 12.3456789");
    EXPECT_EQ(ShortNumberText(-2.0, SignBlank::kWrite), "-2");
    EXPECT_EQ(ShortNumberText(0.0, SignBlank::kWrite), " 0");
}

TEST(ShortNumberTextTest, ExponentFormForVerySmallAndLarge) {
    EXPECT_EQ(ShortNumberText(0.00001), ".00001");
    EXPECT_EQ(ShortNumberText(0.0000015), "1.5E-06");
    EXPECT_EQ(ShortNumberText(1e15), "1E+15");
    EXPECT_EQ(ShortNumberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(ShortNumberText(-2.5e-300), "-2.5E-300");
    EXPECT_EQ(ShortNumberText(std::numeric_limits<double>::infinity(), SignBlank::kWrite), " Infinity");
}

TEST(ReadLeadingNumberTest, TakesTheLongestLeadingNumber) {
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("0.20"), 0.2);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("  0.3abc"), 0.3);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("-5"), -5.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("2.5E-1x"), 0.25);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("7e"), 7.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("7e+"), 7.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("1,5"), 1.0) << "the point is the only decimal separator";
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("12 34"), 12.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("1000.5"), 1000.5);
}

TEST(ReadLeadingNumberTest, TextWithoutANumberReadsAsZero) {
    for (const char* text : {"", " ", "abc", "-", ".", "+.", "e5", "inf", "nan", "0x10"}) {
        EXPECT_EQ(ReadLeadingNumber(text), 0.0) << text;
    }
}

TEST(ReadLeadingNumberTest, NoTrapOnHugeOrLongInput) {
    EXPECT_TRUE(std::isinf(ReadLeadingNumber("1e400")));
    EXPECT_TRUE(std::isinf(ReadLeadingNumber("-1e400")));
    EXPECT_EQ(ReadLeadingNumber("1e-400"), 0.0);
    EXPECT_TRUE(std::isinf(ReadLeadingNumber("1e99999999999999999999")));
    EXPECT_EQ(ReadLeadingNumber("0.000e99999"), 0.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(std::string(10000, '0') + "1.5"), 1.5);
    EXPECT_TRUE(std::isinf(ReadLeadingNumber(std::string(1000000, '9'))));
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("0." + std::string(1000000, '3')), 1.0 / 3.0);
}

TEST(RoundingTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundToInt32(999.5), 1000);
    EXPECT_EQ(RoundToInt32(1000.5), 1000);
    EXPECT_EQ(RoundToInt32(1000.4), 1000);
    EXPECT_EQ(RoundToInt32(2.5), 2);
    EXPECT_EQ(RoundToInt32(3.5), 4);
    EXPECT_EQ(RoundToInt32(-2.5), -2);
    EXPECT_EQ(RoundToInt32(-3.5), -4);
    EXPECT_EQ(RoundToInt32(0.5), 0);
    EXPECT_EQ(RoundToInt16(14899.6), 14900);
}

TEST(RoundingTest, RangeIsReportedNotWrapped) {
    EXPECT_FALSE(RoundToInt32(1e12).has_value());
    EXPECT_FALSE(RoundToInt32(std::nan("")).has_value());
    EXPECT_FALSE(RoundToInt32(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(RoundToInt32(2147483647.5).has_value());
    EXPECT_EQ(RoundToInt16(-32768.0), -32768);
    EXPECT_FALSE(RoundToInt16(32767.5).has_value());
    EXPECT_EQ(RoundClampInt16(40000.0), 32767);
    EXPECT_EQ(RoundClampInt16(-1e9), -32768);
    EXPECT_EQ(RoundClampInt16(std::nan("")), 0);
}

TEST(RoundingTest, IntRoundsDownFixTruncates) {
    EXPECT_EQ(Int(-0.5), -1.0);
    EXPECT_EQ(Fix(-0.5), 0.0);
    EXPECT_EQ(Int(2.9), 2.0);
    EXPECT_EQ(Fix(-2.9), -2.0);
}

} // namespace
} // namespace quorix
