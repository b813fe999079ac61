#include "aliases/frmlist_aliases.h"
#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "input/frmopenfile.h"
#include "ocdiagram/frmplot_ocdiag.h"
#include "platform/messagebox.h"
#include "state/settingsfile.h"
#include "support/filecontents.h"
#include "support/startedapp.h"
#include "ui/application.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmmain.h"

#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSample = "algol_type_reduced.csv";
constexpr double kSamplePeriod = 0.8372914; // the period the sample was made with
constexpr int kTwipsPerPixel = 15;

// A user's session with the program, in a folder of its own holding a copy of a sample file, every
// step through the widgets a user would touch. Each test takes the session as far as its behaviour
// needs, through the same steps.
class FullFlowTest : public testing::StartedApp {
protected:
    FullFlowTest() { fs::copy_file(fs::path(QUORIX_EXAMPLES) / kSample, start.Path() / kSample); }

    frmPlot_FT& Plot() { return app.PlotFT(); }

    static void Click(CommandButton& button) { QTest::mouseClick(button.Button(), Qt::LeftButton); }
    static void Type(TextBox& box, const QString& text) {
        box.Edit()->selectAll();
        QTest::keyClicks(box.Edit(), text);
    }

    // Opens the dialog from the main window and clicks the first file it lists.
    frmOpenFile& ChooseSampleInDialog() {
        Click(Main().Command1);
        frmOpenFile& dialog = app.OpenFileDialog();
        QListWidget* files = dialog.File1.List();
        if (files->count() > 0) {
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                              files->visualItemRect(files->item(0)).center());
        }
        return dialog;
    }
    void OpenSampleFile() { Click(ChooseSampleInDialog().Command1); }
    // Opens the sample and searches 0.5 to 1 day in 20,000 steps.
    void SearchSample() {
        OpenSampleFile();
        Type(Main().Text1, "0.5");
        Type(Main().Text2, "1");
        Type(Main().Text3, "20000");
        Click(Main().Command2);
    }
    double BestPeriod() { return State().TwoPi / State().BestOmega; }
    double PeriodStep() { return BestPeriod() * BestPeriod() * State().OmegaStep / State().TwoPi; }
    // A pair of right clicks around the dip of the search.
    void ZoomAroundDip() {
        PressOn(Qt::RightButton, PixelOf(State().BestOmega - 200 * State().OmegaStep));
        PressOn(Qt::RightButton, PixelOf(State().BestOmega + 200 * State().OmegaStep));
    }
    // Searches, zooms in around the dip and left-clicks the best period there.
    void PickBestPeriod() {
        SearchSample();
        ZoomAroundDip();
        PressOn(Qt::LeftButton, PixelOf(State().BestOmega));
    }

    // The surface pixel over an angular frequency of the current view, halfway down the plot.
    QPoint PixelOf(double omega) {
        const int x = static_cast<int>(std::lround(OmegaToPlotX(State(), omega) / kTwipsPerPixel));
        return {x, (State().PlotTop + State().PlotBottom) / 2 / kTwipsPerPixel};
    }
    void MoveOver(QPoint pixel) { QTest::mouseMove(&Plot().DrawingSurface(), pixel); }
    void PressOn(Qt::MouseButton button, QPoint pixel) {
        QTest::mouseClick(&Plot().DrawingSurface(), button, {}, pixel);
    }
    // Where the first alias mark was drawn, in surface pixels: halfway along its line.
    QPoint FirstMarkPixel() {
        for (const auto& op : Plot().DrawingSurface().Drawing().Ops()) {
            if (op.kind == DrawKind::kLine && op.colour == State().MarkColour) {
                return QPoint(static_cast<int>(op.from.x), static_cast<int>(op.from.y + op.to.y) / 2) /
                       kTwipsPerPixel;
            }
        }
        return {-1, -1};
    }
    QColor ShownColourAt(QPoint pixel) { return Plot().DrawingSurface().grab().toImage().pixelColor(pixel); }
};

TEST_F(FullFlowTest, StartsWithNothingToCompute) {
    ASSERT_TRUE(Main().IsShown());
    EXPECT_FALSE(Main().Command2.Enabled()) << "nothing to compute before a file is read";
}

TEST_F(FullFlowTest, TheDialogListsTheCurrentFolderAndReadsTheChosenFile) {
    // The dialog starts in the current folder, listing its CSV files.
    frmOpenFile& dialog = ChooseSampleInDialog();
    ASSERT_TRUE(dialog.IsShown());
    ASSERT_EQ(dialog.File1.ListCount(), 1);
    EXPECT_EQ(dialog.Text1.Text(), kSample);
    Click(dialog.Command1);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(State().ObsCount, 45);
    EXPECT_TRUE(Main().Command2.Enabled());
}

TEST_F(FullFlowTest, ComputeFindsTheSamplePeriodWithinAGridStep) {
    SearchSample();
    ASSERT_TRUE(messages.Messages().empty()) << messages.Messages().front();
    ASSERT_TRUE(State().FTComputed);
    ASSERT_TRUE(Plot().IsShown());
    EXPECT_NEAR(BestPeriod(), kSamplePeriod, PeriodStep());
    EXPECT_EQ(Main().Text4.Text(), ".83727") << "the first six characters of the best period";
}

TEST_F(FullFlowTest, TheReadOutFollowsThePointerOverTheWholeGrid) {
    SearchSample();
    MoveOver(PixelOf(State().BestOmega));
    EXPECT_NEAR(std::stod(Plot().Text1.Text()), BestPeriod(), 0.0005)
        << "one pixel of this view is about 0.0004 d";
}

TEST_F(FullFlowTest, ARightClickPairZoomsInAndRestoreGoesBack) {
    SearchSample();
    const std::int32_t fullStart = State().ViewStartIndex, fullEnd = State().ViewEndIndex;
    ZoomAroundDip();
    EXPECT_GT(State().ViewStartIndex, fullStart);
    EXPECT_LT(State().ViewEndIndex, fullEnd);
    EXPECT_LT(State().ViewEndIndex - State().ViewStartIndex, 500);
    Click(Plot().Command1);
    EXPECT_EQ(std::make_pair(State().ViewStartIndex, State().ViewEndIndex),
              std::make_pair(fullStart, fullEnd));
}

TEST_F(FullFlowTest, ALeftClickAtTheDipOpensTheOCDiagramOfTheBestPeriod) {
    PickBestPeriod();
    ASSERT_TRUE(app.IsPlotOCLoaded());
    EXPECT_TRUE(app.PlotOC().IsShown());
    EXPECT_NEAR(State().TrialPeriod, BestPeriod(), PeriodStep());
    EXPECT_EQ(State().OCPointCount, 45);
    EXPECT_LT(State().OCRms, 0.01) << "the right period lines the minima up";
}

TEST_F(FullFlowTest, MarkListsAndDrawsTheAliasesAndClearTakesThemAway) {
    PickBestPeriod();
    Click(Plot().Command1);
    Click(Plot().Command3);
    ASSERT_TRUE(app.IsListAliasesLoaded());
    EXPECT_TRUE(app.ListAliases().IsShown());
    EXPECT_GT(State().AliasCount, 0);
    EXPECT_TRUE(State().MarksShown);
    const QPoint mark = FirstMarkPixel();
    EXPECT_EQ(ShownColourAt(mark), QColor(128, 0, 128)) << "marks are drawn in purple";
    Click(Plot().Command4);
    EXPECT_FALSE(State().MarksShown);
    EXPECT_FALSE(app.ListAliases().IsShown());
    EXPECT_EQ(ShownColourAt(mark), QColor(224, 224, 224)) << "Clear paints the marks over";
}

TEST_F(FullFlowTest, HelpAndAboutOpenFromTheMainWindow) {
    Main().m2Fourier_help->trigger();
    EXPECT_TRUE(app.IsHelpLoaded() && app.Help().IsShown());
    Main().m2About->trigger();
    EXPECT_TRUE(app.IsAboutLoaded() && app.About().IsShown());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(FullFlowTest, ClosingTheMainWindowEndsTheProgramAndLeavesTheSessionsSettings) {
    PickBestPeriod();
    Main().close();
    EXPECT_EQ(ends.Requests(), 1);
    const std::vector<std::string> expected =
        SettingsFileLines(State(), Main().Top(), Main().Left(), PeriodLine::kSecondField);
    EXPECT_EQ(testing::Contents(start.Path() / kSettingsFileName), testing::CrLfBytes(expected));
    ASSERT_EQ(expected.size(), 17u);
    EXPECT_EQ(expected[14], ",0.5");
    EXPECT_EQ(expected[16], "20000");
    EXPECT_EQ(expected[6], std::to_string(State().OCWinTop)) << "the O-C window's place, read on closing";
}

} // namespace
} // namespace quorix
