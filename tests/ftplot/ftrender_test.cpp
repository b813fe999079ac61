#include "ftplot/ftrender.h"

#include "ftplot/AxisStep.h"
#include "support/drawingops.h"
#include "support/fakeplotview.h"
#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace quorix {
namespace {

using testing::FakePlotView;
using testing::Polylines;

SharedState Searched(double pMin = 0.2, double pMax = 1.2) {
    SharedState state;
    testing::FillSearched(state, pMin, pMax);
    return state;
}

TEST(AxisStepTest, FollowsTheSinglePrecisionRuleAndIsTotal) {
    // 1.0 and 0.1 fall in the decade below by the 2.302585 divisor, and 10^-1 held in single precision
    // is a little above 0.1, which decides 0.5. A span that is not a positive finite number has no step,
    // and a zero step takes the most decimals.
    const std::tuple<double, float, int> cases[] = {
        {0.8, 0.1f, 1}, {1.0, 0.2f, 1},          {0.1, 0.01f, 2}, {0.3, 0.05f, 2},    {0.15, 0.02f, 2},
        {8.0, 1.0f, 1}, {0.00003, 0.000005f, 6}, {37.0, 5.0f, 1}, {0.5, 0.05f, 2},    {4e-9, 5e-10f, 7},
        {0.0, 0.0f, 7}, {-1.0, 0.0f, 7},         {NAN, 0.0f, 7},  {HUGE_VAL, 0.0f, 7}};
    for (const auto& [span, step, decimals] : cases) {
        EXPECT_FLOAT_EQ(AxisStep(span), step) << span;
        EXPECT_EQ(AxisLabelDecimals(AxisStep(span)), decimals) << span;
    }
    EXPECT_EQ(AxisLabelDecimals(std::nanf("")), 1);
    EXPECT_EQ(AxisLabelDecimals(-0.5f), 1);
    EXPECT_FALSE(ChooseFTTicks(0.500009, 0.5)) << "narrower than 0.00001 days";
    EXPECT_FALSE(ChooseFTTicks(std::nan(""), 0.5));
}

TEST(RedrawFTPlotTest, ViewsAreTickedLabelledAndDrawnOncePerIndex) {
    const struct {
        const char* name;
        double pMin, pMax;
        int start, end; // the view's grid indices before the redraw
        char separator;
        std::size_t ticks;
        const char *longest, *shortest, *interval;
        int shownStart, shownEnd; // the view drawn
    } cases[] = {
        {"full, 0.2 to 1.2", 0.2, 1.2, 1, 1000, '.', 5, "1.0", "0.2", "0.2", 1, 1000},
        {"full, 0.2 to 1.0", 0.2, 1.0, 1, 1000, ',', 8, "0,9", "0,2", "0,1", 1, 1000},
        // 0.8 d down to 0.48 d: 0.8 holds just under 16 steps of the single-precision 0.05.
        {"zoomed", 0.2, 1.2, 100, 300, '.', 6, "0.75", "0.50", "0.05", 100, 300},
        {"collapsed zoom", 0.2, 1.2, 500, 500, '.', 5, "1.0", "0.2", "0.2", 1, 1000},
        {"zoom too narrow", 1.0, 1.001, 500, 501, '.', 10, "1.0010", "1.0001", "0.0001", 1, 1000},
        {"full range too narrow", 0.5, 0.500005, 1, 1000, '.', 0, "", "", "", 1, 1000},
        // Every tick, 100 d down to 10 d, crowds at the left: the right label names the right edge.
        {"wide", 0.05, 100, 1, 1000, '.', 10, "100.0", "0.050", "10.0", 1, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state = Searched(c.pMin, c.pMax);
        if (c.start != 1) {
            state.ViewStartIndex = c.start;
            state.ViewEndIndex = c.end;
            state.ViewOmegaStart = state.OmegaLow + c.start * state.OmegaStep;
            state.ViewOmegaEnd = state.OmegaLow + c.end * state.OmegaStep;
        }
        FakePlotView view;
        view.separator = c.separator;
        RedrawFTPlot(state, view);
        // The x of every tick under the frame.
        const auto ticks = testing::LineXs(
            view.drawing, [&](const DrawOp& op) { return op.from.y == state.PlotBottom + 100; });
        EXPECT_EQ(ticks.size(), c.ticks);
        EXPECT_TRUE(std::is_sorted(ticks.begin(), ticks.end())) << "longest period on the left";
        EXPECT_EQ(std::tie(view.captions[FTControl::kLabel1], view.captions[FTControl::kLabel2],
                           view.captions[FTControl::kLabel5]),
                  std::make_tuple(c.longest, c.shortest, c.interval));
        if (c.ticks > 0) {
            EXPECT_GE(view.lefts[FTControl::kLabel2], view.lefts[FTControl::kLabel1] + 975)
                << "the end labels never print over each other";
        }
        EXPECT_DOUBLE_EQ(view.tops[FTControl::kCommand1], 3755) << "the controls are placed in any case";
        EXPECT_EQ(std::tie(state.ViewStartIndex, state.ViewEndIndex), std::tie(c.shownStart, c.shownEnd));
        const auto curves = Polylines(view.drawing);
        ASSERT_EQ(curves.size(), 1u) << "one full redraw per event";
        const auto& points = curves.front();
        ASSERT_EQ(points.size(), static_cast<std::size_t>(c.shownEnd - c.shownStart + 1));
        EXPECT_FLOAT_EQ(points.front().x, 500);
        EXPECT_FLOAT_EQ(points.back().x, 14485);
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_NEAR(points[i].y, FTValueToPlotY(state, state.FTValues[c.shownStart + i]), 0.001) << i;
        }
    }
}

TEST(DrawFTAxesTest, FrameAndMarksFollowTheWindowWhoseSizeIsHeldInSixteenBits) {
    SharedState state = Searched();
    FakePlotView view;
    ASSERT_TRUE(DrawFTAxes(state, view));
    EXPECT_EQ(std::tie(state.PlotLeft, state.PlotRight, state.PlotTop, state.PlotBottom),
              std::make_tuple(500, 14485, 242, 3205));
    const auto& ops = view.drawing.Ops();
    EXPECT_EQ(state.FTRedrawing, kTrue) << "only a drawn curve ends the redraw";

    // Alias marks stand strictly inside the view: none at its longest period 1.2 d, none beyond.
    const std::size_t before = ops.size();
    state.AliasCount = 3;
    state.AliasPeriods[1].Period = 0.5f;
    state.AliasPeriods[2].Period = 1.2f;
    state.AliasPeriods[3].Period = 5.0f;
    DrawAliasMarks(state, view, state.MarkColour);
    ASSERT_EQ(ops.size(), before + 2);
    const auto x = static_cast<float>(std::nearbyint(OmegaToPlotX(state, state.TwoPi / 0.5f)));
    EXPECT_EQ(std::tie(ops[before].colour, ops[before].from, ops[before].to),
              std::make_tuple(Rgb(128, 0, 128), TwipPoint{x, 242}, TwipPoint{x, 242 + 900}));

    view.width = 1e9;
    view.height = -1e9;
    RedrawFTPlot(state, view);
    EXPECT_EQ(std::tie(state.FTWinWidth, state.FTWinHeight), std::make_tuple(32767, -32768));
}

TEST(DrawFTCurveTest, NeverReadsBeyondTheGridAndLeavesOutValuesThatAreNotNumbers) {
    SharedState state = Searched();
    state.StepCount = 500001; // a rejected entry stored by a later search
    FakePlotView view;
    ASSERT_TRUE(DrawFTAxes(state, view));
    DrawFTCurve(state, view, 1, 2000000000);
    EXPECT_EQ(Polylines(view.drawing).back().size(), 1000u);

    state.FTValues[1] = std::nan("");
    state.FTValues[500] = HUGE_VAL;
    RedrawFTPlot(state, view);
    std::size_t points = 0;
    for (const auto& curve : Polylines(view.drawing)) {
        for (const TwipPoint& p : curve) {
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        }
        points += curve.size();
    }
    EXPECT_EQ(points, 998u) << "every finite value is still drawn";
}

} // namespace
} // namespace quorix
