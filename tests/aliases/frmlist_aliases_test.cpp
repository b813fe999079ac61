#include "aliases/frmlist_aliases.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QFontMetrics>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

namespace quorix {
namespace {

// The window shows AliasLines 1..AliasLineCount down from its top-left corner, one per line height.
void ExpectListShown(frmList_Aliases& window, const SharedState& state) {
    const auto& ops = window.DrawingSurface().Drawing().Ops();
    ASSERT_EQ(static_cast<int>(ops.size()), state.AliasLineCount);
    const float pitch = ops[1].from.y;
    EXPECT_TRUE(pitch > 0 && pitch <= 260) << pitch;
    for (int i = 0; i < state.AliasLineCount; ++i) {
        EXPECT_EQ(ops[i].text, state.AliasLines[i + 1]);
        EXPECT_EQ(ops[i].from, (TwipPoint{0, i * pitch}));
    }
}

TEST(FrmListAliasesTest, MarkPlacesTheListSizedForItsLinesAndClearOrClosingStoresThePlace) {
    MessageRecorder messages;
    Application app;
    const SharedState& state = app.State();
    testing::FillSearched(app.State(), 0.6, 1.3);
    RedrawFTPlot(app.State(), app.PlotFTView());
    const auto click = [](CommandButton& button) { QTest::mouseClick(button.Button(), Qt::LeftButton); };
    const auto mark = [&](double trial) {
        app.State().TrialPeriod = trial;
        click(app.PlotFT().Command3);
    };

    click(app.PlotFT().Command4); // before any Mark: the place of a window never shown
    frmList_Aliases& window = app.ListAliases();
    EXPECT_EQ(
        std::make_tuple(state.AliasWinTop, state.AliasWinLeft, state.AliasWinHeight, state.AliasWinWidth),
        std::make_tuple(50, 14950, 6000, 3600));

    mark(1.1);
    EXPECT_EQ(std::make_tuple(window.Left(), window.Top(), window.Height()),
              std::make_tuple(14950.0, 50.0, 12 * 260.0));
    EXPECT_GT(window.Width(), 3600.0) << "widened from the remembered 3600, which cuts the header";
    EXPECT_GE(window.DrawingSurface().width(),
              QFontMetrics(window.DrawingSurface().font())
                  .horizontalAdvance(QString::fromStdString(state.AliasLines[2])))
        << state.AliasLines[2];
    EXPECT_EQ(state.AliasWinWidth, std::lround(window.Width())) << "stored by the resize";
    EXPECT_EQ(state.AliasWinHeight, 12 * 260) << "stored by the resize";
    ExpectListShown(window, state);
    window.resize(window.size() + QSize(40, 60)); // as the user drags the frame
    EXPECT_EQ(std::make_tuple(state.AliasWinWidth, state.AliasWinHeight),
              std::make_tuple(window.Width(), window.Height()));

    // Clear stores the place even of a minimised window; the next Mark brings it back before placing
    // it, keeping the width made by hand but sizing it for its lines again.
    window.SetTop(700);
    window.showMinimized();
    click(app.PlotFT().Command4);
    EXPECT_EQ(state.AliasWinTop, 700);
    mark(1.1);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_EQ(std::make_tuple(window.Top(), window.Width(), window.Height()),
              std::make_tuple(700.0, static_cast<double>(state.AliasWinWidth), 12 * 260.0));
    ASSERT_NE(state.AliasWinWidth, 3600);

    window.SetLeft(40000);
    window.Aexit->trigger();
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(state.AliasWinLeft, 14950) << "neither the move nor Exit stores the place";
    mark(1.1);
    window.SetLeft(40000);
    window.close();
    EXPECT_FALSE(app.IsListAliasesLoaded());
    EXPECT_EQ(state.AliasWinLeft, 32767) << "closing stores it, held to 16 bits";
}

} // namespace
} // namespace quorix
