#include "ui/frmabout.h"

#include "ftplot/frmplot_ft.h"
#include "platform/messagebox.h"
#include "support/searchedstate.h"
#include "ui/application.h"
#include "ui/frmmain.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace quorix {
namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override { app.Start(); }

    frmAbout& About() { return app.About(); }
    bool Drawn(bool (*matches)(const DrawOp& op, const SharedState& state)) {
        const auto& ops = app.PlotFT().DrawingSurface().Drawing().Ops();
        return std::any_of(ops.begin(), ops.end(),
                           [&](const DrawOp& op) { return matches(op, app.State()); });
    }
    // Makes the About window the active one, as a click on it does, then leaves it by closing it
    // or by clicking on the main window.
    void EnterAndLeaveAbout(bool closing) {
        app.ShowAbout();
        About().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&About()));
        if (closing) {
            About().close();
            return;
        }
        app.Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !About().isActiveWindow(); }));
    }

    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

constexpr auto kCurve = [](const DrawOp& op, const SharedState&) { return op.kind == DrawKind::kPolyline; };

TEST_F(AboutWindowTest, BothMenusShowTheOneWindow) {
    app.Main().m2About->trigger();
    frmAbout* first = &About();
    app.Main().m2About->trigger();
    app.PlotFT().About->trigger();
    EXPECT_EQ(&About(), first);
    EXPECT_TRUE(first->IsShown());
    const auto windows = QApplication::topLevelWidgets();
    EXPECT_EQ(
        std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<frmAbout*>(w); }),
        1);
}

TEST_F(AboutWindowTest, LeavingOrClosingItRedrawsThePlotWithoutMarks) {
    EnterAndLeaveAbout(false);
    ASSERT_TRUE(app.IsPlotFTLoaded()) << "leaving it before a search brings up the FT window";
    EXPECT_TRUE(Drawn([](const DrawOp& op, const SharedState&) { return op.kind == DrawKind::kLine; }));
    EXPECT_FALSE(Drawn(kCurve)) << "the empty frame: no curve without a search";

    testing::FillSearched(app.State());
    app.State().AliasCount = 1;
    app.State().AliasPeriods[1].Period = 0.5f;
    app.State().MarksShown = kTrue;
    for (const bool closing : {false, true}) {
        app.PlotFT().DrawingSurface().EditDrawing().Cls();
        EnterAndLeaveAbout(closing);
        EXPECT_EQ(app.IsAboutLoaded(), !closing);
        EXPECT_TRUE(app.PlotFT().IsShown()) << closing;
        EXPECT_TRUE(Drawn(kCurve)) << "the curve, closing " << closing;
        EXPECT_FALSE(Drawn([](const DrawOp& op, const SharedState& s) { return op.colour == s.MarkColour; }))
            << "no marks, closing " << closing;
    }
    EXPECT_EQ(app.State().MarksShown, kTrue) << "the marks come back with the next full redraw";
}

} // namespace
} // namespace quorix
