#include "ftplot/frmplot_ft.h"

#include "aliases/frmlist_aliases.h"
#include "ftplot/ftpointer.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
#include "support/drawingops.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QApplication>
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
    void Move(int px, int py) { QTest::mouseMove(&Plot().DrawingSurface(), QPoint(px, py)); }
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

TEST_F(FTPlotWindowTest, PlacementIsStoredOnUnloadAndEverySizeChangeRedrawsOnce) {
    Plot().Show();
    Plot().SetLeft(900);
    Plot().mExit_Click();
    EXPECT_FALSE(Plot().IsShown());
    EXPECT_EQ(State().FTWinLeft, 50) << "hiding stores nothing";
    Plot().close();
    EXPECT_EQ(State().FTWinLeft, 900);
    EXPECT_FALSE(app.IsPlotFTLoaded());

    State().ZoomFirstPending = kFalse;
    State().FTRedrawing = kTrue; // as DrawFTAxes leaves it before it loads the window
    frmPlot_FT& window = Plot();
    EXPECT_EQ(window.Caption(), "algol_type_hjd.txt");
    EXPECT_EQ(State().ZoomFirstPending, kTrue);
    EXPECT_TRUE(Drawing().Ops().empty()) << "sizing while loading draws nothing";
    RedrawFTPlot(State(), app.PlotFTView());
    EXPECT_EQ(State().FTRedrawing, kFalse);
    window.SetHeight(6000);
    EXPECT_EQ(std::make_tuple(State().FTWinHeight, State().PlotBottom), std::make_tuple(6000, 6000 - 1850));
    EXPECT_EQ(CurvePoints(), 1000) << "cleared, then drawn once";
}

TEST_F(FTPlotWindowTest, ReadOutShowsTheFirstEightCharactersStrictlyInsideThePlot) {
    const std::pair<double, const char*> cases[] = {
        {0.5234567891, " .523456"}, {12.3456789, " 12.3456"}, {0.5, " .5"}, {0.0523456789, " .052345"}};
    QApplication::setActiveWindow(&Plot()); // its redraw on getting the focus is over before the moves
    int px = 500;
    for (const auto& [period, text] : cases) {
        // A view without width reads the same period everywhere.
        State().ViewOmegaStart = State().ViewOmegaEnd = State().TwoPi / period;
        Move(++px, 100);
        EXPECT_EQ(Plot().Text1.Text(), text);
        EXPECT_EQ(Plot().DrawingSurface().Pointer(), MousePointer::kCrossHair);
    }
    for (const QPoint onFrame : {QPoint(966, 100), QPoint(500, 214), QPoint(5, 5)}) {
        Move(onFrame.x(), onFrame.y());
        EXPECT_EQ(Plot().DrawingSurface().Pointer(), MousePointer::kArrow);
        EXPECT_EQ(Plot().Text1.Text(), " .052345") << "the text is kept outside";
    }
    State().CompletedStepCount = 0; // as before the first search
    Move(965, 213);
    EXPECT_EQ(Plot().DrawingSurface().Pointer(), MousePointer::kCrossHair);
    EXPECT_EQ(Plot().Text1.Text(), " .052345");
}

TEST_F(FTPlotWindowTest, ZoomPairsNarrowToAbsoluteIndicesInEitherOrder) {
    const auto drawn = Drawing().Ops().size();
    Press(Qt::RightButton, 10, 10); // outside the frame
    Press(Qt::MiddleButton, 500);
    EXPECT_EQ(std::make_tuple(State().ZoomFirstPending, Drawing().Ops().size()),
              std::make_tuple(kTrue, drawn));
    Press(Qt::RightButton, 200);
    EXPECT_EQ(State().ZoomFirstPending, kFalse);
    EXPECT_EQ(State().ZoomIndexFirst, PointerGridIndex(State(), 3000));
    const DrawOp& line = Drawing().Ops().back();
    EXPECT_EQ(std::make_tuple(line.colour, line.from, line.to),
              std::make_tuple(Rgb(255, 0, 0), TwipPoint{3000, 242}, TwipPoint{3000, 3210}));
    const std::int32_t last = PointerGridIndex(State(), 9000);
    Press(Qt::RightButton, 600);
    EXPECT_EQ(State().ZoomFirstPending, kTrue);
    EXPECT_EQ(std::tie(State().ViewStartIndex, State().ViewEndIndex), std::tie(State().ZoomIndexFirst, last));
    EXPECT_EQ(CurvePoints(), last - State().ZoomIndexFirst + 1);
    EXPECT_TRUE(StrokeXs(Rgb(255, 0, 0)).empty()) << "the full redraw takes the red line away";
    const auto leftToRight = View();

    Zoom(100, 500); // inside the zoomed view
    EXPECT_GT(State().ViewOmegaStart, std::get<2>(leftToRight));
    EXPECT_LT(State().ViewOmegaEnd, std::get<3>(leftToRight));
    EXPECT_LT(State().ViewEndIndex - State().ViewStartIndex, last - std::get<0>(leftToRight));
    Press(Qt::RightButton, 100); // first of a pair, in the zoomed view
    const std::int32_t stored = State().ZoomIndexFirst;
    State().StepCount = 999999; // a rejected entry of a failed "Compute"
    Click(Plot().Command1);
    EXPECT_TRUE(ShowsFullView()) << "Restore stays on the grid of the last completed search";
    EXPECT_EQ(CurvePoints(), 1000);
    EXPECT_EQ(State().ZoomFirstPending, kFalse) << "Restore leaves the pair alone";
    Press(Qt::RightButton, 900); // second, in the full view
    EXPECT_EQ(State().ViewStartIndex, stored);
    EXPECT_NEAR(State().ViewOmegaStart,
                State().OmegaLow + (stored - 1) * (State().OmegaHigh - State().OmegaLow) / 999, 1e-12);

    Click(Plot().Command1);
    Zoom(600, 200);
    EXPECT_EQ(View(), leftToRight);
    Click(Plot().Command1);
    Zoom(400, 400); // a pair on one index: no width to draw
    EXPECT_TRUE(ShowsFullView());
    EXPECT_EQ(std::make_tuple(State().ZoomFirstPending, CurvePoints()), std::make_tuple(kTrue, 1000));

    Press(Qt::RightButton, 966); // the frame line counts for clicks
    EXPECT_EQ(State().ZoomIndexFirst, 1000);
    State().FTComputed = kFalse;
    Press(Qt::RightButton, 500);
    EXPECT_EQ(State().ZoomFirstPending, kFalse) << "no zoom without a result";
}

TEST_F(FTPlotWindowTest, MarksComeBackWithEveryFullRedrawUntilCleared) {
    State().TrialPeriod = 0.8;
    Click(Plot().Command3);
    ASSERT_GT(State().AliasCount, 20);
    Plot().SetWidth(14000); // the marks come back with the redraw of a size change
    const std::vector<float> marks = StrokeXs(State().MarkColour);
    EXPECT_EQ(marks.size(), 2u * State().AliasCount) << "the whole list lies inside the full view";
    Click(Plot().Command1);
    EXPECT_EQ(StrokeXs(State().MarkColour), marks);

    Click(Plot().Command4);
    EXPECT_EQ(StrokeXs(Rgb(224, 224, 224)), marks) << "each stroke painted over in the background";
    EXPECT_EQ(State().MarksShown, kFalse);
    EXPECT_FALSE(app.ListAliases().IsShown());
    Click(Plot().Command1);
    EXPECT_TRUE(StrokeXs(State().MarkColour).empty());

    State().TrialPeriod = 0.0;
    Click(Plot().Command3);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Hey, you need to select a period first!"});
    EXPECT_EQ(State().MarksShown, kTrue);
    EXPECT_EQ(StrokeXs(State().MarkColour), marks) << "the marks of the previous list";
    EXPECT_FALSE(app.ListAliases().IsShown());
}

} // namespace
} // namespace quorix
