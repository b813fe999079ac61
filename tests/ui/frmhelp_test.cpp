#include "ui/frmhelp.h"

#include "ftplot/frmplot_ft.h"
#include "platform/messagebox.h"
#include "ui/application.h"
#include "ui/frmmain.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>

namespace quorix {
namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { app.Start(); }

    frmHelp& Help() { return app.Help(); }
    SharedState& State() { return app.State(); }
    void ExpectTops(const std::vector<double>& tops, double height) {
        for (int k = 1; k <= 4; ++k) {
            EXPECT_DOUBLE_EQ(Help().Label1(k).Top(), tops[k - 1]) << "paragraph " << k;
        }
        EXPECT_DOUBLE_EQ(Help().Height(), height);
    }

    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

TEST_F(HelpWindowTest, TheTextsInFullAndAHeightThatFollowsTheWidth) {
    app.ShowFourierHelp();
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(Help().Label1(k).Caption(), State().HelpParagraphs[k]) << "paragraph " << k;
        EXPECT_TRUE(Help().Label1(k).Visible()) << "paragraph " << k;
    }
    EXPECT_FALSE(Help().Label1(5).Visible());
    EXPECT_NE(State().HelpParagraphs[1].find("data points, HJDi.   (Function FT"), std::string::npos);
    EXPECT_NE(State().HelpParagraphs[1].find("data points.)   Thus FT"), std::string::npos);

    // The tops and height follow from the lengths of the paragraphs: 758, 556, 760 and 471.
    Help().SetWidth(14500);
    EXPECT_DOUBLE_EQ(Help().Label0.Width(), 14000);
    EXPECT_DOUBLE_EQ(Help().Label1(4).Width(), 14000);
    ExpectTops({500, 1775, 2790, 4067}, 5359);
    Help().SetHeight(9000);
    EXPECT_DOUBLE_EQ(Help().Height(), 5359) << "a height of the user's is replaced at once";
    app.ShowFourierHelp();
    ExpectTops({500, 1775, 2790, 4067}, 5359); // opening again settles on the same layout
}

TEST_F(HelpWindowTest, BeforeTheTextsEveryLengthIsZero) {
    State().HelpParagraphCount = 4;
    Help().Show();
    ExpectTops({500, 800, 1100, 1400}, 2200);
}

TEST_F(HelpWindowTest, EveryWidthKeepsTheParagraphsApartAndInRange) {
    app.ShowFourierHelp();
    for (const double width : {100.0, 499.0, 3000.0, 7000.0, 14500.0, 40000.0}) {
        Help().SetWidth(width);
        EXPECT_GE(Help().Label1(1).Width(), frmHelp::kMinimumWidth - 500) << width;
        for (int k = 1; k < 4; ++k) {
            const Label& label = Help().Label1(k);
            EXPECT_DOUBLE_EQ(label.Top() + label.Height(), Help().Label1(k + 1).Top())
                << "paragraph " << k << " ends where the next one starts, width " << width;
        }
        EXPECT_GT(Help().Height(), Help().Label1(4).Top()) << width;
        EXPECT_LE(Help().Height(), 32767) << width;
    }
}

TEST_F(HelpWindowTest, BothHelpMenusShowTheOneWindow) {
    app.Main().m2Fourier_help->trigger();
    frmHelp* first = &Help();
    app.PlotFT().HelpFourier->trigger();
    EXPECT_EQ(&Help(), first);
    EXPECT_TRUE(first->IsShown());
    const auto windows = QApplication::topLevelWidgets();
    EXPECT_EQ(
        std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<frmHelp*>(w); }),
        1);
    Help().close();
    EXPECT_FALSE(app.IsHelpLoaded()) << "closed by its frame, the window is let go";
    app.PlotFT().HelpFourier->trigger();
    EXPECT_TRUE(Help().IsShown());
    EXPECT_EQ(Help().Label1(2).Caption(), State().HelpParagraphs[2]);
}

} // namespace
} // namespace quorix
