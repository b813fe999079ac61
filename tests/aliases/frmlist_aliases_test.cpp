#include "aliases/frmlist_aliases.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
#include "state/numbertext.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quorix {
namespace {

// A program after a search over `pMin`..`pMax`, with the FT plot on screen.
struct Searched {
    Searched(double pMin, double pMax) {
        testing::FillSearched(app.State(), pMin, pMax);
        RedrawFTPlot(app.State(), app.PlotFTView());
    }
    void Mark(double trial) {
        app.State().TrialPeriod = trial;
        QTest::mouseClick(app.PlotFT().Command3.Button(), Qt::LeftButton);
    }
    SharedState& State() { return app.State(); }
    frmList_Aliases& List() { return app.ListAliases(); }

    MessageRecorder messages;
    Application app;
};

// Checks that the window shows AliasLines 1..AliasLineCount down from its top-left corner.
void ExpectListShown(frmList_Aliases& window, const SharedState& state) {
    const auto& ops = window.DrawingSurface().Drawing().Ops();
    ASSERT_EQ(static_cast<int>(ops.size()), state.AliasLineCount);
    const float pitch = state.AliasLineCount > 1 ? ops[1].from.y : 0;
    EXPECT_GT(pitch, 0);
    EXPECT_LE(pitch, 260) << "a line fits the height the window gives it";
    for (int i = 0; i < state.AliasLineCount; ++i) {
        EXPECT_EQ(ops[i].text, state.AliasLines[i + 1]);
        EXPECT_EQ(ops[i].from, (TwipPoint{0, i * pitch}));
    }
}

TEST(FrmListAliasesTest, MarkPlacesTheListWithAHeightForItsLines) {
    const struct {
        double trial, pMin, pMax;
        int lines;
    } cases[] = {{0.8, 0.2, 1.0, 26}, {1.1, 0.6, 1.3, 12}, {10.0, 0.2, 0.21, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        Searched program(c.pMin, c.pMax);
        program.Mark(c.trial);
        frmList_Aliases& window = program.List();
        EXPECT_TRUE(window.IsShown());
        EXPECT_EQ(window.Caption(), "Alias Periods");
        EXPECT_EQ(window.DrawingSurface().Snapshot().pixelColor(5, 5), QColor(255, 255, 255));
        EXPECT_DOUBLE_EQ(window.Left(), 14950);
        EXPECT_DOUBLE_EQ(window.Top(), 50);
        EXPECT_DOUBLE_EQ(window.Width(), 3600);
        EXPECT_DOUBLE_EQ(window.Height(), c.lines * 260);
        EXPECT_EQ(program.State().AliasWinHeight, c.lines * 260) << "the resize stores the new height";
        EXPECT_EQ(program.State().AliasLineCount, c.lines);
        ExpectListShown(window, program.State());
    }
}

TEST(FrmListAliasesTest, AResizeByHandReprintsAndStoresTheNextMarkSetsTheHeightAgain) {
    Searched program(0.6, 1.3);
    program.Mark(1.1);
    frmList_Aliases& window = program.List();
    window.resize(window.size() + QSize(40, 60));
    EXPECT_EQ(program.State().AliasWinWidth, RoundClampInt16(window.Width()));
    EXPECT_EQ(program.State().AliasWinHeight, RoundClampInt16(window.Height()));
    ExpectListShown(window, program.State());
    const double width = window.Width();
    window.DrawingSurface().Cls();
    QApplication::setActiveWindow(&window);
    ExpectListShown(window, program.State()); // getting the focus reprints too
    program.Mark(1.1);
    EXPECT_DOUBLE_EQ(window.Width(), width);
    EXPECT_DOUBLE_EQ(window.Height(), 12 * 260);
}

TEST(FrmListAliasesTest, ExitOnlyHidesClosingStoresThePlacementHeldToSixteenBits) {
    Searched program(0.6, 1.3);
    program.Mark(1.1);
    frmList_Aliases& window = program.List();
    QMenu* file = window.menuBar()->actions().at(0)->menu();
    ASSERT_EQ(file->actions().size(), 4);
    EXPECT_EQ(file->actions()[0], window.APrint_Setup);
    EXPECT_EQ(window.APrint_Setup->text(), "Print Setup ...");
    EXPECT_EQ(window.Aprint->text(), "Print");
    EXPECT_TRUE(file->actions()[2]->isSeparator());
    EXPECT_EQ(window.Aexit->text(), "Exit");

    window.SetLeft(2000);
    window.Aexit->trigger();
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(program.State().AliasWinLeft, 14950) << "a move and Exit store nothing";
    program.Mark(1.1);
    EXPECT_DOUBLE_EQ(program.List().Left(), 14950);

    program.List().SetLeft(40000);
    program.List().close();
    EXPECT_FALSE(program.app.IsListAliasesLoaded());
    EXPECT_EQ(program.State().AliasWinLeft, 32767);
}

TEST(FrmListAliasesTest, ClearStoresThePlacementAndHidesTheList) {
    Searched never(0.6, 1.3);
    QTest::mouseClick(never.app.PlotFT().Command4.Button(), Qt::LeftButton);
    EXPECT_TRUE(never.app.IsListAliasesLoaded()) << "reading its placement loads it";
    EXPECT_FALSE(never.List().IsShown());
    EXPECT_EQ(never.State().AliasWinTop, 50);
    EXPECT_EQ(never.State().AliasWinLeft, 14950);
    EXPECT_EQ(never.State().AliasWinHeight, 6000);
    EXPECT_EQ(never.State().AliasWinWidth, 3600);

    Searched program(0.6, 1.3);
    program.Mark(1.1);
    program.List().SetTop(700);
    program.List().showMinimized();
    ASSERT_TRUE(program.List().isMinimized());
    QTest::mouseClick(program.app.PlotFT().Command4.Button(), Qt::LeftButton);
    EXPECT_EQ(program.State().AliasWinTop, 700);
    EXPECT_FALSE(program.List().IsShown());
    program.Mark(1.1);
    EXPECT_FALSE(program.List().isMinimized()) << "brought back before it is placed";
    EXPECT_TRUE(program.List().IsShown());
    EXPECT_DOUBLE_EQ(program.List().Top(), 700);
}

} // namespace
} // namespace quorix
