#include "ocdiagram/occompute.h"
#include "ocdiagram/ocrender.h"

#include "support/drawingops.h"
#include "support/observedstate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <span>
#include <tuple>
#include <vector>

namespace quorix {
namespace {

// An O-C window made of plain data: a display list, control tops and captions.
struct FakeOCView : OCPlotView, LazyView<OCPlotView> {
    OCPlotView& Loaded() override { return *this; }
    void ShowPlotWindow() override { ++shows; }
    double PlotWindowWidth() override { return width; }
    double PlotWindowHeight() override { return height; }
    DisplayList& PlotDrawing() override { return drawing; }
    void SetControlTop(OCControl control, double top) override { tops[control] = top; }
    void SetControlCaption(OCControl control, const std::string& text) override { captions[control] = text; }

    std::vector<DrawOp> Ops(DrawKind kind, Colour colour) const {
        std::vector<DrawOp> ops;
        std::copy_if(drawing.Ops().begin(), drawing.Ops().end(), std::back_inserter(ops),
                     [&](const DrawOp& op) { return op.kind == kind && op.colour == colour; });
        return ops;
    }
    // Whether every coordinate is a number and every caption made of digits.
    bool AllNumbers() const {
        bool numbers = true;
        for (const auto& op : drawing.Ops()) {
            numbers &= std::isfinite(op.from.x + op.from.y + op.to.x + op.to.y + op.radius);
        }
        for (const auto& [control, text] : captions) {
            numbers &= text.find_first_not_of("-0123456789.") == std::string::npos;
        }
        return numbers;
    }

    double width = 7000, height = 5500;
    int shows = 0;
    DisplayList drawing;
    std::map<OCControl, double> tops;
    std::map<OCControl, std::string> captions;
};

// The diagram of `times` at `period`, computed and drawn in a window of the default size.
struct Diagram {
    Diagram(const std::vector<double>& times, double period) : state(testing::ObservedState(times, period)) {
        EXPECT_TRUE(ComputeOCDiagram(state));
        RedrawOCPlot(state, view);
    }
    SharedState state;
    FakeOCView view;
};

TEST(OCDiagramTest, FiguresAndPointsInAnyFileOrder) {
    const float middle = 900 + 5685 / 2.0f;
    struct Case {
        const char* what;
        std::vector<double> times;
        double period;
        bool line;
        float leftmostRing;
        double cycleMax, ocMin, ocMax, a, b, rms;
    } cases[] = {
        // clang-format off
        // About the line itself the deviation would be 0.009428.
        {"three minima", testing::kThreeMinima, 1.0, true, 900, 4, -0.02, 0.01, 0.0066667, -0.005, 0.015986},
        // 2 dt / P = 0.5, 2.5 and 3.5 go to the even 0, 2 and 4, with O-C 0.25, 0.25 and -0.25; 3 is a
        // secondary minimum.
        {"half cycles", {50000.0, 50000.25, 50001.25, 50001.75, 50001.5}, 1.0, true, 900, 2, -0.25, 0.25,
         0.18359375, -0.1484375, 0.2298854},
        // The line runs through (0, 0) and the pair at (2, 0.01).
        {"equal times", {50000.0, 50002.01, 50002.01}, 1.0, true, 900, 2, 0, 0.01, 0, 0.005, 0.008165},
        {"level line", {50000.0, 50001.0, 50002.0}, 1.0, true, 900, 2, 0, 0, 0, 0, 0},
        // Points at one cycle count: no line, the deviation about their mean, and an axis without a
        // span spans one unit centred on them.
        {"one observation", {50000.0}, 0.65, false, middle, 0, 0, 0, 0, 0, 0},
        {"a quarter period", {50000.0, 50000.1, 50000.2}, 1.0, false, middle, 0, 0, 0.2, 0.1, 0, 0.0816497},
        {"full dates", {2452349.3, 2452351.31, 2452353.28}, 1.0, true, 900, 4, -0.02, 0.01, 0.0066667, -0.005, 0.015986},
        // clang-format on
    };
    for (auto& c : cases) {
        std::sort(c.times.begin(), c.times.end());
        do {
            SCOPED_TRACE(c.what + ::testing::PrintToString(c.times));
            const Diagram d(c.times, c.period);
            const double got[] = {d.state.CycleMax,     d.state.OCMin,    d.state.OCMax,
                                  d.state.FitIntercept, d.state.FitSlope, d.state.OCRms};
            const double want[] = {c.cycleMax, c.ocMin, c.ocMax, c.a, c.b, c.rms};
            for (int k = 0; k < 6; ++k) {
                EXPECT_NEAR(got[k], want[k], 5e-7) << "figure " << k;
            }
            EXPECT_TRUE(d.view.AllNumbers());
            EXPECT_EQ(d.view.Ops(DrawKind::kLine, kBlue).size(), c.line ? 1u : 0u);
            const auto rings = d.view.Ops(DrawKind::kCircle, kRed);
            ASSERT_EQ(rings.size(), 11 * c.times.size());
            float leftmost = 6585;
            for (const DrawOp& ring : rings) {
                leftmost = std::min(leftmost, ring.from.x);
                EXPECT_TRUE(ring.from.y >= 242 && ring.from.y <= 4150) << ring.from.y;
            }
            EXPECT_FLOAT_EQ(leftmost, c.leftmostRing);
        } while (std::next_permutation(c.times.begin(), c.times.end()));
    }
}

TEST(ComputeOCTest, TakesAnyNumberOfTimesAndTheStateKeepsTheWindowsShare) {
    // Primaries and secondaries of a 0.8-day binary with up to 2 ms of timing noise, in file order.
    std::vector<double> times;
    for (int k = 0; k < 600; ++k) {
        times.push_back(50000.0 + 0.4 * k + 0.001 * (k % 3));
    }
    const auto many = ComputeOC(times, 50000.0, 0.8);
    ASSERT_TRUE(many);
    EXPECT_EQ(many->cycles.size(), 600u);
    EXPECT_EQ(many->cycles.back(), 299.5);
    EXPECT_NEAR(many->oc[2], 0.002, 1e-9);
    EXPECT_TRUE(many->fitDefined);
    EXPECT_FALSE(ComputeOC({}, 50000.0, 0.8)) << "no times, no diagram";

    SharedState state = testing::ObservedState({times.begin(), times.begin() + kMaxObservations}, 0.8);
    ASSERT_TRUE(ComputeOCDiagram(state));
    const auto loaded = ComputeOC(std::span(times).first(kMaxObservations), state.BaseTime, 0.8);
    EXPECT_EQ(state.OCPointCount, kMaxObservations);
    EXPECT_EQ(std::tuple(state.CycleNumbers[kMaxObservations], state.OCValues[1], state.OCRms),
              std::tuple(loaded->cycles.back(), loaded->oc.front(), loaded->rms));
}

TEST(ComputeOCDiagramTest, RefusedInputsLeaveThePreviousDiagram) {
    const struct {
        const char* what;
        double period;
        bool searched = true;
    } cases[] = {
        // clang-format off
        {"no search result", 0.65, false},
        {"zero period", 0.0},
        {"negative period", -0.65},
        {"not a number", std::nan("")},
        {"infinite", HUGE_VAL},
        {"cycle counts beyond 32 bits", 1e-9},
        // clang-format on
    };
    for (const auto& c : cases) {
        SharedState state = testing::ObservedState(testing::kThreeMinima, 1.0);
        ASSERT_TRUE(ComputeOCDiagram(state));
        const SharedState before = state;
        state.TrialPeriod = c.period;
        state.FTComputed = ToFlag(c.searched);
        EXPECT_FALSE(ComputeOCDiagram(state)) << c.what;
        EXPECT_TRUE(state.CycleNumbers == before.CycleNumbers && state.OCValues == before.OCValues &&
                    state.OCRms == before.OCRms && state.FitSlope == before.FitSlope && state.OCPeriod == 1.0)
            << c.what;
    }
}

TEST(UpdateOCDiagramTest, BeforeASearchTheWindowComesUpClearedInsteadOfKeepingTheLastDiagram) {
    Diagram d(testing::kThreeMinima, 1.0);
    ASSERT_FALSE(d.view.drawing.Ops().empty());
    d.state.FTComputed = kFalse; // a new file, not yet searched
    d.state.TrialPeriod = 0.5;
    d.view.shows = 0;
    UpdateOCDiagram(d.state, d.view);
    EXPECT_EQ(d.view.shows, 1);
    EXPECT_TRUE(d.view.drawing.Ops().empty());
    EXPECT_EQ(d.state.OCPeriod, 1.0) << "nothing is computed before a search";
}

TEST(DrawOCAxesTest, GridLabelsAndFrameInTheDefaultWindow) {
    // Cycles 0, 11 and 37 with O-C values 0, -0.013 and 0.021.
    const Diagram d({50000.0, 50010.987, 50037.021}, 1.0);
    const auto& ops = d.view.drawing.Ops();
    const auto firstRing =
        std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.kind == DrawKind::kCircle; });
    // The frame, clockwise from the top-left corner, closes the axes; the rings and the line follow.
    ASSERT_GE(firstRing - ops.begin(), 4);
    const TwipPoint corners[] = {{900, 242}, {6585, 242}, {6585, 4150}, {900, 4150}, {900, 242}};
    for (int k = 0; k < 4; ++k) {
        const DrawOp& side = *(firstRing - 4 + k);
        EXPECT_TRUE(side.from == corners[k] && side.to == corners[k + 1] && side.colour == kBlack) << k;
    }
    // The earliest minimum lies on the line of O-C = 0.
    const float zeroY = 4150 - 3908 * 0.013f / 0.034f;
    EXPECT_FLOAT_EQ(firstRing->from.y, zeroY);
    // Cycle axis: step 5, vertical grid lines at 0, 5, ..., 35, the first on the left edge.
    const std::vector<float> xs = testing::LineXs(
        d.view.drawing, [](const DrawOp& op) { return op.colour == kSilver && op.from.x == op.to.x; });
    ASSERT_EQ(xs.size(), 8u);
    EXPECT_EQ(xs[0], 900);
    EXPECT_FLOAT_EQ(xs[1], 900 + 5685 * 5 / 37.0);
    // O-C axis: step 0.005 from -0.010 to 0.020 bottom to top, the line at 0 black.
    std::vector<DrawOp> lines;
    std::copy_if(ops.begin(), firstRing, std::back_inserter(lines),
                 [](const DrawOp& op) { return op.from.x == 900 && op.to.x == 6585 && op.from.y != 242; });
    ASSERT_EQ(lines.size(), 7u);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].colour, k == 2 ? kBlack : kSilver) << k;
    }
    EXPECT_FLOAT_EQ(lines[2].from.y, zeroY);
    auto captions = d.view.captions;
    EXPECT_EQ(std::make_tuple(captions[OCControl::kLabel2], captions[OCControl::kLabel1],
                              captions[OCControl::kLabel3]),
              std::make_tuple("-0.010", "0.020", "0.005"));
}

TEST(DrawOCFitLineTest, ClipsAtTheFrameRoundingTheRightEndOnly) {
    const struct {
        const char* what;
        double cycleMax, a, b;
        TwipPoint from, to;
    } cases[] = {
        {"inside", 10, 0.5, -0.1, {900, 4150 - 3908 * 0.75}, {6585, 4150 - 3908 * 0.25}},
        // Crosses the top at cycle 2.5, which goes to 2.
        {"leaves through the top", 10, 0, 0.4, {900, 4150 - 3908 * 0.5}, {900 + 5685 * 0.2, 242}},
        // Starts on the top at cycle 1.25, leaves through the bottom at 6.25, which goes to 6.
        {"top to bottom", 10, 1.5, -0.4, {900 + 568.5 * 1.25, 242}, {900 + 568.5 * 6, 4150}},
        // The crossing cycle 50000 is far beyond a 16-bit count.
        {"long data set", 100000, 0, 0.00002, {900, 4150 - 3908 * 0.5}, {900 + 5685 * 0.5, 242}},
    };
    for (const auto& c : cases) {
        Diagram d(testing::kThreeMinima, 1.0); // then given O-C values from -1 to 1 and the line a + b E
        d.state.CycleMax = c.cycleMax;
        std::tie(d.state.OCMin, d.state.OCMax, d.state.OCRange) = std::make_tuple(-1, 1, 2);
        std::tie(d.state.FitIntercept, d.state.FitSlope) = std::make_pair(c.a, c.b);
        d.view = FakeOCView();
        RedrawOCPlot(d.state, d.view);
        const auto line = d.view.Ops(DrawKind::kLine, kBlue);
        ASSERT_EQ(line.size(), 1u) << c.what;
        EXPECT_NEAR(line[0].from.x, c.from.x, 0.01) << c.what;
        EXPECT_NEAR(line[0].from.y, c.from.y, 0.01) << c.what;
        EXPECT_NEAR(line[0].to.x, c.to.x, 0.01) << c.what;
        EXPECT_NEAR(line[0].to.y, c.to.y, 0.01) << c.what;
    }
}

TEST(DrawOCAxesTest, TallAndTinyWindowsKeepTheFrameUprightAndUnsearchedOnesGetNoPicture) {
    Diagram d(testing::kThreeMinima, 1.0);
    d.view.height = 40000; // beyond 16 bits of twips
    RedrawOCPlot(d.state, d.view);
    EXPECT_GT(d.state.OCPlotHeight, 3908);
    EXPECT_TRUE(d.view.AllNumbers());
    for (const double side :
         {300.0, -500.0}) { // too small for the margins: an empty frame, never a negative one
        d.view.width = d.view.height = side;
        RedrawOCPlot(d.state, d.view);
        EXPECT_TRUE(d.state.OCPlotWidth >= 0 && d.state.OCPlotHeight >= 0) << side;
        EXPECT_TRUE(d.view.AllNumbers()) << side;
    }

    // A new file, not yet searched: the window comes up cleared, its controls left where they were.
    d.state.FTComputed = kFalse;
    d.view = FakeOCView();
    d.view.tops[OCControl::kText1] = 9120;
    d.view.drawing.Line(1, 2, 3, 4);
    RedrawOCPlot(d.state, d.view);
    EXPECT_TRUE(d.view.drawing.Ops().empty());
    EXPECT_EQ(d.view.tops, (std::map<OCControl, double>{{OCControl::kText1, 9120}}));
    EXPECT_EQ(d.state.OCWinLoading, kFalse) << "only a complete drawing lowers it, none raised it";
}

TEST(DrawOCAxesTest, TheStepLabelsStandClearOfTheGridValuesWhereTheFrameHasRoom) {
    // O-C values 0, -0.0012 and 0.0009: step 0.0005, grid lines from -0.0010 to 0.0005, the highest
    // a fifth of the frame below its top.
    const auto tops = [](double windowHeight) {
        SharedState state = testing::ObservedState({50000.0, 50010.9988, 50037.0009}, 1.0);
        EXPECT_TRUE(ComputeOCDiagram(state));
        FakeOCView view;
        view.height = windowHeight;
        RedrawOCPlot(state, view);
        return view.tops;
    };
    auto designed = tops(5500);
    EXPECT_EQ(designed[OCControl::kLabel4], 2196 - 250) << "250 twips above mid-height, as designed";
    EXPECT_EQ(designed[OCControl::kLabel3], 2196);
    auto small = tops(2792); // a frame 1200 twips high
    EXPECT_GE(small[OCControl::kLabel4], small[OCControl::kLabel1] + 255) << "below the highest value";
    EXPECT_EQ(small[OCControl::kLabel3], small[OCControl::kLabel4] + 250);
    EXPECT_LE(small[OCControl::kLabel3] + 255, small[OCControl::kLabel2]) << "above the lowest value";
}

} // namespace
} // namespace quorix
