#include "state/sharedstate.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

TEST(SharedStateTest, StartsFromTheBuiltInDefaults) {
    SharedState state;
    InitialiseSharedState(state);
    EXPECT_EQ(state.FTWinTop, 50);
    EXPECT_EQ(state.FTWinWidth, 14900);
    EXPECT_EQ(state.FTWinHeight, 5055);
    EXPECT_EQ(state.OCWinLeft, 6700);
    EXPECT_EQ(state.OCWinHeight, 5500);
    EXPECT_EQ(state.AliasWinLeft, state.FTWinLeft + state.FTWinWidth);
    EXPECT_EQ(state.AliasWinWidth, 3600);
    EXPECT_DOUBLE_EQ(state.PeriodMin, 0.2);
    EXPECT_DOUBLE_EQ(state.PeriodMax, 1.0);
    EXPECT_EQ(state.StepCount, 10000);
    EXPECT_EQ(state.MarkColour, Rgb(128, 0, 128));
    EXPECT_EQ(state.MarksShown, kFalse);
    EXPECT_EQ(state.FTComputed, kFalse);
    EXPECT_EQ(state.ObsCount, 0);
    EXPECT_EQ(state.Pi, 0.0) << "the constants are stored by the first search, not at start";
}

TEST(SharedStateTest, HoldsTheFixedCapacities) {
    SharedState state;
    EXPECT_EQ(state.ObsTimes.size(), 501u);
    EXPECT_EQ(state.ObsExtraColumns.size(), 501u);
    EXPECT_EQ(state.FTValues.size(), 500001u);
    EXPECT_EQ(state.AliasPeriods.size(), 101u);
    EXPECT_EQ(state.AliasLines.size(), 201u);
    EXPECT_EQ(state.ErrorMessages.size(), 1001u);
}

TEST(SharedStateTest, DecimalFormatsRunFromOneToEightDecimals) {
    SharedState state;
    InitialiseSharedState(state);
    EXPECT_EQ(state.DecimalFormats[0], "");
    EXPECT_EQ(state.DecimalFormats[1], "0.0");
    EXPECT_EQ(state.DecimalFormats[8], "0.00000000");
    EXPECT_EQ(state.DecimalFormats[9], "");
    EXPECT_EQ(state.DecimalFormats[10], "");
}

TEST(SharedStateTest, HelpParagraphsHaveTheirKnownLengths) {
    SharedState state;
    InitialiseSharedState(state);
    EXPECT_EQ(state.HelpParagraphs[1].size(), 758u);
    EXPECT_EQ(state.HelpParagraphs[2].size(), 556u);
    EXPECT_EQ(state.HelpParagraphs[3].size(), 760u);
    EXPECT_EQ(state.HelpParagraphs[4].size(), 471u);
    EXPECT_NE(state.HelpParagraphs[1].find("HJDi.   (Function"), std::string::npos);
    EXPECT_NE(state.HelpParagraphs[1].find("points.)   Thus"), std::string::npos);
    EXPECT_TRUE(state.HelpParagraphs[5].empty());
}

} // namespace
} // namespace quorix
