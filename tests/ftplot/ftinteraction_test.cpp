#include "ftplot/frmplot_ft.h"

#include "aliases/frmlist_aliases.h"
#include "ftplot/ftpointer.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
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
class FTInteractionTest : public ::testing::Test {
protected:
    void Search(double pMin, double pMax, int steps = 1000) {
        testing::FillSearched(State(), pMin, pMax, steps);
        State().FTWinWidth = 14905;
        State().FTWinHeight = 5060;
        RedrawFTPlot(State(), app.PlotFTView());
    }
    void SetUp() override { Search(0.2, 1.2); }
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
        std::vector<float> xs;
        for (const auto& op : Drawing().Ops()) {
            if (op.kind == DrawKind::kLine && op.colour == colour) {
                xs.push_back(op.from.x);
            }
        }
        return xs;
    }
    int CurvePoints() {
        int points = 0;
        for (const auto& op : Drawing().Ops()) {
            points += op.kind == DrawKind::kPolyline ? static_cast<int>(op.pointCount) : 0;
        }
        return points;
    }

    MessageRecorder messages;
    Application app;
};

TEST_F(FTInteractionTest, ReadOutShowsTheFirstEightCharactersStrictlyInsideThePlot) {
    const struct {
        double period;
        const char* text;
    } cases[] = {
        {0.5234567891, " .523456"}, {12.3456789, " 12.3456"}, {0.5, " .5"}, {0.0523456789, " .052345"}};
    QApplication::setActiveWindow(&Plot()); // its redraw on getting the focus is over before the moves
    int px = 500;
    for (const auto& c : cases) {
        // A view without width reads the same period everywhere.
        State().ViewOmegaStart = State().ViewOmegaEnd = State().TwoPi / c.period;
        Move(++px, 100);
        EXPECT_EQ(Plot().Text1.Text(), c.text);
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

TEST_F(FTInteractionTest, ZoomPairNarrowsToTheTwoIndicesInEitherOrder) {
    Press(Qt::RightButton, 200);
    EXPECT_EQ(State().ZoomFirstPending, kFalse);
    EXPECT_EQ(State().ZoomIndexFirst, PointerGridIndex(State(), 3000));
    const DrawOp& line = Drawing().Ops().back();
    EXPECT_EQ(std::make_tuple(line.colour, line.from, line.to),
              std::make_tuple(Rgb(255, 0, 0), TwipPoint{3000, 242}, TwipPoint{3000, 3210}));
    const std::int32_t last = PointerGridIndex(State(), 9000);
    Press(Qt::RightButton, 600);
    EXPECT_EQ(State().ZoomFirstPending, kTrue);
    EXPECT_EQ(State().ViewStartIndex, State().ZoomIndexFirst);
    EXPECT_EQ(State().ViewEndIndex, last);
    EXPECT_EQ(CurvePoints(), last - State().ZoomIndexFirst + 1);
    EXPECT_TRUE(StrokeXs(Rgb(255, 0, 0)).empty()) << "the full redraw takes the red line away";
    const auto leftToRight = View();

    State().StepCount = 999999; // a rejected entry of a failed "Compute"
    Click(Plot().Command1);
    EXPECT_TRUE(ShowsFullView()) << "Restore stays on the grid of the last completed search";
    Zoom(600, 200);
    EXPECT_EQ(View(), leftToRight);
}

TEST_F(FTInteractionTest, IndicesStayAbsoluteAcrossRestoreAndSuccessiveZooms) {
    Zoom(100, 900);
    const auto first = View();
    Zoom(300, 700);
    EXPECT_GT(State().ViewOmegaStart, std::get<2>(first));
    EXPECT_LT(State().ViewOmegaEnd, std::get<3>(first));
    EXPECT_LT(State().ViewEndIndex - State().ViewStartIndex, std::get<1>(first) - std::get<0>(first));

    Press(Qt::RightButton, 100); // first of a pair, in the zoomed view
    const std::int32_t stored = State().ZoomIndexFirst;
    Click(Plot().Command1);
    EXPECT_EQ(State().ZoomFirstPending, kFalse) << "Restore leaves the pair alone";
    Press(Qt::RightButton, 900); // second, in the full view
    EXPECT_EQ(State().ViewStartIndex, stored);
    const double fullStep = (State().OmegaHigh - State().OmegaLow) / (1000 - 1);
    EXPECT_NEAR(State().ViewOmegaStart, State().OmegaLow + fullStep * (stored - 1), 1e-12);
}

TEST_F(FTInteractionTest, CollapsedAndTooNarrowZoomsEndInTheFullView) {
    for (const auto& [pMin, pMax, toPx] : {std::tuple{0.2, 1.2, 400}, std::tuple{1.0, 1.001, 401}}) {
        Search(pMin, pMax);
        for (int repeat = 0; repeat < 20; ++repeat) {
            Zoom(400, toPx);
            ASSERT_TRUE(ShowsFullView());
            ASSERT_EQ(State().ZoomFirstPending, kTrue);
            ASSERT_EQ(CurvePoints(), 1000);
        }
    }
}

TEST_F(FTInteractionTest, ClicksThatDoNotZoom) {
    Press(Qt::RightButton, 966); // the frame line counts for clicks
    EXPECT_EQ(State().ZoomIndexFirst, 1000);
    const auto before = std::make_tuple(State().ZoomFirstPending, Drawing().Ops().size());
    Press(Qt::RightButton, 10, 10);
    Press(Qt::MiddleButton, 500);
    State().FTComputed = kFalse;
    Press(Qt::RightButton, 500);
    EXPECT_EQ(std::make_tuple(State().ZoomFirstPending, Drawing().Ops().size()), before);
}

TEST_F(FTInteractionTest, MarksComeBackWithEveryFullRedrawUntilCleared) {
    State().TrialPeriod = 0.8;
    Click(Plot().Command3);
    ASSERT_GT(State().AliasCount, 20);
    Plot().SetWidth(14000);
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
