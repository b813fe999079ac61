#include "ocdiagram/frmephemeris.h"

#include "ocdiagram/frmplot_ocdiag.h"
#include "support/observedstate.h"
#include "ui/application.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace quorix {
namespace {

// Times of minima of a W UMa star as an observer's list gives them: primaries and secondaries over
// twelve years, the first four visual (errors of 3e-3 d), the later ones photoelectric (2e-4 d).
const std::vector<double> kWUMaMinima = {
    2451100.4124, 2451245.3744, 2451467.4017, 2451802.1986, 2452190.2071, 2452610.9117, 2453001.2566,
    2453401.9433, 2453771.1030, 2454119.9111, 2454508.9217, 2454904.6050, 2455242.7376, 2455600.5542,
};
constexpr double kPeriod = 0.333628;

QString Cell(const QTableWidget& table, const QString& rowLabel, int column) {
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.verticalHeaderItem(row)->text() == rowLabel) {
            return table.item(row, column)->text();
        }
    }
    return "(no row " + rowLabel + ")";
}

TEST(EphemerisWindow, TheOCWindowsFileMenuShowsTheFitsOfItsMinimaAndCopiesThem) {
    Application app;
    testing::FillObserved(app.State(), kWUMaMinima, kPeriod);
    app.State().BaseTime = kWUMaMinima.front();
    frmPlot_OCdiag& oc = app.PlotOC();
    QMenu* file = oc.menuBar()->actions().first()->menu();
    QStringList texts;
    for (const QAction* action : file->actions()) {
        texts << action->text();
    }
    ASSERT_EQ(texts.indexOf("Ephemeris ..."), texts.indexOf("Print") + 1) << texts.join('|').toStdString();
    for (int opening = 0; opening < 2; ++opening) {
        file->actions().at(texts.indexOf("Ephemeris ..."))->trigger();
    }
    const auto windows = oc.findChildren<frmEphemeris*>();
    ASSERT_EQ(windows.size(), 1) << "a second opening brings back the same window";
    const frmEphemeris& window = *windows.first();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Ephemeris");

    const QTableWidget& table = *window.Table();
    ASSERT_EQ(table.columnCount(), 2) << "no timing errors: the unweighted fits only";
    EXPECT_EQ(table.horizontalHeaderItem(0)->text(), "Linear");
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "Quadratic");
    const EphemerisFit& linear = *window.Report().Find(EphemerisModel::kLinear, false);
    ASSERT_TRUE(linear.made);
    EXPECT_EQ(linear.n, static_cast<int>(kWUMaMinima.size())) << "the O-C window's minima";
    EXPECT_NEAR(Cell(table, "P (d)", 0).toDouble(), linear.period, 0.01 * linear.periodErr);
    EXPECT_EQ(Cell(table, "Q (d)", 0), "");
    EXPECT_EQ(window.Verdict()->text().toStdString(), window.Report().comparison.sentence);
    EXPECT_TRUE(window.Verdict()->text().contains("F-test p "));

    QApplication::clipboard()->clear();
    QTest::mouseClick(window.CopyButton(), Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(), EphemerisTableTsv(window.Report()));
    EXPECT_TRUE(copied.contains("P (d)\t" + Cell(table, "P (d)", 0) + "\t" + Cell(table, "P (d)", 1) + "\n"));
}

TEST(EphemerisWindow, TypesAndErrorsAddTheWeightedFitsAndUnusableOnesSayWhy) {
    constexpr auto P = MinimumType::kPrimary, S = MinimumType::kSecondary;
    EphemerisInput input{.times = kWUMaMinima,
                         .types = {P, S, P, S, S, S, S, S, P, S, S, S, P, S},
                         .errors = std::vector<double>(kWUMaMinima.size(), 2e-4),
                         .period = kPeriod,
                         .origin = kWUMaMinima.front()};
    std::fill_n(input.errors.begin(), 4, 3e-3); // the visual ones
    frmEphemeris window;
    window.ShowFits(input);
    EXPECT_EQ(window.Report().counts.cycles[1], 434.5) << "a secondary counts half a cycle on";
    ASSERT_EQ(window.Table()->columnCount(), 4);
    EXPECT_EQ(window.Table()->horizontalHeaderItem(3)->text(), "Quadratic, weighted");
    EXPECT_NE(Cell(*window.Table(), "P (d)", 3), "-");
    EXPECT_TRUE(window.Verdict()->text().contains("(weighted fits)"))
        << window.Verdict()->text().toStdString();

    input.errors[5] = 0.0;
    window.ShowFits(input);
    EXPECT_EQ(Cell(*window.Table(), "P (d)", 3), "-");
    EXPECT_NE(Cell(*window.Table(), "P (d)", 2), "-");
    EXPECT_FALSE(window.Notes()->isHidden());
    EXPECT_TRUE(window.Notes()->text().contains(
        "Weighted fits not made: 1 of the timing errors are zero, negative or not a number."));
    EXPECT_TRUE(window.Verdict()->text().contains("(unweighted fits)"));
}

TEST(EphemerisWindow, TakesTheTypesAndErrorsOfAnImportedTableAndNoneFromAPlainFile) {
    SharedState state = testing::ObservedState(kWUMaMinima, kPeriod);
    EXPECT_TRUE(EphemerisInputFor(state).types.empty() && EphemerisInputFor(state).errors.empty());
    state.ObsTypes[2] = MinimumType::kSecondary;
    state.ObsErrors[3] = 2e-4;
    const EphemerisInput imported = EphemerisInputFor(state);
    ASSERT_EQ(imported.types.size(), kWUMaMinima.size());
    ASSERT_EQ(imported.errors.size(), kWUMaMinima.size());
    EXPECT_EQ(imported.types[1], MinimumType::kSecondary);
    EXPECT_EQ(imported.errors[2], 2e-4);
}

} // namespace
} // namespace quorix
