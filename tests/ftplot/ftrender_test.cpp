#include "ftplot/ftrender.h"

#include "support/fakeplotview.h"
#include "ftplot/AxisStep.h"
#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorix {
namespace {

using testing::FakePlotView;

SharedState SearchedState(double pMin, double pMax, int steps) {
    SharedState state;
    testing::FillSearched(state, pMin, pMax, steps);
    return state;
}

std::vector<float> TickXs(const DisplayList& drawing, const SharedState& state) {
    std::vector<float> xs;
    for (const auto& op : drawing.Ops()) {
        if (op.kind == DrawKind::kLine && op.from.y == state.PlotBottom + 100) {
            xs.push_back(op.from.x);
        }
    }
    return xs;
}

TEST(AxisStepTest, FollowsTheSinglePrecisionRuleAndIsTotal) {
    struct Case {
        double span;
        float step;
        int decimals;
    };
    const Case cases[] = {
        {0.8, 0.1f, 1},
        {1.0, 0.2f, 1}, // 1.0 sits in the decade below by the 2.302585 divisor
        {0.3, 0.05f, 2},
        {0.15, 0.02f, 2},
        {8.0, 1.0f, 1},
        {0.00003, 0.000005f, 6},
        {37.0, 5.0f, 1},
        {0.5, 0.05f, 2}, // 10^-1 in single precision is a little above 0.1
        {0.000000004, 0.0000000005f, 7},
        {0.0, 0.0f, 7}, // no span: no step, and a zero step takes the most decimals
        {-1.0, 0.0f, 7},
        {std::nan(""), 0.0f, 7},
        {HUGE_VAL, 0.0f, 7},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(AxisStep(c.span), c.step) << c.span;
        EXPECT_EQ(AxisLabelDecimals(AxisStep(c.span)), c.decimals) << c.span;
    }
    EXPECT_EQ(AxisLabelDecimals(std::nanf("")), 1);
    EXPECT_EQ(AxisLabelDecimals(-0.5f), 1);
}

TEST(FTTicksTest, KnownViews) {
    const double twoPi = 3.1415926535 * 2;
    auto ticks = ChooseFTTicks(twoPi / (twoPi / 1.0), twoPi / (twoPi / 0.2));
    ASSERT_TRUE(ticks);
    EXPECT_FLOAT_EQ(ticks->interval, 0.1f);
    EXPECT_EQ(ticks->first, 9) << "1 / T is just below 10";
    EXPECT_EQ(ticks->last, 2);
    ticks = ChooseFTTicks(twoPi / (twoPi / 1.2), twoPi / (twoPi / 0.2));
    ASSERT_TRUE(ticks);
    EXPECT_FLOAT_EQ(ticks->interval, 0.2f);
    EXPECT_EQ(ticks->first, 5);
    EXPECT_EQ(ticks->last, 1);
    EXPECT_FALSE(ChooseFTTicks(0.500009, 0.5)) << "narrower than 0.00001 days";
    EXPECT_FALSE(ChooseFTTicks(std::nan(""), 0.5));
}

TEST(DrawFTAxesTest, DefaultWindowFrameTicksAndLabels) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    FakePlotView view;
    ASSERT_TRUE(DrawFTAxes(state, view));
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(state.PlotLeft, 500);
    EXPECT_EQ(state.PlotRight, 14485);
    EXPECT_EQ(state.PlotTop, 242);
    EXPECT_EQ(state.PlotBottom, 3205);
    const auto& ops = view.drawing.Ops();
    ASSERT_GE(ops.size(), 4u);
    EXPECT_EQ(ops[0].from, (TwipPoint{500, 242}));
    EXPECT_EQ(ops[0].to, (TwipPoint{14485, 242}));
    EXPECT_EQ(ops[3].to, (TwipPoint{500, 242}));
    EXPECT_EQ(TickXs(view.drawing, state).size(), 5u) << "ticks at 1.0, 0.8, 0.6, 0.4, 0.2";
    EXPECT_EQ(view.captions[FTControl::kLabel1], "1.0");
    EXPECT_EQ(view.captions[FTControl::kLabel2], "0.2");
    EXPECT_EQ(view.captions[FTControl::kLabel5], "0.2");
    EXPECT_DOUBLE_EQ(view.tops[FTControl::kLabel1], 3355);
    EXPECT_DOUBLE_EQ(view.tops[FTControl::kLabel4], 3755);
    EXPECT_DOUBLE_EQ(view.tops[FTControl::kText1], 3955);
    EXPECT_DOUBLE_EQ(view.tops[FTControl::kCommand1], 3755);
    EXPECT_NEAR(view.lefts[FTControl::kLabel2], 14485 - 200, 0.01) << "0.2 d is the right edge";
    EXPECT_EQ(state.FTRedrawing, kTrue) << "only a drawn curve ends the redraw";
}

TEST(DrawFTAxesTest, ZoomedViewPutsItsEndIndicesOnTheEdgesAndTicksTheSubRange) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    const double span = state.OmegaHigh - state.OmegaLow;
    state.ViewStartIndex = 100;
    state.ViewEndIndex = 300;
    state.ViewOmegaStart = state.OmegaLow + span * 0.1;
    state.ViewOmegaEnd = state.OmegaLow + span * 0.3;
    FakePlotView view;
    RedrawFTPlot(state, view);
    const auto points = view.drawing.PolylinePoints(view.drawing.Ops().back());
    ASSERT_EQ(points.size(), 201u);
    EXPECT_FLOAT_EQ(points.front().y, FTValueToPlotY(state, state.FTValues[100]));
    EXPECT_FLOAT_EQ(points.back().x, 14485);
    EXPECT_FLOAT_EQ(points.back().y, FTValueToPlotY(state, state.FTValues[300]));
    // The view runs from 0.8 d down to 0.48 d; 0.8 holds just under 16 steps of the single-precision
    // 0.05, so the ticks run from 0.75 to 0.50.
    EXPECT_EQ(view.captions[FTControl::kLabel1], "0.75");
    EXPECT_EQ(view.captions[FTControl::kLabel2], "0.50");
    EXPECT_EQ(view.captions[FTControl::kLabel5], "0.05");
    EXPECT_EQ(TickXs(view.drawing, state).size(), 6u);
}

TEST(DrawFTAxesTest, LabelsFollowTheRegionalSeparatorAndTheSpan) {
    SharedState state = SearchedState(0.2, 1.0, 1000);
    FakePlotView view;
    view.separator = ',';
    ASSERT_TRUE(DrawFTAxes(state, view));
    EXPECT_EQ(TickXs(view.drawing, state).size(), 8u) << "0.9 down to 0.2, none at 1.0";
    EXPECT_EQ(view.captions[FTControl::kLabel1], "0,9");
    EXPECT_EQ(view.captions[FTControl::kLabel5], "0,1");
    const auto xs = TickXs(view.drawing, state);
    EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end())) << "longest period on the left";
}

TEST(DrawFTAxesTest, WithoutResultOnlyTheFrameAndOldCaptions) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    state.FTComputed = kFalse;
    FakePlotView view;
    view.captions[FTControl::kLabel1] = "L1";
    ASSERT_TRUE(DrawFTAxes(state, view));
    DrawFTCurve(state, view, 1, 1000);
    EXPECT_EQ(view.drawing.Ops().size(), 4u);
    EXPECT_EQ(view.captions[FTControl::kLabel1], "L1");
    EXPECT_TRUE(view.tops.empty());
    EXPECT_EQ(state.FTRedrawing, kTrue);
}

TEST(DrawFTCurveTest, OneSegmentPerIndexEndingOnTheRightEdge) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    FakePlotView view;
    ASSERT_TRUE(DrawFTAxes(state, view));
    DrawFTCurve(state, view, state.ViewStartIndex, state.ViewEndIndex);
    const auto& last = view.drawing.Ops().back();
    ASSERT_EQ(last.kind, DrawKind::kPolyline);
    EXPECT_EQ(last.colour, Rgb(0, 0, 255));
    const auto points = view.drawing.PolylinePoints(last);
    ASSERT_EQ(points.size(), 1000u) << "indices 1..1000, starting from the point of index 1";
    EXPECT_FLOAT_EQ(points.front().x, 500);
    EXPECT_FLOAT_EQ(points.back().x, 14485);
    EXPECT_NEAR(points[10].y, FTValueToPlotY(state, state.FTValues[11]), 0.001);
    EXPECT_EQ(state.FTRedrawing, kFalse);
    state.FTValues[5] = 1.0;
    EXPECT_NEAR(FTValueToPlotY(state, 1.0), state.PlotBottom - state.PlotHeight / 1.1, 1e-9);
}

TEST(DrawFTCurveTest, ValuesThatAreNotNumbersAreLeftOut) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    state.FTValues[1] = std::nan("");
    state.FTValues[500] = HUGE_VAL;
    FakePlotView view;
    RedrawFTPlot(state, view);
    std::size_t points = 0;
    for (const auto& op : view.drawing.Ops()) {
        for (const TwipPoint& p : op.kind == DrawKind::kPolyline ? view.drawing.PolylinePoints(op)
                                                                 : std::vector<TwipPoint>{op.from, op.to}) {
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
            points += op.kind == DrawKind::kPolyline;
        }
    }
    EXPECT_EQ(points, 998u) << "every finite value is still drawn";
}

TEST(DrawFTCurveTest, NeverReadsBeyondTheCompletedGrid) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    state.StepCount = 500001; // a rejected entry stored by a later search
    FakePlotView view;
    ASSERT_TRUE(DrawFTAxes(state, view));
    DrawFTCurve(state, view, 1, 2000000000);
    const auto points = view.drawing.PolylinePoints(view.drawing.Ops().back());
    EXPECT_EQ(points.size(), 1000u);
    RestoreFTView(state, view);
    EXPECT_EQ(state.ViewEndIndex, 1000);
}

TEST(DrawFTAxesTest, NarrowZoomReturnsToTheFullViewDrawnOnce) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    state.ViewStartIndex = 500;
    state.ViewEndIndex = 500;
    state.ViewOmegaStart = state.ViewOmegaEnd =
        state.OmegaLow + 500 * (state.OmegaHigh - state.OmegaLow) / 1000;
    FakePlotView view;
    RedrawFTPlot(state, view);
    int curves = 0;
    for (const auto& op : view.drawing.Ops()) {
        curves += op.kind == DrawKind::kPolyline;
    }
    EXPECT_EQ(curves, 1) << "one full redraw per event";
    EXPECT_EQ(state.ViewStartIndex, 1);
    EXPECT_EQ(state.ViewEndIndex, 1000);
    EXPECT_EQ(state.ViewOmegaStart, state.FullOmegaStart);
    EXPECT_EQ(view.captions[FTControl::kLabel1], "1.0");
}

TEST(DrawFTAxesTest, FullRangeTooNarrowToLabelStillEnds) {
    SharedState state = SearchedState(0.5, 0.500005, 1000);
    FakePlotView view;
    RedrawFTPlot(state, view);
    EXPECT_TRUE(TickXs(view.drawing, state).empty());
    EXPECT_EQ(view.drawing.Ops().back().kind, DrawKind::kPolyline) << "frame and curve, no ticks";
    EXPECT_DOUBLE_EQ(view.tops[FTControl::kCommand1], 3755);
    EXPECT_EQ(state.FTRedrawing, kFalse);
}

TEST(DrawFTAxesTest, TinyAndHugeWindowsDrawWithoutFault) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    FakePlotView view;
    view.width = 600;
    view.height = 900;
    RedrawFTPlot(state, view);
    EXPECT_LT(state.PlotRight, state.PlotLeft);
    view.width = 1e9;
    view.height = -1e9;
    RedrawFTPlot(state, view);
    EXPECT_EQ(state.FTWinWidth, 32767);
    EXPECT_EQ(state.FTWinHeight, -32768);
}

TEST(DrawAliasMarksTest, MarksOnlyStrictlyInsideTheView) {
    SharedState state = SearchedState(0.2, 1.2, 1000);
    FakePlotView view;
    ASSERT_TRUE(DrawFTAxes(state, view));
    const std::size_t before = view.drawing.Ops().size();
    state.AliasCount = 3;
    state.AliasPeriods[1].Period = 0.5f;
    state.AliasPeriods[2].Period = 1.2f; // the view's longest period itself
    state.AliasPeriods[3].Period = 5.0f;
    DrawAliasMarks(state, view, state.MarkColour);
    ASSERT_EQ(view.drawing.Ops().size(), before + 2);
    const auto& top = view.drawing.Ops()[before];
    EXPECT_EQ(top.colour, Rgb(128, 0, 128));
    EXPECT_FLOAT_EQ(top.from.y, 242);
    EXPECT_FLOAT_EQ(top.to.y, 242 + 900);
    EXPECT_FLOAT_EQ(top.from.x, std::nearbyint(OmegaToPlotX(state, state.TwoPi / 0.5f)));
}

} // namespace
} // namespace quorix
