#include "ftplot/frmplot_ft.h"

#include "ftplot/ftrender.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorix {
namespace {

using testing::FillSearched;

int CountPolylines(const DisplayList& drawing) {
    int count = 0;
    for (const auto& op : drawing.Ops()) {
        count += op.kind == DrawKind::kPolyline;
    }
    return count;
}

TEST(FrmPlotFTTest, LoadsAtTheStoredPlacementWithoutRedrawing) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    state.FTRedrawing = kTrue; // as DrawFTAxes leaves it before it loads the window
    frmPlot_FT window(app);
    window.Load();
    EXPECT_EQ(window.Caption(), "algol_type_hjd.txt");
    EXPECT_EQ(state.ZoomFirstPending, kTrue);
    EXPECT_DOUBLE_EQ(window.Top(), 50);
    EXPECT_DOUBLE_EQ(window.Width(), 14900);
    EXPECT_DOUBLE_EQ(window.Height(), 5055);
    EXPECT_TRUE(window.DrawingSurface().Drawing().Ops().empty()) << "sizing while loading draws nothing";
}

TEST(FrmPlotFTTest, ResizeStoresThePlacementAndRedrawsAtTheNewSize) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    state.FTRedrawing = kTrue;
    frmPlot_FT window(app);
    window.Load();
    RedrawFTPlot(state, window);
    EXPECT_EQ(state.FTRedrawing, kFalse);
    EXPECT_EQ(window.CaptionOf(FTControl::kLabel1), "1.0");
    EXPECT_DOUBLE_EQ(window.ControlOf(FTControl::kText1).Top(), 3955);
    window.SetHeight(6000);
    EXPECT_EQ(state.FTWinHeight, 6000);
    EXPECT_EQ(state.PlotBottom, 6000 - 1850);
    EXPECT_DOUBLE_EQ(window.ControlOf(FTControl::kText1).Top(), 6000 - 1100);
    EXPECT_EQ(CountPolylines(window.DrawingSurface().Drawing()), 1) << "cleared, then drawn once";
}

TEST(FrmPlotFTTest, MarksComeBackWithEveryFullRedraw) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    frmPlot_FT window(app);
    window.Load();
    state.MarksShown = kTrue;
    state.AliasCount = 1;
    state.AliasPeriods[1].Period = 0.5f;
    window.SetWidth(12000);
    int marks = 0;
    for (const auto& op : window.DrawingSurface().Drawing().Ops()) {
        marks += op.colour == state.MarkColour;
    }
    EXPECT_EQ(marks, 2);
}

TEST(FrmPlotFTTest, UnloadStoresThePlacementExitOnlyHides) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    frmPlot_FT window(app);
    window.Load();
    window.Show();
    state.FTRedrawing = kTrue;
    window.SetLeft(900);
    window.mExit_Click();
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(state.FTWinLeft, 50) << "hiding stores nothing";
    window.close();
    EXPECT_EQ(state.FTWinLeft, 900);
}

TEST(FrmPlotFTTest, RestoreReturnsToTheFullView) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    frmPlot_FT window(app);
    window.Load();
    state.ViewStartIndex = 200;
    state.ViewEndIndex = 400;
    state.ViewOmegaStart = state.OmegaLow + 200 * (state.OmegaHigh - state.OmegaLow) / 1000;
    state.ViewOmegaEnd = state.OmegaLow + 400 * (state.OmegaHigh - state.OmegaLow) / 1000;
    window.Command1.Button()->click();
    EXPECT_EQ(state.ViewStartIndex, 1);
    EXPECT_EQ(state.ViewEndIndex, 1000);
    EXPECT_EQ(state.ViewOmegaEnd, state.FullOmegaEnd);
    EXPECT_TRUE(window.IsShown());
}

} // namespace
} // namespace quorix
