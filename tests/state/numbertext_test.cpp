#include "state/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorix {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FormatFixedTest, RoundsTheFifteenDigitFormHalfAwayFromZero) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {0.25, "0.0", "0.3"},
        {-0.25, "0.0", "-0.3"},
        {2.675, "0.00", "2.68"}, // binary 2.67499999... is 2.675 at 15 digits
        {1.005, "0.00", "1.01"},
        {9.99, "0.0", "10.0"},
        {0.2000000029802322, "0.0", "0.2"},
        {0.8555555f, "0.0000000", "0.8555555"},
        {-0.01, "0.000", "-0.010"},
        {2452345.6789, "0.00", "2452345.68"},
        {-0.04, "0.0", "0.0"}, // no negative zero
        {-0.0, "0.000", "0.000"},
        {0.000004, "0.00000", "0.00000"},
        {0.000005, "0.00000", "0.00001"},
        {1e-300, "0.00", "0.00"},
        {1e20, "0.0", "100000000000000000000.0"},
        {kInf, "0.00", "Infinity"},
        {std::nan(""), "0.00", "NaN"},
        {3.14159, "", "3"},
        {0.5, "", "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPattern(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
    }
    EXPECT_EQ(FormatFixed(0.9, 1, ','), "0,9");
}

TEST(ShortNumberTextTest, FifteenDigitsNoLeadingZeroExponentAtTheEnds) {
    struct Case {
        double value;
        SignBlank blank;
        const char* text;
    };
    const Case cases[] = {
        {0.45678912345, SignBlank::kOmit, ".45678912345"},
        {-0.5, SignBlank::kOmit, "-.5"},
        {1.0 / 3.0, SignBlank::kOmit, ".333333333333333"},
        {0.1 + 0.2, SignBlank::kOmit, ".3"},
        {2452345.6789, SignBlank::kOmit, "2452345.6789"},
        {0.0, SignBlank::kOmit, "0"},
        {0.00001, SignBlank::kOmit, ".00001"},
        {0.0000015, SignBlank::kOmit, "1.5E-06"},
        {1e15, SignBlank::kOmit, "1E+15"},
        {123456789012345.0, SignBlank::kOmit, "123456789012345"},
        {-2.5e-300, SignBlank::kOmit, "-2.5E-300"},
        {0.5234567891, SignBlank::kWrite, " .5234567891"},
        {12.3456789, SignBlank::kWrite, " 12.3456789"},
        {-2.0, SignBlank::kWrite, "-2"},
        {0.0, SignBlank::kWrite, " 0"},
        {kInf, SignBlank::kWrite, " Infinity"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortNumberText(c.value, c.blank), c.text) << c.value;
    }
}

TEST(ReadLeadingNumberTest, TakesTheLongestLeadingNumberOrZero) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"  0.3abc", 0.3},
        {"+.5", 0.5},
        {"2.5E-1x", 0.25},
        {"7e+", 7.0},
        {"1,5", 1.0}, // the point is the only decimal separator
        {"12 34", 12.0},
        {"", 0},
        {"-", 0},
        {"+.", 0},
        {"e5", 0},
        {"inf", 0},
        {"0x10", 0},
        {"1e-400", 0},
        {"0.000e99999", 0},
        {std::string(10000, '0') + "1.5", 1.5},
        {"0." + std::string(1000000, '3'), 1.0 / 3.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ReadLeadingNumber(c.text), c.value) << c.text.substr(0, 20);
    }
    for (const std::string& huge :
         {std::string("1e400"), std::string("1e99999999999999999999"), std::string(1000000, '9')}) {
        EXPECT_EQ(ReadLeadingNumber(huge), kInf) << "no trap: " << huge.substr(0, 20);
    }
    EXPECT_EQ(ReadLeadingNumber("-1e400"), -kInf);
}

TEST(RoundingTest, HalvesToEvenRangeReportedNotWrapped) {
    struct Case {
        double value;
        std::optional<std::int32_t> rounded;
    };
    const Case cases[] = {
        {999.5, 1000},      {1000.5, 1000}, {2.5, 2},           {3.5, 4},
        {-2.5, -2},         {-3.5, -4},     {0.5, 0},           {2147483647.4, 2147483647},
        {2147483647.5, {}}, {1e12, {}},     {std::nan(""), {}}, {kInf, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundToInt32(c.value), c.rounded) << c.value;
    }
    EXPECT_EQ(RoundToInt16(-32768.0), -32768);
    EXPECT_FALSE(RoundToInt16(32767.5).has_value());
    EXPECT_EQ(RoundClampInt16(40000.0), 32767);
    EXPECT_EQ(RoundClampInt16(-1e9), -32768);
    EXPECT_EQ(RoundClampInt16(std::nan("")), 0);
    EXPECT_EQ(Int(-0.5), -1.0);
    EXPECT_EQ(Fix(-0.5), 0.0);
}

} // namespace
} // namespace quorix
