#include "candidates/frmcandidates.h"

#include "candidates/candidatedata.h"
#include "input/frmimporttable.h"
#include "ocdiagram/frmplot_ocdiag.h"
#include "support/startedapp.h"
#include "ui/application.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace quorix {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

constexpr double kTruePeriod = 1.2345678;
const std::vector<std::string> kComputeFirst = {
    "Press Compute first: the candidates come from the last search."};

// A published table of the synthetic binary's minima: a comment, a header, full heliocentric Julian
// dates, "p"/"s" for the type and timing errors from 1e-5 to 1e-3 d.
std::string MinimaTable(const testing::Observed& observed) {
    std::string text = "# synthetic minima of a made-up Algol, for the candidate table\nHJD;Min;Err\n";
    constexpr double kErrors[] = {0.00001, 0.00012, 0.0004, 0.001};
    for (std::size_t i = 0; i < observed.times.size(); ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "%.5f;%s;%.5f\n", observed.times[i],
                      observed.types[i] == MinimumType::kSecondary ? "s" : "p", kErrors[i % 4]);
        text += line;
    }
    return text;
}

class CandidatesWindowTest : public testing::StartedApp {
protected:
    // Forty minima, about a third of them secondaries, over twelve seasons, loaded through the table
    // import (`withTypes` false: only the time column), searched and shown in the candidate table.
    frmCandidates& OpenAfterSearch(bool withTypes = true) {
        std::mt19937 random(7);
        observed = testing::EclipsingBinary(random, {.years = 12}, kTruePeriod, 40, true);
        app.ShowImportTable(tables.Write("binary.csv", MinimaTable(observed)).string());
        frmImportTable& import = *app.ImportTable();
        if (!withTypes) {
            import.typeBox->setCurrentIndex(0);
            Q_EMIT import.typeBox->activated(0);
        }
        import.OkClicked();
        EXPECT_EQ(State().ObsCount, 40);
        Search("0.2", "2", "100000");
        return OpenCandidates();
    }
    void Search(const char* pMin, const char* pMax, const char* steps) {
        Main().Text1.SetText(pMin);
        Main().Text2.SetText(pMax);
        Main().Text3.SetText(steps);
        Compute();
        ASSERT_EQ(State().FTComputed, kTrue);
    }
    frmCandidates& OpenCandidates() {
        Main().mCandidates->trigger();
        return *app.Candidates();
    }
    // What the candidate list of the state's last search is, worked out here from the times as drawn.
    CandidateList Expected(bool withTypes = true) {
        const SharedState& state = State();
        const auto steps = static_cast<std::size_t>(state.CompletedStepCount);
        return ListCandidates({std::span(state.ObsTimes).subspan(1, static_cast<std::size_t>(state.ObsCount)),
                               withTypes ? std::span(observed.types) : std::span<const MinimumType>{},
                               state.OmegaLow, state.OmegaStep, state.CompletedStepCount,
                               std::span(state.FTValues).first(steps + 1)});
    }

    static QString Cell(const frmCandidates& dialog, int row, int column) {
        return dialog.table->model()->index(row, column).data().toString();
    }
    // What the system delivers for a double click: a press and a release, then the double click.
    static void DoubleClickRow(frmCandidates& dialog, int row) {
        QWidget* viewport = dialog.table->viewport();
        const QPoint at = dialog.table->visualRect(dialog.table->model()->index(row, 0)).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    }

    testing::TempFolder tables;
    testing::Observed observed;
};

// With the types the agreement is shown and the true period picked; without, a dash and no pick.
class CandidatesTableTest : public CandidatesWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CandidatesTableTest, TheTableShowsTheLastSearchAndItsPick) {
    const bool withTypes = GetParam();
    frmCandidates& dialog = OpenAfterSearch(withTypes);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(messages.Messages().empty());

    const CandidateList expected = Expected(withTypes);
    ASSERT_EQ(expected.dips.size(), 5u);
    const QAbstractItemModel& model = *dialog.table->model();
    ASSERT_EQ(model.rowCount(), 5);
    std::vector<QString> headers;
    for (int column = 0; column < model.columnCount(); ++column) {
        headers.push_back(model.headerData(column, Qt::Horizontal).toString());
    }
    EXPECT_THAT(headers, ::testing::ElementsAre("Period", "FT", "False-alarm probability", "Refined period",
                                                "Family", "Type agreement", "Grid"));
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        const Candidate& dip = expected.dips[static_cast<std::size_t>(row)];
        EXPECT_NEAR(Cell(dialog, row, 0).toDouble(), dip.period, 1e-7);
        EXPECT_NEAR(Cell(dialog, row, 3).toDouble(), dip.refinedPeriod, 1e-9);
        EXPECT_EQ(Cell(dialog, row, 4).toStdString(), dip.family);
        if (withTypes) {
            EXPECT_NEAR(Cell(dialog, row, 5).toDouble(), dip.typeAgreement.value_or(-1), 0.005);
        } else {
            EXPECT_EQ(Cell(dialog, row, 5), "-");
        }
        EXPECT_EQ(Cell(dialog, row, 6).isEmpty(), !dip.gridTooCoarse);
    }
    EXPECT_EQ(dialog.coarseLabel->isVisibleTo(&dialog), expected.gridTooCoarse);
    EXPECT_THAT(dialog.pickLabel->text().toStdString(),
                withTypes ? AllOf(HasSubstr("Pick: 1.23456"), HasSubstr("agrees with the minimum types"))
                          : AllOf(HasSubstr("Pick: none."), HasSubstr("2P/m cannot be told apart")));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutTypes, CandidatesTableTest, ::testing::Bool());

TEST_F(CandidatesWindowTest, ADoubleClickOrEnterOnARowOpensItsOCDiagramAndEscapeCloses) {
    frmCandidates& dialog = OpenAfterSearch();
    const CandidateList& list = dialog.Candidates();
    ASSERT_GE(list.dips.size(), 3u);

    DoubleClickRow(dialog, 1);
    EXPECT_EQ(State().TrialPeriod, list.dips[1].refinedPeriod);
    ASSERT_TRUE(app.IsPlotOCLoaded());
    EXPECT_TRUE(app.PlotOC().IsShown());
    EXPECT_EQ(State().OCPeriod, list.dips[1].refinedPeriod);
    EXPECT_EQ(State().OCPointCount, 40);

    dialog.table->setCurrentIndex(dialog.table->model()->index(2, 3));
    QTest::keyClick(dialog.table, Qt::Key_Return);
    EXPECT_EQ(State().TrialPeriod, list.dips[2].refinedPeriod);
    EXPECT_EQ(State().OCPeriod, list.dips[2].refinedPeriod);
    EXPECT_TRUE(dialog.isVisible()) << "Enter on a row is not the dialog's default button";

    QTest::keyClick(dialog.table, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(CandidatesWindowTest, TheMenuRefusesBeforeASearchAndANewSearchGivesANewTable) {
    const QList<QAction*> file = Main().menuBar()->actions().front()->menu()->actions();
    EXPECT_EQ(file.mid(1, 2), (QList<QAction*>{Main().mImportTable, Main().mCandidates}));
    EXPECT_EQ(Main().mCandidates->text(), "Candidates ...");
    Main().mCandidates->trigger();
    EXPECT_EQ(messages.Messages(), kComputeFirst);
    EXPECT_EQ(app.Candidates(), nullptr);

    frmCandidates& dialog = OpenAfterSearch();
    const double firstBest = dialog.Candidates().dips.at(0).period;

    // A new search while the dialog is open: a row of the old table does nothing but bring the new one.
    Search("0.3", "0.9", "100000");
    const double trial = State().TrialPeriod;
    dialog.UseRow(0);
    EXPECT_EQ(State().TrialPeriod, trial);
    EXPECT_FALSE(app.IsPlotOCLoaded());
    EXPECT_NE(dialog.Candidates().dips.at(0).period, firstBest);
    EXPECT_EQ(dialog.Candidates().dips.at(0).period, Expected().dips.at(0).period);

    // Opening again after yet another search computes the table anew as well.
    Search("0.2", "2", "100000");
    EXPECT_EQ(&OpenCandidates(), &dialog);
    EXPECT_EQ(dialog.Candidates().dips.at(0).period, firstBest);

    // A new file clears the search: the menu refuses again and the old table is put away.
    messages.Clear();
    OpenSample();
    Main().mCandidates->trigger();
    EXPECT_EQ(messages.Messages(), kComputeFirst);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace quorix
