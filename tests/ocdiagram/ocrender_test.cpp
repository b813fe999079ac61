#include "ocdiagram/ocrender.h"

#include "fakeocview.h"
#include "ocdiagram/occompute.h"
#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quorix {
namespace {

using testing::FakeOCView;

constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kSilver = Rgb(192, 192, 192);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

// A searched state with an O-C state set directly: cycle range 0..cycleMax, O-C values
// ocMin..ocMax and the line a + b E.
SharedState StateWithDiagram(double cycleMax, double ocMin, double ocMax, double a = 0, double b = 0) {
    SharedState state;
    testing::FillSearched(state);
    state.CycleMax = cycleMax;
    state.OCMin = ocMin;
    state.OCMax = ocMax;
    state.OCRange = ocMax - ocMin;
    state.FitIntercept = a;
    state.FitSlope = b;
    state.OCFitDefined = kTrue;
    state.OCPeriod = 1.0;
    return state;
}

// A searched state whose O-C state was computed from `times` with the period `period`.
SharedState ComputedState(const std::vector<double>& times, double period) {
    SharedState state;
    testing::FillSearched(state);
    state.ObsCount = static_cast<std::int16_t>(times.size());
    state.BaseTime = 99999;
    for (std::size_t i = 0; i < times.size(); ++i) {
        state.ObsTimes[i + 1] = times[i];
        state.BaseTime = std::min(state.BaseTime, times[i]);
    }
    state.TrialPeriod = period;
    EXPECT_TRUE(ComputeOCDiagram(state));
    return state;
}

std::vector<DrawOp> OpsOf(const DisplayList& drawing, DrawKind kind, Colour colour) {
    std::vector<DrawOp> ops;
    for (const auto& op : drawing.Ops()) {
        if (op.kind == kind && op.colour == colour) {
            ops.push_back(op);
        }
    }
    return ops;
}

// Horizontal grid lines across the frame, bottom to top as drawn (the frame's own top line aside).
std::vector<DrawOp> OCGridLines(const SharedState& state, const DisplayList& drawing) {
    std::vector<DrawOp> lines;
    for (const auto& op : drawing.Ops()) {
        if (op.from.x == state.OCPlotLeft && op.to.x == state.OCPlotRight && op.from.y != state.OCPlotTop) {
            lines.push_back(op);
        }
    }
    return lines;
}

bool AllFinite(const DisplayList& drawing) {
    for (const auto& op : drawing.Ops()) {
        for (float v : {op.from.x, op.from.y, op.to.x, op.to.y, op.radius}) {
            if (!std::isfinite(v)) {
                return false;
            }
        }
    }
    return true;
}

TEST(DrawOCAxesTest, DefaultWindowFrameReadOutsAndFrameLast) {
    SharedState state = ComputedState({50000.0, 50002.01, 50003.98}, 1.0);
    FakeOCView view;
    state.OCWinLoading = kTrue;
    RedrawOCPlot(state, view);
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(state.OCWinLoading, kFalse);
    EXPECT_EQ(state.OCWinWidth, 7000);
    EXPECT_EQ(state.OCPlotLeft, 900);
    EXPECT_EQ(state.OCPlotTop, 242);
    EXPECT_EQ(state.OCPlotRight, 6585);
    EXPECT_EQ(state.OCPlotBottom, 4150);
    EXPECT_EQ(state.OCPlotWidth, 5685);
    EXPECT_EQ(state.OCPlotHeight, 3908);
    for (OCControl c : {OCControl::kLabel5, OCControl::kLabel7, OCControl::kLabel6, OCControl::kText1,
                        OCControl::kCommand1}) {
        EXPECT_EQ(view.tops[c], 4400);
    }
    EXPECT_EQ(view.tops[OCControl::kLabel4], (4150 + 242) / 2.0 - 250);
    EXPECT_EQ(view.tops[OCControl::kLabel3], (4150 + 242) / 2.0);
    EXPECT_EQ(view.captions[OCControl::kLabel7], "1.000000");
    EXPECT_EQ(view.captions[OCControl::kText1], "0.01599");
    // The frame closes the axes' drawing; the rings and the line follow it.
    const auto& ops = view.drawing.Ops();
    const auto frameEnd =
        std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.kind == DrawKind::kCircle; });
    ASSERT_GE(frameEnd - ops.begin(), 4);
    const DrawOp* frame = &*(frameEnd - 4);
    EXPECT_EQ(frame[0].from, (TwipPoint{900, 242}));
    EXPECT_EQ(frame[0].to, (TwipPoint{6585, 242}));
    EXPECT_EQ(frame[1].to, (TwipPoint{6585, 4150}));
    EXPECT_EQ(frame[2].to, (TwipPoint{900, 4150}));
    EXPECT_EQ(frame[3].to, (TwipPoint{900, 242}));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(frame[k].colour, kBlack);
    }
    // The earliest minimum lies on the left edge, on the black line of O-C = 0.
    const auto rings = OpsOf(view.drawing, DrawKind::kCircle, kRed);
    ASSERT_EQ(rings.size(), 33u) << "eleven circles per point";
    EXPECT_EQ(rings[0].from.x, 900);
    EXPECT_EQ(rings[0].radius, 20);
    EXPECT_EQ(rings[10].radius, 30);
    const auto zero = OpsOf(view.drawing, DrawKind::kLine, kBlack);
    EXPECT_TRUE(std::any_of(zero.begin(), zero.end(), [&](const DrawOp& op) {
        return op.from.x == 900 && op.to.x == 6585 && op.from.y == rings[0].from.y;
    }));
}

TEST(DrawOCAxesTest, GridStepsAndLabels) {
    SharedState state = StateWithDiagram(37, -0.013, 0.021);
    FakeOCView view;
    DrawOCAxes(state, view);
    // Cycle axis: step 5, vertical grid lines at 0, 5, ..., 35, the first on the left edge.
    std::vector<float> xs;
    for (const auto& op : OpsOf(view.drawing, DrawKind::kLine, kSilver)) {
        if (op.from.x == op.to.x) {
            xs.push_back(op.from.x);
        }
    }
    ASSERT_EQ(xs.size(), 8u);
    EXPECT_EQ(xs[0], 900);
    EXPECT_FLOAT_EQ(xs[1], 900 + 5685 * 5 / 37.0);
    // O-C axis: step 0.005 from -0.010 to 0.020, the line at 0 black.
    const auto lines = OCGridLines(state, view.drawing);
    ASSERT_EQ(lines.size(), 7u);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].colour, k == 2 ? kBlack : kSilver) << k;
    }
    EXPECT_EQ(view.captions[OCControl::kLabel2], "-0.010");
    EXPECT_EQ(view.captions[OCControl::kLabel1], "0.020");
    EXPECT_EQ(view.captions[OCControl::kLabel3], "0.005");
    EXPECT_NEAR(view.tops[OCControl::kLabel1], lines.back().from.y - 100, 0.01);
    EXPECT_NEAR(view.tops[OCControl::kLabel2], lines.front().from.y - 100, 0.01);
}

TEST(DrawOCFitLineTest, ClipsAtTheFrameRoundingTheRightEndOnly) {
    struct Case {
        const char* what;
        double cycleMax, a, b;
        TwipPoint from, to;
    } const cases[] = {
        {"inside", 10, 0.5, -0.1, {900, 4150 - 3908 * 0.75}, {6585, 4150 - 3908 * 0.25}},
        // Crosses the top at cycle 2.5, which goes to 2.
        {"leaves through the top", 10, 0, 0.4, {900, 4150 - 3908 * 0.5}, {900 + 5685 * 0.2, 242}},
        // Starts on the top at cycle 1.25, leaves through the bottom at 6.25, which goes to 6.
        {"top to bottom", 10, 1.5, -0.4, {900 + 568.5 * 1.25, 242}, {900 + 568.5 * 6, 4150}},
        // The crossing cycle 50000 is far beyond a 16-bit count.
        {"long data set", 100000, 0, 0.00002, {900, 4150 - 3908 * 0.5}, {900 + 5685 * 0.5, 242}},
    };
    for (const auto& c : cases) {
        SharedState state = StateWithDiagram(c.cycleMax, -1, 1, c.a, c.b);
        FakeOCView view;
        RedrawOCPlot(state, view);
        const auto line = OpsOf(view.drawing, DrawKind::kLine, kBlue);
        ASSERT_EQ(line.size(), 1u) << c.what;
        EXPECT_NEAR(line[0].from.x, c.from.x, 0.01) << c.what;
        EXPECT_NEAR(line[0].from.y, c.from.y, 0.01) << c.what;
        EXPECT_NEAR(line[0].to.x, c.to.x, 0.01) << c.what;
        EXPECT_NEAR(line[0].to.y, c.to.y, 0.01) << c.what;
    }
}

TEST(DrawOCAxesTest, AxesWithoutASpanSpanOneUnit) {
    struct Case {
        const char* what;
        std::vector<double> times;
        double period;
        bool line;
        float ringX;
    } const cases[] = {
        {"single observation", {50000.0}, 0.65, false, 900 + 5685 / 2.0f},
        {"all within a quarter period", {50000.0, 50000.0, 50000.2}, 1.0, false, 900 + 5685 / 2.0f},
        {"full dates, one observation", {2452349.3}, 1.0, false, 6585},
        {"all O-C values equal", {50000.0, 50001.0, 50002.0}, 1.0, true, 900},
    };
    for (const auto& c : cases) {
        SharedState state = ComputedState(c.times, c.period);
        FakeOCView view;
        RedrawOCPlot(state, view);
        EXPECT_TRUE(AllFinite(view.drawing)) << c.what;
        for (const auto& [control, top] : view.tops) {
            EXPECT_TRUE(std::isfinite(top)) << c.what;
        }
        for (const auto& [control, caption] : view.captions) {
            EXPECT_EQ(caption.find_first_not_of("-0123456789."), std::string::npos) << c.what << caption;
        }
        EXPECT_EQ(OpsOf(view.drawing, DrawKind::kLine, kBlue).size(), c.line ? 1u : 0u) << c.what;
        const auto rings = OpsOf(view.drawing, DrawKind::kCircle, kRed);
        ASSERT_FALSE(rings.empty()) << c.what;
        EXPECT_FLOAT_EQ(rings[0].from.x, c.ringX) << c.what;
        EXPECT_GE(rings[0].from.y, 242) << c.what;
        EXPECT_LE(rings[0].from.y, 4150) << c.what;
        EXPECT_EQ(state.OCWinLoading, kFalse) << c.what;
    }
    // A single observation sits in the middle of a frame one cycle wide and one day high.
    SharedState state = ComputedState({50000.0}, 0.65);
    FakeOCView view;
    RedrawOCPlot(state, view);
    EXPECT_EQ(view.captions[OCControl::kLabel1], "0.4");
    EXPECT_EQ(view.captions[OCControl::kLabel2], "-0.4");
    EXPECT_EQ(view.captions[OCControl::kText1], "0.00000");
    EXPECT_FLOAT_EQ(OpsOf(view.drawing, DrawKind::kCircle, kRed)[0].from.y, 4150 - 3908 / 2.0f);
}

TEST(DrawOCAxesTest, SmallWindowsGetAnEmptyFrameNeverANegativeOne) {
    const double sizes[][2] = {{1314, 1591}, {1000, 8000}, {8000, 1000}, {0, 0}, {-50, 40000}};
    for (const auto& size : sizes) {
        SharedState state = ComputedState({50000.0, 50002.01, 50003.98}, 1.0);
        FakeOCView view;
        view.width = size[0];
        view.height = size[1];
        RedrawOCPlot(state, view);
        EXPECT_GE(state.OCPlotWidth, 0) << size[0];
        EXPECT_GE(state.OCPlotHeight, 0) << size[1];
        EXPECT_EQ(state.OCPlotRight - state.OCPlotLeft, state.OCPlotWidth);
        EXPECT_TRUE(AllFinite(view.drawing)) << size[0] << " x " << size[1];
    }
}

TEST(DrawOCAxesTest, WithoutASearchResultTheWindowIsShownEmpty) {
    SharedState state = ComputedState({50000.0, 50002.01, 50003.98}, 1.0);
    state.FTComputed = kFalse;
    FakeOCView view;
    view.tops[OCControl::kText1] = 9120;
    view.drawing.Line(1, 2, 3, 4);
    RedrawOCPlot(state, view);
    EXPECT_EQ(view.shows, 1);
    EXPECT_TRUE(view.drawing.Ops().empty());
    EXPECT_EQ(view.tops.size(), 1u);
    EXPECT_EQ(view.tops[OCControl::kText1], 9120);
    EXPECT_EQ(state.OCWinLoading, kFalse) << "only a complete drawing lowers it, none raised it";
}

TEST(UpdateOCDiagramTest, ARefusedPeriodLeavesTheWindowUntouched) {
    SharedState state = ComputedState({50000.0, 50002.01, 50003.98}, 1.0);
    FakeOCView view;
    state.TrialPeriod = 1e-9;
    UpdateOCDiagram(state, view);
    EXPECT_EQ(view.loads, 0);
    EXPECT_TRUE(view.drawing.Ops().empty());
    state.TrialPeriod = 1.0;
    UpdateOCDiagram(state, view);
    EXPECT_EQ(view.shows, 1);
    EXPECT_EQ(OpsOf(view.drawing, DrawKind::kCircle, kRed).size(), 33u);
}

} // namespace
} // namespace quorix
