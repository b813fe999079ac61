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

using testing::EclipsingBinary;
using ::testing::HasSubstr;
using testing::Observed;
using testing::Sky;

constexpr double kTruePeriod = 1.2345678;

// A published table of the synthetic binary's minima: a comment, a header, full heliocentric Julian
// dates, "p"/"s" for the type and timing errors from 1e-5 to 1e-3 d.
std::string MinimaTable(const Observed& observed) {
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
    // import; `withTypes` false loads only the time column.
    void ImportBinary(bool withTypes = true) {
        std::mt19937 random(7);
        Sky sky;
        sky.years = 12;
        observed = EclipsingBinary(random, sky, kTruePeriod, 40, true);
        app.ShowImportTable(tables.Write("binary.csv", MinimaTable(observed)).string());
        frmImportTable& import = *app.ImportTable();
        if (!withTypes) {
            import.typeBox->setCurrentIndex(0);
            Q_EMIT import.typeBox->activated(0);
        }
        import.OkClicked();
        ASSERT_EQ(State().ObsCount, 40);
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
        CandidateSearch search;
        search.times = std::span(state.ObsTimes).subspan(1, static_cast<std::size_t>(state.ObsCount));
        if (withTypes) {
            search.types = observed.types;
        }
        search.omegaLow = state.OmegaLow;
        search.omegaStep = state.OmegaStep;
        search.steps = state.CompletedStepCount;
        search.ftValues =
            std::span(state.FTValues).first(static_cast<std::size_t>(state.CompletedStepCount) + 1);
        return ListCandidates(search);
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
    Observed observed;
};

TEST_F(CandidatesWindowTest, TheTableShowsTheLastSearchWithTypesAndTheirPick) {
    const QList<QAction*> file = Main().menuBar()->actions().front()->menu()->actions();
    ASSERT_GE(file.size(), 3);
    EXPECT_EQ(file[1], Main().mImportTable);
    EXPECT_EQ(file[2], Main().mCandidates);
    EXPECT_EQ(Main().mCandidates->text(), "Candidates ...");

    ImportBinary();
    Search("0.2", "2", "100000");
    frmCandidates& dialog = OpenCandidates();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(messages.Messages().empty());

    const CandidateList expected = Expected();
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
        EXPECT_NEAR(Cell(dialog, row, 5).toDouble(), *dip.typeAgreement, 0.005);
        EXPECT_EQ(Cell(dialog, row, 6).isEmpty(), !dip.gridTooCoarse);
    }
    EXPECT_EQ(Cell(dialog, 0, 4), "P");
    EXPECT_EQ(dialog.coarseLabel->isVisibleTo(&dialog), expected.gridTooCoarse);
    ASSERT_TRUE(expected.pick.period.has_value());
    EXPECT_NEAR(*expected.pick.period, kTruePeriod, 1e-6);
    const std::string pick = dialog.pickLabel->text().toStdString();
    EXPECT_THAT(pick, HasSubstr("Pick: 1.23456"));
    EXPECT_THAT(pick, HasSubstr("agrees with the minimum types"));
}

TEST_F(CandidatesWindowTest, ADoubleClickOrEnterOnARowOpensItsOCDiagramAndEscapeCloses) {
    ImportBinary();
    Search("0.2", "2", "100000");
    frmCandidates& dialog = OpenCandidates();
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

TEST_F(CandidatesWindowTest, WithoutTypesTheAgreementIsADashAndNothingIsPicked) {
    ImportBinary(false);
    Search("0.2", "2", "100000");
    frmCandidates& dialog = OpenCandidates();
    ASSERT_EQ(dialog.table->model()->rowCount(), 5);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Cell(dialog, row, 5), "-");
    }
    EXPECT_THAT(dialog.pickLabel->text().toStdString(),
                ::testing::AllOf(HasSubstr("Pick: none."), HasSubstr("2P/m cannot be told apart")));
}

TEST_F(CandidatesWindowTest, BeforeASearchOnlyTheMessageAndAfterANewOneANewTable) {
    Main().mCandidates->trigger();
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Press Compute first: the candidates come from the last search."});
    EXPECT_EQ(app.Candidates(), nullptr);

    ImportBinary();
    Search("0.2", "2", "100000");
    frmCandidates& dialog = OpenCandidates();
    const double firstBest = dialog.Candidates().dips.at(0).period;

    // A new search while the dialog is open: a row of the old table does nothing but bring the new one.
    Search("0.3", "0.9", "100000");
    const double trial = State().TrialPeriod;
    dialog.UseRow(0);
    EXPECT_EQ(State().TrialPeriod, trial);
    EXPECT_FALSE(app.IsPlotOCLoaded());
    const double newBest = dialog.Candidates().dips.at(0).period;
    EXPECT_NE(newBest, firstBest);
    EXPECT_GT(newBest, 0.3);
    EXPECT_LT(newBest, 0.9);
    EXPECT_EQ(dialog.Candidates().dips.at(0).period, Expected().dips.at(0).period);

    // Opening again after yet another search computes the table anew as well.
    Search("0.2", "2", "100000");
    EXPECT_EQ(&OpenCandidates(), &dialog);
    EXPECT_EQ(dialog.Candidates().dips.at(0).period, firstBest);

    // A new file clears the search: the menu refuses again and the old table is put away.
    messages.Clear();
    OpenSample();
    Main().mCandidates->trigger();
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Press Compute first: the candidates come from the last search."});
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace quorix
