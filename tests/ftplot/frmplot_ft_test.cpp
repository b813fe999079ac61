#include "ftplot/frmplot_ft.h"

#include "ftplot/ftrender.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QApplication>

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

int CountInColour(const DisplayList& drawing, Colour colour) {
    int count = 0;
    for (const auto& op : drawing.Ops()) {
        count += op.colour == colour;
    }
    return count;
}

TEST(FrmPlotFTTest, LoadsWithoutRedrawingThenEverySizeChangeStoresAndRedrawsOnce) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    state.FTRedrawing = kTrue; // as DrawFTAxes leaves it before it loads the window
    frmPlot_FT& window = app.PlotFT();
    EXPECT_EQ(window.Caption(), "algol_type_hjd.txt");
    EXPECT_EQ(state.ZoomFirstPending, kTrue);
    EXPECT_DOUBLE_EQ(window.Top(), 50);
    EXPECT_DOUBLE_EQ(window.Width(), 14900);
    EXPECT_DOUBLE_EQ(window.Height(), 5055);
    EXPECT_TRUE(window.DrawingSurface().Drawing().Ops().empty()) << "sizing while loading draws nothing";

    RedrawFTPlot(state, window);
    EXPECT_EQ(state.FTRedrawing, kFalse);
    EXPECT_DOUBLE_EQ(window.ControlOf(FTControl::kText1).Top(), 3955);
    window.SetHeight(6000);
    EXPECT_EQ(state.FTWinHeight, 6000);
    EXPECT_EQ(state.PlotBottom, 6000 - 1850);
    EXPECT_DOUBLE_EQ(window.ControlOf(FTControl::kText1).Top(), 6000 - 1100);
    EXPECT_EQ(CountPolylines(window.DrawingSurface().Drawing()), 1) << "cleared, then drawn once";

    // The user drags the frame: the new place is stored and the marks come back with the redraw.
    state.MarksShown = kTrue;
    state.AliasCount = 1;
    state.AliasPeriods[1].Period = 0.5f;
    window.show();
    window.resize(window.width() - 100, window.height());
    QApplication::processEvents();
    EXPECT_EQ(state.FTWinWidth, std::lround(window.Width()));
    EXPECT_LT(state.FTWinWidth, 14900 - 1000);
    EXPECT_EQ(state.PlotRight, state.FTWinWidth - 415);
    EXPECT_EQ(CountPolylines(window.DrawingSurface().Drawing()), 1);
    EXPECT_EQ(CountInColour(window.DrawingSurface().Drawing(), state.MarkColour), 2);
}

TEST(FrmPlotFTTest, UnloadStoresThePlacementExitOnlyHidesRestoreRedraws) {
    Application app;
    SharedState& state = app.State();
    FillSearched(state);
    frmPlot_FT& window = app.PlotFT();
    window.Show();
    state.ViewStartIndex = 200;
    state.ViewOmegaStart = state.OmegaLow + 200 * (state.OmegaHigh - state.OmegaLow) / 1000;
    window.Command1.Button()->click();
    EXPECT_EQ(state.ViewStartIndex, 1);
    EXPECT_EQ(state.ViewOmegaStart, state.FullOmegaStart);
    EXPECT_EQ(CountPolylines(window.DrawingSurface().Drawing()), 1);

    state.FTRedrawing = kTrue;
    window.SetLeft(900);
    window.mExit_Click();
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(state.FTWinLeft, 50) << "hiding stores nothing";
    window.close();
    EXPECT_EQ(state.FTWinLeft, 900);
    EXPECT_FALSE(app.IsPlotFTLoaded());
}

} // namespace
} // namespace quorix
