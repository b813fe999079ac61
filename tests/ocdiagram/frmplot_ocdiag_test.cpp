#include "ocdiagram/frmplot_ocdiag.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "support/observedstate.h"
#include "ui/application.h"

#include <QApplication>
#include <QFontMetrics>
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

    // A real mouse press on the FT plot at a position in twips, between pixels where the frame lines are.
    void PressOnFTPlot(Qt::MouseButton button, double xTwips, double yTwips) {
        Surface& surface = app.PlotFT().DrawingSurface();
        const QPointF at(xTwips / PixelsToTwips(1), yTwips / PixelsToTwips(1));
        QMouseEvent press(QEvent::MouseButtonPress, at, surface.mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&surface, &press);
    }

    void UpdateWith(const std::string& text) {
        app.PlotFT().Text1.SetText(text);
        app.PlotFT().Command2.Button()->click();
    }

    std::size_t OCDrawingSize() { return app.PlotOC().DrawingSurface().Drawing().Ops().size(); }
    std::string PeriodShown() { return app.PlotOC().Label7.Caption(); }

    Application app;
};

TEST_F(OCWindowTest, LeftClickInsideTheFrameOrOnItTakesThePeriodUnderThePointer) {
    const double left = State().PlotLeft, right = State().PlotRight, top = State().PlotTop,
                 bottom = State().PlotBottom;
    PressOnFTPlot(Qt::LeftButton, left - 15, top);
    PressOnFTPlot(Qt::LeftButton, right, bottom + 15);
    PressOnFTPlot(Qt::MiddleButton, left, top);
    EXPECT_EQ(State().TrialPeriod, 0) << "clicks outside the frame or with another button are ignored";
    PressOnFTPlot(Qt::LeftButton, right, bottom);
    EXPECT_DOUBLE_EQ(State().TrialPeriod, State().TwoPi / State().ViewOmegaEnd);
    PressOnFTPlot(Qt::LeftButton, left, top);
    EXPECT_DOUBLE_EQ(State().TrialPeriod, State().TwoPi / State().ViewOmegaStart);
    State().FTComputed = kFalse;
    PressOnFTPlot(Qt::LeftButton, right, bottom);
    EXPECT_DOUBLE_EQ(State().TrialPeriod, State().TwoPi / State().ViewOmegaStart)
        << "no click before a search";
}

TEST_F(OCWindowTest, ComesUpAtItsPlaceForCountablePeriodsAndStoresResizesAndClosingButNotExit) {
    UpdateWith("1e-9");
    EXPECT_FALSE(app.IsPlotOCLoaded()) << "a refused first period brings up no window";
    State().OCWinTop = 4000;
    frmPlot_OCdiag& window = app.PlotOC();
    EXPECT_EQ(std::make_tuple(window.Top(), window.Left(), window.Height(), window.Width()),
              std::make_tuple(4000.0, 6700.0, 5500.0, 7000.0));
    EXPECT_EQ(OCDrawingSize(), 0u) << "loading draws nothing";

    UpdateWith(" 1.0 days");
    EXPECT_EQ(std::make_tuple(State().TrialPeriod, PeriodShown(), window.Text1.Text()),
              std::make_tuple(1.0, "1.000000", "0.01599"));
    const std::size_t drawn = OCDrawingSize();
    for (const char* text : {"1e-9", "0", "-2", "abc", "1e999"}) {
        UpdateWith(text);
        EXPECT_EQ(PeriodShown(), "1.000000") << text;
        EXPECT_EQ(OCDrawingSize(), drawn) << text;
    }
    window.Command1.Button()->click();
    EXPECT_EQ(PeriodShown(), "1.000000") << "a redraw shows the diagram's own period";

    window.SetLeft(3000);
    window.SetHeight(6000);
    EXPECT_EQ(std::make_tuple(State().OCWinLeft, State().OCWinHeight, State().OCPlotBottom),
              std::make_tuple(3000, 6000, 6000 - 1350));
    for (Control* c : std::initializer_list<Control*>{&window.Label5, &window.Label7, &window.Label6,
                                                      &window.Text1, &window.Command1}) {
        EXPECT_DOUBLE_EQ(c->Top(), 6000 - 1100);
    }
    window.mExit_Click();
    EXPECT_FALSE(window.IsShown());
    UpdateWith("0.5");
    EXPECT_TRUE(window.IsShown()) << "the next period brings it back";
    window.SetLeft(2000);
    EXPECT_EQ(State().OCWinLeft, 3000) << "a move alone is not stored";
    window.close();
    EXPECT_FALSE(app.IsPlotOCLoaded());
    EXPECT_EQ(State().OCWinLeft, 2000);
    UpdateWith("1");
    EXPECT_DOUBLE_EQ(app.PlotOC().Left(), 2000);
}

TEST_F(OCWindowTest, ReadOutsWidenForLargeValuesUpToTheNextControl) {
    frmPlot_OCdiag& window = app.PlotOC();
    const auto fits = [](Control& box, const std::string& text) {
        return QFontMetrics(box.Widget()->font()).horizontalAdvance(QString::fromStdString(text)) <
               box.Widget()->width();
    };
    const struct {
        OCControl control;
        Control& box;
        const char* value;
        double width;
    } cases[] = {
        {OCControl::kLabel7, window.Label7, "1.000000", 975},
        {OCControl::kText1, window.Text1, "0.01599", 975},
    };
    for (const auto& c : cases) {
        window.SetControlCaption(c.control, c.value);
        EXPECT_EQ(c.box.Width(), c.width) << "as designed while the value fits";
        window.SetControlCaption(c.control, "32768.000000");
        EXPECT_TRUE(fits(c.box, "32768.000000")) << c.value;
        EXPECT_LE(c.box.Left() + c.box.Width(),
                  c.control == OCControl::kLabel7 ? window.Label6.Left() : window.Command1.Left());
    }
}

} // namespace
} // namespace quorix
