#include "ftplot/frmplot_ft.h"
#include "support/searchedstate.h"
#include "support/startedapp.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quorix {
namespace {

class HelpAboutTest : public testing::StartedApp {
protected:
    std::vector<double> Tops() {
        return {app.Help().Label1(1).Top(), app.Help().Label1(2).Top(), app.Help().Label1(3).Top(),
                app.Help().Label1(4).Top(), app.Help().Height()};
    }
    bool Drawn(bool (*matches)(const DrawOp& op, const SharedState& state)) {
        const auto& ops = app.PlotFT().DrawingSurface().Drawing().Ops();
        return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) { return matches(op, State()); });
    }
};

TEST_F(HelpAboutTest, BothMenusShowTheOneHelpWhoseHeightFollowsItsParagraphsAndItsWidth) {
    State().HelpParagraphCount = 4;
    app.PlotFT().HelpFourier->trigger();
    app.Main().m2Fourier_help->trigger();
    EXPECT_EQ(Count<frmHelp>(), 1) << "both windows' menus show the one help";
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(app.Help().Label1(k).Visible(), k <= 4) << "paragraph " << k;
    }
    // The paragraphs are 758, 556, 760 and 471 characters long.
    app.Help().SetWidth(14500);
    const std::vector<double> layout{500, 1775, 2790, 4067, 5359};
    EXPECT_EQ(Tops(), layout);
    app.Help().SetHeight(9000);
    EXPECT_EQ(Tops(), layout) << "a height of the user's is replaced at once";
    app.Help().close();
    EXPECT_FALSE(app.IsHelpLoaded()) << "closed by its frame, the window is let go";
    app.Main().m2Fourier_help->trigger();
    EXPECT_EQ(app.Help().Label1(2).Caption(), State().HelpParagraphs[2]);

    // The width is held to 3000..32767, so that every label is wide and every place fits 16 bits;
    // the frame and whole pixels add a little.
    const struct {
        double width, fewest, most;
    } widths[] = {{100, 2500, 2600}, {7000, 6480, 6520}, {40000, 32200, 32267}};
    for (const auto [width, fewest, most] : widths) {
        app.Help().SetWidth(width);
        EXPECT_GE(app.Help().Label1(1).Width(), fewest) << width;
        EXPECT_LE(app.Help().Label1(1).Width(), most) << width;
        EXPECT_GT(app.Help().Height(), app.Help().Label1(4).Top()) << width;
        EXPECT_LE(app.Help().Height(), 32767) << width;
    }
}

TEST_F(HelpAboutTest, ANarrowHelpShowsTheWholeTitleAndEveryParagraphToItsLastLine) {
    State().HelpParagraphCount = 4;
    app.Main().m2Fourier_help->trigger();
    frmHelp& help = app.Help();
    help.SetWidth(4500); // 300 pixels
    const auto wrapped = [](Label& label) {
        return PixelsToTwips(label.Widget()->heightForWidth(label.Widget()->width()));
    };
    EXPECT_GE(help.Label0.Height(), wrapped(help.Label0)) << "the title wraps instead of being clipped";
    double bottom = help.Label0.Top() + help.Label0.Height();
    for (int k = 1; k <= 4; ++k) {
        Label& paragraph = help.Label1(k);
        EXPECT_GE(paragraph.Top(), bottom) << k;
        EXPECT_GE(paragraph.Height(), wrapped(paragraph)) << "paragraph " << k << " is not cut";
        bottom = paragraph.Top() + paragraph.Height();
    }
    EXPECT_LE(bottom, PixelsToTwips(help.DrawingSurface().height())) << "the window holds them all";
}

TEST_F(HelpAboutTest, LeavingOrClosingTheAboutRedrawsThePlotWithoutMarks) {
    // Makes the About window the active one, as a click on it does, then leaves it by closing it or
    // by clicking on the main window.
    const auto enterAndLeave = [this](QAction* about, bool closing) {
        about->trigger();
        ASSERT_EQ(Count<frmAbout>(), 1) << "both windows' menus show the one About";
        app.About().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app.About()));
        if (closing) {
            app.About().close();
            return;
        }
        app.Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !app.About().isActiveWindow(); }));
    };
    const auto curve = [](const DrawOp& op, const SharedState&) { return op.kind == DrawKind::kPolyline; };
    enterAndLeave(app.Main().m2About, false);
    ASSERT_TRUE(app.IsPlotFTLoaded()) << "leaving it before a search brings up the FT window";
    EXPECT_FALSE(Drawn(curve)) << "the empty frame: no curve without a search";

    testing::FillSearched(State());
    State().AliasCount = 1;
    State().AliasPeriods[1].Period = 0.5f;
    State().MarksShown = kTrue;
    for (const bool closing : {false, true}) {
        app.PlotFT().DrawingSurface().EditDrawing().Cls();
        enterAndLeave(app.PlotFT().About, closing);
        EXPECT_EQ(app.IsAboutLoaded(), !closing);
        EXPECT_TRUE(Drawn(curve)) << "the curve, closing " << closing;
        EXPECT_FALSE(Drawn([](const DrawOp& op, const SharedState& s) { return op.colour == s.MarkColour; }))
            << "no marks, closing " << closing;
    }
    EXPECT_EQ(State().MarksShown, kTrue) << "the marks come back with the next full redraw";
}

} // namespace
} // namespace quorix
