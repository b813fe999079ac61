#include "ocdiagram/frmplot_ocdiag.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "state/numbertext.h"
#include "support/observedstate.h"
#include "ui/application.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace quorix {
namespace {

class OCWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::FillObserved(State(), testing::kThreeMinima, 0);
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

    // Moves the O-C window with its resizes held off, so that only a later resize or closing stores it.
    void MoveWithoutRedraw(double left) {
        State().OCWinLoading = kTrue;
        PlotOC().SetLeft(left);
        State().OCWinLoading = kFalse;
    }

    std::size_t OCDrawingSize() { return PlotOC().DrawingSurface().Drawing().Ops().size(); }
    std::string PeriodShown() { return PlotOC().Label7.Caption(); }

    Application app;
};

TEST_F(OCWindowTest, LeftClickOnThePlotTakesThePeriodUnderThePointer) {
    const double left = State().PlotLeft, right = State().PlotRight, top = State().PlotTop,
                 bottom = State().PlotBottom, middle = (top + bottom) / 2;
    const double longest = State().TwoPi / State().ViewOmegaStart;
    const double shortest = State().TwoPi / State().ViewOmegaEnd;
    const struct {
        const char* what;
        Qt::MouseButton button;
        double x, y;
        double period; // 0: the click is ignored
    } cases[] = {
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
        EXPECT_DOUBLE_EQ(State().TrialPeriod, c.period) << c.what;
        if (c.period != 0) {
            ASSERT_TRUE(app.IsPlotOCLoaded() && PlotOC().IsShown()) << c.what;
            EXPECT_EQ(PeriodShown(), FormatPattern(c.period, "0.000000")) << c.what;
        }
    }
    EXPECT_EQ(PlotFT().Text1.Text(), "") << "a click leaves the period box alone";

    State().FTComputed = kFalse;
    State().TrialPeriod = 0;
    PressOnFTPlot(Qt::LeftButton, left, middle);
    EXPECT_EQ(State().TrialPeriod, 0) << "no click before a search";
}

TEST_F(OCWindowTest, UpdateTakesTheTypedPeriodAndRefusesOnesThatCannotBeCounted) {
    UpdateWith("1e-9");
    EXPECT_FALSE(app.IsPlotOCLoaded()) << "a refused first period brings up no window";
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

TEST_F(OCWindowTest, LoadsAtTheStoredPlaceAndStoresResizesAndClosingButNotExit) {
    State().OCWinTop = 4000;
    frmPlot_OCdiag& window = PlotOC();
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(std::make_tuple(window.Top(), window.Left(), window.Height(), window.Width()),
              std::make_tuple(4000.0, 6700.0, 5500.0, 7000.0));
    EXPECT_TRUE(window.DrawingSurface().Drawing().Ops().empty()) << "loading draws nothing";

    UpdateWith("1");
    MoveWithoutRedraw(3000);
    window.Text1.SetText("typed");
    window.SetHeight(6000);
    EXPECT_EQ(std::make_tuple(State().OCWinLeft, State().OCWinHeight, State().OCPlotBottom),
              std::make_tuple(3000, 6000, 6000 - 1350));
    for (Control* c : std::initializer_list<Control*>{&window.Label5, &window.Label7, &window.Label6,
                                                      &window.Text1, &window.Command1}) {
        EXPECT_DOUBLE_EQ(c->Top(), 6000 - 1100);
    }
    EXPECT_EQ(window.Text1.Text(), "0.01599") << "typed text goes at the next drawing";

    window.mExit_Click();
    EXPECT_FALSE(window.IsShown());
    UpdateWith("0.5");
    EXPECT_TRUE(window.IsShown()) << "the next period brings it back";
    EXPECT_EQ(PeriodShown(), "0.500000");
    MoveWithoutRedraw(2000);
    EXPECT_EQ(State().OCWinLeft, 3000);
    window.close();
    EXPECT_FALSE(app.IsPlotOCLoaded());
    EXPECT_EQ(State().OCWinLeft, 2000);
    UpdateWith("1");
    EXPECT_TRUE(PlotOC().IsShown());
    EXPECT_DOUBLE_EQ(PlotOC().Left(), 2000);
}

} // namespace
} // namespace quorix
