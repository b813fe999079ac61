#include "state/settingsfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace quorix {
namespace {

using Lines = std::vector<std::string>;

TEST(SettingsFileLinesTest, EachNumberIsWrittenOnItsLineAsTheFileHoldsIt) {
    const std::tuple<double, const char*, double, const char*> cases[] = {
        {1234.5, "1234", 0.2, "0.2"},   // halves go to the even neighbour
        {40000, "32767", -0.5, "-0.5"}, // window measures are held to 16 bits
        {std::nan(""), "0", 1e-7, "1E-07"},
    };
    SharedState state;
    InitialiseSharedState(state);
    state.AliasWinWidth = -12;
    state.StepCount = 500000;
    for (const auto& [measure, measureText, period, periodText] : cases) {
        state.PeriodMin = period;
        Lines lines = SettingsFileLines(state, measure, measure, PeriodLine::kValueAlone);
        EXPECT_EQ(lines, (Lines{measureText, measureText, "50", "50", "5055", "14900", "5100", "6700", "5500",
                                "7000", "50", "14950", "6000", "-12", periodText, "", "500000"}))
            << measure << " " << period;
        lines[14] = std::string(",") + periodText;
        EXPECT_EQ(SettingsFileLines(state, measure, measure, PeriodLine::kSecondField), lines)
            << "only the period line differs on closing";
    }
}

} // namespace
} // namespace quorix
