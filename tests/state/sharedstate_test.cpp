#include "state/sharedstate.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

TEST(SharedStateTest, StartsFromTheBuiltInDefaultsAndTables) {
    SharedState state;
    InitialiseSharedState(state);
    EXPECT_EQ(state.AliasWinLeft, state.FTWinLeft + state.FTWinWidth) << "the list opens beside the plot";
    EXPECT_EQ(state.StepCount, 10000);
    EXPECT_EQ(state.MarkColour, Rgb(128, 0, 128));
    EXPECT_EQ(state.Pi, 0.0) << "the constants are stored by the first search, not at start";
    EXPECT_EQ(state.DecimalFormats[1], "0.0");
    EXPECT_EQ(state.DecimalFormats[8], "0.00000000");
    EXPECT_EQ(state.DecimalFormats[9], "");
    const std::size_t lengths[] = {758, 556, 760, 471};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(state.HelpParagraphs[k].size(), lengths[k - 1]) << k;
    }
    EXPECT_NE(state.HelpParagraphs[1].find("HJDi.   (Function"), std::string::npos);
    EXPECT_NE(state.HelpParagraphs[1].find("points.)   Thus"), std::string::npos);
}

} // namespace
} // namespace quorix
