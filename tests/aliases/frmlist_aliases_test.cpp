#include "aliases/frmlist_aliases.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace quorix {
namespace {

// The program after a search over `pMin`..`pMax`, with the FT plot on screen.
struct Searched {
    Searched(double pMin, double pMax) {
        testing::FillSearched(app.State(), pMin, pMax);
        RedrawFTPlot(app.State(), app.PlotFTView());
    }
    void Click(CommandButton& button) { QTest::mouseClick(button.Button(), Qt::LeftButton); }
    void Mark(double trial) {
        app.State().TrialPeriod = trial;
        Click(app.PlotFT().Command3);
    }
    frmList_Aliases& List() { return app.ListAliases(); }

    MessageRecorder messages;
    Application app;
};

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

TEST(FrmListAliasesTest, MarkPlacesTheListWithAHeightForItsLinesKeepingAWidthMadeByHand) {
    Searched program(0.6, 1.3);
    const SharedState& state = program.app.State();
    program.Mark(1.1);
    frmList_Aliases& window = program.List();
    EXPECT_TRUE(window.IsShown());
    EXPECT_EQ(window.DrawingSurface().Snapshot().pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(std::make_tuple(window.Left(), window.Top(), window.Width(), window.Height()),
              std::make_tuple(14950.0, 50.0, 3600.0, 12 * 260.0));
    EXPECT_EQ(state.AliasWinHeight, 12 * 260) << "stored by the resize";
    ExpectListShown(window, state);
    window.resize(window.size() + QSize(40, 60)); // as the user drags the frame
    EXPECT_EQ(std::make_tuple(state.AliasWinWidth, state.AliasWinHeight),
              std::make_tuple(window.Width(), window.Height()));
    ExpectListShown(window, state);
    window.DrawingSurface().EditDrawing().Cls();
    QApplication::setActiveWindow(&window);
    ExpectListShown(window, state); // getting the focus prints the lines again
    program.Mark(0.8);
    ASSERT_NE(state.AliasLineCount, 12);
    EXPECT_EQ(std::make_tuple(window.Width(), window.Height()),
              std::make_tuple(static_cast<double>(state.AliasWinWidth), state.AliasLineCount * 260.0));
    ExpectListShown(window, state);

    window.SetLeft(40000);
    window.Aexit->trigger();
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(state.AliasWinLeft, 14950) << "neither the move nor Exit stores the place";
    program.Mark(1.1);
    EXPECT_EQ(std::make_tuple(program.List().Left(), program.List().Height()),
              std::make_tuple(14950.0, 12 * 260.0))
        << "Mark puts it back in its stored place, sized for the same lines";
    program.List().SetLeft(40000);
    program.List().close();
    EXPECT_FALSE(program.app.IsListAliasesLoaded());
    EXPECT_EQ(state.AliasWinLeft, 32767) << "closing stores it, held to 16 bits";
}

TEST(FrmListAliasesTest, ClearStoresThePlaceAndHidesTheList) {
    Searched never(0.6, 1.3);
    never.Click(never.app.PlotFT().Command4);
    EXPECT_TRUE(never.app.IsListAliasesLoaded()) << "reading its place loads it";
    EXPECT_FALSE(never.List().IsShown());
    const SharedState& unchanged = never.app.State();
    EXPECT_EQ(std::make_tuple(unchanged.AliasWinTop, unchanged.AliasWinLeft, unchanged.AliasWinHeight,
                              unchanged.AliasWinWidth),
              std::make_tuple(50, 14950, 6000, 3600));

    Searched program(0.6, 1.3);
    program.Mark(1.1);
    program.List().SetTop(700);
    program.List().showMinimized();
    ASSERT_TRUE(program.List().isMinimized());
    program.Click(program.app.PlotFT().Command4);
    EXPECT_EQ(program.app.State().AliasWinTop, 700);
    EXPECT_FALSE(program.List().IsShown());
    program.Mark(1.1);
    EXPECT_FALSE(program.List().isMinimized()) << "brought back before it is placed";
    EXPECT_EQ(program.List().Top(), 700);
}

} // namespace
} // namespace quorix
