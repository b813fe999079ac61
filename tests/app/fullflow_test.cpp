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

// A user's session with the program from start to end, in a folder of its own holding a copy of a
// sample file, every step through the widgets a user would touch.
class FullFlowTest : public testing::StartedApp {
protected:
    FullFlowTest() { fs::copy_file(fs::path(QUORIX_EXAMPLES) / kSample, start.Path() / kSample); }

    frmPlot_FT& Plot() { return app.PlotFT(); }

    static void Click(CommandButton& button) { QTest::mouseClick(button.Button(), Qt::LeftButton); }
    static void Type(TextBox& box, const QString& text) {
        box.Edit()->selectAll();
        QTest::keyClicks(box.Edit(), text);
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

TEST_F(FullFlowTest, OpenComputeExploreAndEnd) {
    ASSERT_TRUE(Main().IsShown());
    EXPECT_FALSE(Main().Command2.Enabled()) << "nothing to compute before a file is read";

    // Open the sample through the dialog: it starts in the current folder, listing its CSV files.
    Click(Main().Command1);
    frmOpenFile& dialog = app.OpenFileDialog();
    ASSERT_TRUE(dialog.IsShown());
    QListWidget* files = dialog.File1.List();
    ASSERT_EQ(dialog.File1.ListCount(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(dialog.Text1.Text(), kSample);
    Click(dialog.Command1);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(State().ObsCount, 45);
    EXPECT_TRUE(Main().Command2.Enabled());

    // Search 0.5 to 1 day in 20,000 steps: the best period is the sample's, within the grid's step.
    Type(Main().Text1, "0.5");
    Type(Main().Text2, "1");
    Type(Main().Text3, "20000");
    Click(Main().Command2);
    ASSERT_TRUE(messages.Messages().empty()) << messages.Messages().front();
    ASSERT_TRUE(State().FTComputed);
    ASSERT_TRUE(Plot().IsShown());
    const double best = State().TwoPi / State().BestOmega;
    const double periodStep = best * best * State().OmegaStep / State().TwoPi;
    EXPECT_NEAR(best, kSamplePeriod, periodStep);
    EXPECT_EQ(Main().Text4.Text(), ".83727") << "the first six characters of the best period";

    // The read-out follows the pointer over the whole grid.
    MoveOver(PixelOf(State().BestOmega));
    EXPECT_NEAR(std::stod(Plot().Text1.Text()), best, 0.0005) << "one pixel of this view is about 0.0004 d";

    // A pair of right clicks zooms in around the dip; there a left click opens the O-C diagram of a
    // period within a grid step of the best.
    const std::int32_t fullStart = State().ViewStartIndex, fullEnd = State().ViewEndIndex;
    PressOn(Qt::RightButton, PixelOf(State().BestOmega - 200 * State().OmegaStep));
    PressOn(Qt::RightButton, PixelOf(State().BestOmega + 200 * State().OmegaStep));
    EXPECT_GT(State().ViewStartIndex, fullStart);
    EXPECT_LT(State().ViewEndIndex, fullEnd);
    EXPECT_LT(State().ViewEndIndex - State().ViewStartIndex, 500);
    PressOn(Qt::LeftButton, PixelOf(State().BestOmega));
    ASSERT_TRUE(app.IsPlotOCLoaded());
    EXPECT_TRUE(app.PlotOC().IsShown());
    EXPECT_NEAR(State().TrialPeriod, best, periodStep);
    EXPECT_EQ(State().OCPointCount, 45);
    EXPECT_LT(State().OCRms, 0.01) << "the right period lines the minima up";
    Click(Plot().Command1);
    EXPECT_EQ(std::make_pair(State().ViewStartIndex, State().ViewEndIndex),
              std::make_pair(fullStart, fullEnd));

    // Mark lists the trial period's aliases and draws them; Clear takes the marks away.
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

    // Help and About from the main window's Help menu.
    Main().m2Fourier_help->trigger();
    EXPECT_TRUE(app.IsHelpLoaded() && app.Help().IsShown());
    Main().m2About->trigger();
    EXPECT_TRUE(app.IsAboutLoaded() && app.About().IsShown());
    EXPECT_TRUE(messages.Messages().empty());

    // Closing the main window ends the program and leaves the settings of this session behind.
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
