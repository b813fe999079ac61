#include "ocdiagram/frmplot_ocdiag.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "state/numbertext.h"
#include "support/searchedstate.h"
#include "ui/application.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace quorix {
namespace {

class OCWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::FillSearched(State());
        const double times[] = {50000.0, 50002.01, 50003.98};
        State().ObsCount = 3;
        for (int i = 0; i < 3; ++i) {
            State().ObsTimes[i + 1] = times[i];
        }
        State().BaseTime = 50000.0;
        RedrawFTPlot(State(), app.PlotFTView());
    }

    SharedState& State() { return app.State(); }
    frmPlot_FT& PlotFT() { return app.PlotFT(); }
    frmPlot_OCdiag& PlotOC() { return app.PlotOC(); }

    // A real mouse press on the FT plot's surface at a position given in twips; the pixel position
    // may fall between pixels, so that the frame lines themselves can be hit.
    void PressOnFTPlot(Qt::MouseButton button, double xTwips, double yTwips) {
        Surface& surface = PlotFT().DrawingSurface();
        const QPointF at(xTwips / PixelsToTwips(1), yTwips / PixelsToTwips(1));
        QMouseEvent press(QEvent::MouseButtonPress, at, surface.mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&surface, &press);
    }

    void UpdateWith(const std::string& text) {
        PlotFT().Text1.SetText(text);
        PlotFT().Command2.Button()->click();
    }

    std::size_t OCDrawingSize() { return PlotOC().DrawingSurface().Drawing().Ops().size(); }
    std::string PeriodShown() { return PlotOC().Label7.Caption(); }

    Application app;
};

TEST_F(OCWindowTest, LoadsWithItsDesignAtTheStoredPlacementWithoutDrawing) {
    State().OCWinTop = 4000;
    frmPlot_OCdiag& window = PlotOC();
    EXPECT_EQ(window.Caption(), "O-C Diagram");
    EXPECT_FALSE(window.IsShown());
    EXPECT_DOUBLE_EQ(window.Top(), 4000);
    EXPECT_DOUBLE_EQ(window.Left(), 6700);
    EXPECT_DOUBLE_EQ(window.Height(), 5500);
    EXPECT_DOUBLE_EQ(window.Width(), 7000);
    EXPECT_TRUE(window.DrawingSurface().Drawing().Ops().empty());
    EXPECT_EQ(State().OCWinHeight, 5500) << "the sizes made while loading store nothing";
    EXPECT_EQ(State().OCWinLoading, kTrue);
}

TEST_F(OCWindowTest, LeftClickOnThePlotTakesThePeriodUnderThePointer) {
    const double left = State().PlotLeft, right = State().PlotRight, top = State().PlotTop,
                 bottom = State().PlotBottom, middle = (top + bottom) / 2;
    const double longest = State().TwoPi / State().ViewOmegaStart;
    const double shortest = State().TwoPi / State().ViewOmegaEnd;
    struct Case {
        const char* what;
        Qt::MouseButton button;
        double x, y;
        double period; // 0: the click is ignored
    } const cases[] = {
        {"left frame line", Qt::LeftButton, left, middle, longest},
        {"right frame line", Qt::LeftButton, right, middle, shortest},
        {"top frame line", Qt::LeftButton, left, top, longest},
        {"bottom frame line", Qt::LeftButton, right, bottom, shortest},
        {"left of the frame", Qt::LeftButton, left - 15, middle, 0},
        {"below the frame", Qt::LeftButton, right, bottom + 15, 0},
        {"middle button", Qt::MiddleButton, left, middle, 0},
    };
    for (const auto& c : cases) {
        State().TrialPeriod = 0;
        PressOnFTPlot(c.button, c.x, c.y);
        if (c.period == 0) {
            EXPECT_EQ(State().TrialPeriod, 0) << c.what;
            continue;
        }
        EXPECT_DOUBLE_EQ(State().TrialPeriod, c.period) << c.what;
        ASSERT_TRUE(app.IsPlotOCLoaded()) << c.what;
        EXPECT_TRUE(PlotOC().IsShown()) << c.what;
        EXPECT_EQ(PeriodShown(), FormatPattern(c.period, "0.000000")) << c.what;
        EXPECT_EQ(State().OCWinLoading, kFalse) << c.what;
    }
    EXPECT_EQ(PlotFT().Text1.Text(), "") << "a click leaves the period box alone";

    State().FTComputed = kFalse;
    State().TrialPeriod = 0;
    PressOnFTPlot(Qt::LeftButton, left, middle);
    EXPECT_EQ(State().TrialPeriod, 0) << "no click before a search";
}

TEST_F(OCWindowTest, UpdateTakesTheTypedPeriodAndRefusesOnesThatCannotBeCounted) {
    UpdateWith(" 1.0 days");
    EXPECT_EQ(State().TrialPeriod, 1.0);
    EXPECT_EQ(PeriodShown(), "1.000000");
    EXPECT_EQ(PlotOC().Text1.Text(), "0.01599");
    const std::size_t drawn = OCDrawingSize();
    for (const char* text : {"1e-9", "0", "-2", "abc", "1e999"}) {
        UpdateWith(text);
        EXPECT_EQ(State().TrialPeriod, ReadLeadingNumber(text)) << text;
        EXPECT_EQ(PeriodShown(), "1.000000") << text;
        EXPECT_EQ(OCDrawingSize(), drawn) << text;
    }
    PlotOC().Command1.Button()->click();
    EXPECT_EQ(PeriodShown(), "1.000000") << "a redraw shows the diagram's own period";
    EXPECT_EQ(OCDrawingSize(), drawn);
}

TEST_F(OCWindowTest, ResizeStoresThePlacementAndMovesTheReadOuts) {
    UpdateWith("1");
    frmPlot_OCdiag& window = PlotOC();
    window.Text1.SetText("typed");
    window.SetHeight(6000);
    EXPECT_EQ(State().OCWinHeight, 6000);
    EXPECT_EQ(State().OCPlotBottom, 6000 - 1350);
    for (Control* c : std::initializer_list<Control*>{&window.Label5, &window.Label7, &window.Label6,
                                                      &window.Text1, &window.Command1}) {
        EXPECT_DOUBLE_EQ(c->Top(), 6000 - 1100);
    }
    EXPECT_EQ(window.Text1.Text(), "0.01599") << "typed text goes at the next drawing";
}

TEST_F(OCWindowTest, ExitHidesAndCloseUnloadsAndTheNextPeriodBringsItBack) {
    UpdateWith("1");
    PlotOC().mExit_Click();
    EXPECT_FALSE(PlotOC().IsShown());
    UpdateWith("0.5");
    EXPECT_TRUE(PlotOC().IsShown());
    EXPECT_EQ(PeriodShown(), "0.500000");

    State().OCWinLoading = kTrue; // move it without a redraw
    PlotOC().SetLeft(3000);
    State().OCWinLoading = kFalse;
    EXPECT_EQ(State().OCWinLeft, 6700);
    PlotOC().close();
    EXPECT_FALSE(app.IsPlotOCLoaded());
    EXPECT_EQ(State().OCWinLeft, 3000);
    UpdateWith("1");
    EXPECT_TRUE(PlotOC().IsShown());
    EXPECT_DOUBLE_EQ(PlotOC().Left(), 3000);
}

} // namespace
} // namespace quorix
