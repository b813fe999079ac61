#include "cli/plotcurve.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorix::cli {
namespace {

TEST(PlotCurveTest, KeepsSmallGridsWholeAndEachColumnsExtremesOfLongOnes) {
    PlotCurve whole(5, 10, 2);
    whole.Add(0, std::vector<double>{0.5, 0.4});
    whole.Add(2, std::vector<double>{0.3, 0.9, 0.1});
    EXPECT_FALSE(whole.Reduced());
    EXPECT_EQ(whole.Values(), (std::vector<double>{0.5, 0.4, 0.3, 0.9, 0.1}));
    // Twelve points in three columns of four: each column gives its extremes in grid order, and a
    // column whose extremes are one point gives it once.
    PlotCurve reduced(12, 10, 3);
    reduced.Add(0, std::vector<double>{0.5, 0.9, 0.2, 0.6, 0.7});
    reduced.Add(5, std::vector<double>{0.1, 0.8, 0.3, 0.4, 0.4, 0.4, 0.4});
    EXPECT_TRUE(reduced.Reduced());
    EXPECT_EQ(reduced.Values(), (std::vector<double>{0.9, 0.2, 0.1, 0.8, 0.4}));
}

} // namespace
} // namespace quorix::cli
