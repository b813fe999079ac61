#include "ftplot/frmplot_ft.h"

#include "aliases/frmlist_aliases.h"
#include "ftplot/ftpointer.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
#include "support/drawingops.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QTest>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace quorix {
namespace {

// The FT plot after a search, sized so that its right and bottom frame lines fall on whole pixels:
// right 14490 twips (966 px), bottom 3210 twips (214 px).
class FTPlotWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::FillSearched(State());
        State().FTWinWidth = 14905;
        State().FTWinHeight = 5060;
        RedrawFTPlot(State(), app.PlotFTView());
    }
    SharedState& State() { return app.State(); }
    frmPlot_FT& Plot() { return app.PlotFT(); }
    const DisplayList& Drawing() { return Plot().DrawingSurface().Drawing(); }
    void Press(Qt::MouseButton button, int px, int py = 100) {
        QTest::mouseClick(&Plot().DrawingSurface(), button, {}, QPoint(px, py));
    }
    void Click(CommandButton& button) { QTest::mouseClick(button.Button(), Qt::LeftButton); }
    void Zoom(int fromPx, int toPx) {
        Press(Qt::RightButton, fromPx);
        Press(Qt::RightButton, toPx);
    }
    auto View() {
        const SharedState& s = State();
        return std::make_tuple(s.ViewStartIndex, s.ViewEndIndex, s.ViewOmegaStart, s.ViewOmegaEnd);
    }
    bool ShowsFullView() { return View() == std::make_tuple(1, 1000, State().OmegaLow, State().OmegaHigh); }
    std::vector<float> StrokeXs(Colour colour) {
        return testing::LineXs(Drawing(), [&](const DrawOp& op) { return op.colour == colour; });
    }
    // "Mark" for a trial period of 0.8 d, then a size change (which redraws everything, once); the
    // x of the marks drawn.
    std::vector<float> MarkAndResize() {
        State().TrialPeriod = 0.8;
        Click(Plot().Command3);
        EXPECT_GT(State().AliasCount, 20);
        Plot().SetHeight(6000);
        return StrokeXs(State().MarkColour);
    }
    // The points of all curves drawn: one full-view curve holds 1000.
    int CurvePoints() {
        int points = 0;
        for (const auto& curve : testing::Polylines(Drawing())) {
            points += static_cast<int>(curve.size());
        }
        return points;
    }

    MessageRecorder messages;
    Application app;
};

TEST_F(FTPlotWindowTest, ARightClickOutsideTheFrameDoesNothing) {
    const auto drawn = Drawing().Ops().size();
    Press(Qt::RightButton, 10, 10);
    EXPECT_EQ(std::make_tuple(State().ZoomFirstPending, Drawing().Ops().size()),
              std::make_tuple(kTrue, drawn));
}

TEST_F(FTPlotWindowTest, TheFirstRightClickOfAPairKeepsItsGridIndex) {
    Press(Qt::RightButton, 200);
    EXPECT_EQ(State().ZoomFirstPending, kFalse);
    EXPECT_EQ(State().ZoomIndexFirst, PointerGridIndex(State(), 3000));
}

TEST_F(FTPlotWindowTest, TheSecondRightClickNarrowsTheViewToThePair) {
    Press(Qt::RightButton, 200);
    const std::int32_t last = PointerGridIndex(State(), 9000);
    Press(Qt::RightButton, 600);
    EXPECT_EQ(State().ZoomFirstPending, kTrue);
    EXPECT_EQ(std::tie(State().ViewStartIndex, State().ViewEndIndex), std::tie(State().ZoomIndexFirst, last));
    EXPECT_EQ(CurvePoints(), last - State().ZoomIndexFirst + 1);
}

TEST_F(FTPlotWindowTest, APairGivesTheSameViewInEitherOrder) {
    Zoom(200, 600);
    const auto leftToRight = View();
    Click(Plot().Command1);
    Zoom(600, 200);
    EXPECT_EQ(View(), leftToRight);
}

TEST_F(FTPlotWindowTest, APairAcrossARestorePairsAbsoluteIndices) {
    Zoom(200, 600);
    Press(Qt::RightButton, 100); // first of a pair, in the zoomed view
    const std::int32_t stored = State().ZoomIndexFirst;
    State().StepCount = 999999; // a rejected entry of a failed "Compute"
    Click(Plot().Command1);
    EXPECT_TRUE(ShowsFullView()) << "Restore stays on the grid of the last completed search";
    EXPECT_EQ(State().ZoomFirstPending, kFalse) << "Restore leaves the pair alone";
    Press(Qt::RightButton, 900); // second, in the full view
    EXPECT_EQ(State().ViewStartIndex, stored);
    EXPECT_NEAR(State().ViewOmegaStart,
                State().OmegaLow + (stored - 1) * (State().OmegaHigh - State().OmegaLow) / 999, 1e-12);
}

TEST_F(FTPlotWindowTest, APairOnOneIndexLeavesTheFullView) {
    Zoom(400, 400); // no width to draw
    EXPECT_TRUE(ShowsFullView());
    EXPECT_EQ(std::make_tuple(State().ZoomFirstPending, CurvePoints()), std::make_tuple(kTrue, 1000));
}

TEST_F(FTPlotWindowTest, TheFrameLineCountsForClicks) {
    Press(Qt::RightButton, 966);
    EXPECT_EQ(State().ZoomIndexFirst, 1000);
}

TEST_F(FTPlotWindowTest, RightClicksWithoutAResultDoNotZoom) {
    Press(Qt::RightButton, 966);
    State().FTComputed = kFalse;
    Press(Qt::RightButton, 500);
    EXPECT_EQ(State().ZoomFirstPending, kFalse) << "no zoom without a result";
}

TEST_F(FTPlotWindowTest, ExitOnlyHidesTheWindowWithoutStoringItsPlace) {
    Plot().Show();
    Plot().SetLeft(900);
    Plot().mExit_Click();
    EXPECT_FALSE(Plot().IsShown());
    EXPECT_EQ(State().FTWinLeft, 50);
}

TEST_F(FTPlotWindowTest, ASizeChangeRedrawsThePlotAndItsMarksOnce) {
    MarkAndResize();
    EXPECT_EQ(std::make_tuple(State().FTWinHeight, State().PlotBottom), std::make_tuple(6000, 6000 - 1850));
    EXPECT_EQ(CurvePoints(), 1000);
    EXPECT_EQ(StrokeXs(State().MarkColour).size(), 2u * State().AliasCount)
        << "the whole list lies inside the full view";
}

TEST_F(FTPlotWindowTest, RestoreRedrawsTheMarks) {
    const std::vector<float> marks = MarkAndResize();
    Click(Plot().Command1);
    EXPECT_EQ(StrokeXs(State().MarkColour), marks);
}

TEST_F(FTPlotWindowTest, AfterClearARedrawHasNoMarks) {
    MarkAndResize();
    Click(Plot().Command4);
    Click(Plot().Command1);
    EXPECT_TRUE(StrokeXs(State().MarkColour).empty());
}

TEST_F(FTPlotWindowTest, MarkWithoutATrialPeriodWarnsAndDrawsThePreviousList) {
    const std::vector<float> marks = MarkAndResize();
    Click(Plot().Command4);
    Click(Plot().Command1);
    State().TrialPeriod = 0.0;
    Click(Plot().Command3);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Hey, you need to select a period first!"});
    EXPECT_EQ(State().MarksShown, kTrue);
    EXPECT_EQ(StrokeXs(State().MarkColour), marks) << "the marks of the previous list";
    EXPECT_FALSE(app.ListAliases().IsShown());
}

} // namespace
} // namespace quorix
