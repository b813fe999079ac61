#include "ftplot/frmplot_ft.h"

#include "ftplot/ftrender.h"
#include "ocdiagram/frmplot_ocdiag.h"
#include "support/observedstate.h"
#include "ui/application.h"

#include <QTest>

#include <gtest/gtest.h>

namespace quorix {
namespace {

TEST(FTPlotEnterTest, EnterInThePeriodBoxDrawsTheOCPlotOfThePeriodTyped) {
    Application app;
    SharedState& state = app.State();
    testing::FillObserved(state, testing::kThreeMinima, 0);
    RedrawFTPlot(state, app.PlotFTView());
    frmPlot_FT& plot = app.PlotFT();
    plot.Text1.SetText(" 1.0 days");
    QTest::keyClick(plot.Text1.Edit(), Qt::Key_Return);
    EXPECT_EQ(state.TrialPeriod, 1.0);
    ASSERT_TRUE(app.IsPlotOCLoaded());
    EXPECT_TRUE(app.PlotOC().IsShown());
}

} // namespace
} // namespace quorix
