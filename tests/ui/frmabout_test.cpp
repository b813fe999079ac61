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
#include <regex>

namespace quorix {
namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override { app.Start(); }

    frmAbout& About() { return app.About(); }
    const DisplayList& PlotDrawing() { return app.PlotFT().DrawingSurface().Drawing(); }
    bool Drawn(DrawKind kind) {
        return std::any_of(PlotDrawing().Ops().begin(), PlotDrawing().Ops().end(),
                           [kind](const DrawOp& op) { return op.kind == kind; });
    }
    bool DrawnIn(Colour colour) {
        return std::any_of(PlotDrawing().Ops().begin(), PlotDrawing().Ops().end(),
                           [colour](const DrawOp& op) { return op.colour == colour; });
    }
    // Makes the About window the active one, as a click on it does.
    void EnterAbout() {
        About().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&About()));
    }
    // Clicks on the main window: the About window stops being the active one.
    void LeaveAbout() {
        app.Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !About().isActiveWindow(); }));
    }

    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

TEST_F(AboutWindowTest, NamesTheBuildAndAPlaceForReports) {
    app.ShowAbout();
    const std::string version = About().Label6.Caption();
    EXPECT_TRUE(std::regex_match(version, std::regex(R"(Version \d+\.\d+\.\d+, built \d{4}-\d\d-\d\d)")))
        << version;
    const std::string contact = About().Label5.Caption();
    EXPECT_EQ(contact.find('@'), std::string::npos) << "no e-mail address";
    EXPECT_EQ(contact.find("://"), std::string::npos) << "no web address";
    EXPECT_LE(About().Label5.Top() + About().Label5.Height(),
              About().DrawingSurface().height() * TwipsPerPixel())
        << "the last label fits the drawing area";
}

TEST_F(AboutWindowTest, BothMenusShowTheOneWindow) {
    app.Main().m2About->trigger();
    frmAbout* first = &About();
    app.Main().m2About->trigger();
    app.PlotFT().About->trigger();
    EXPECT_EQ(&About(), first);
    EXPECT_TRUE(first->IsShown());
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        windows += qobject_cast<frmAbout*>(widget) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(windows, 1);
}

TEST_F(AboutWindowTest, LeavingItBeforeASearchBringsUpTheEmptyFrame) {
    app.ShowAbout();
    EnterAbout();
    EXPECT_FALSE(app.IsPlotFTLoaded());
    LeaveAbout();
    ASSERT_TRUE(app.IsPlotFTLoaded());
    EXPECT_TRUE(app.PlotFT().IsShown());
    EXPECT_TRUE(Drawn(DrawKind::kLine)) << "the frame";
    EXPECT_FALSE(Drawn(DrawKind::kPolyline)) << "no curve without a search";
}

TEST_F(AboutWindowTest, LeavingOrClosingItRedrawsThePlotWithoutMarks) {
    testing::FillSearched(app.State());
    SharedState& state = app.State();
    state.AliasCount = 1;
    state.AliasPeriods[1].Period = 0.5f;
    state.MarksShown = kTrue;
    for (const bool closing : {false, true}) {
        app.PlotFT().DrawingSurface().EditDrawing().Cls();
        app.ShowAbout();
        EnterAbout();
        if (closing) {
            About().close();
            EXPECT_FALSE(app.IsAboutLoaded());
        } else {
            LeaveAbout();
        }
        EXPECT_TRUE(app.PlotFT().IsShown()) << closing;
        EXPECT_TRUE(Drawn(DrawKind::kPolyline)) << "the curve, closing " << closing;
        EXPECT_FALSE(DrawnIn(state.MarkColour)) << "no marks, closing " << closing;
    }
    EXPECT_EQ(state.MarksShown, kTrue) << "the marks come back with the next full redraw";
}

} // namespace
} // namespace quorix
