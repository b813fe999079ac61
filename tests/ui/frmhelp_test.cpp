#include "ui/frmhelp.h"

#include "ftplot/frmplot_ft.h"
#include "platform/messagebox.h"
#include "ui/application.h"
#include "ui/frmmain.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace quorix {
namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { app.Start(); }

    frmHelp& Help() { return app.Help(); }
    SharedState& State() { return app.State(); }

    // The help windows that exist now, whether shown or not.
    static int HelpWindows() {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            count += qobject_cast<frmHelp*>(widget) != nullptr ? 1 : 0;
        }
        return count;
    }

    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

TEST_F(HelpWindowTest, ParagraphsAreTheMethodsTextInFull) {
    const std::size_t lengths[] = {758, 556, 760, 471};
    app.ShowFourierHelp();
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(State().HelpParagraphs[k].size(), lengths[k - 1]) << "paragraph " << k;
        EXPECT_EQ(State().HelpParagraphLengths[k], static_cast<std::int16_t>(lengths[k - 1]));
        EXPECT_EQ(Help().Label1(k).Caption(), State().HelpParagraphs[k]);
        EXPECT_TRUE(Help().Label1(k).Visible());
    }
    EXPECT_FALSE(Help().Label1(5).Visible());
    EXPECT_EQ(State().HelpParagraphCount, 4);
    const std::string& first = State().HelpParagraphs[1];
    EXPECT_NE(first.find("data points, HJDi.   (Function FT"), std::string::npos);
    EXPECT_NE(first.find("data points.)   Thus FT"), std::string::npos);
    EXPECT_EQ(State().HelpParagraphs[4].substr(State().HelpParagraphs[4].size() - 14), "a spreadsheet.");
}

TEST_F(HelpWindowTest, TheHeightFollowsTheWidth) {
    app.ShowFourierHelp();
    Help().SetWidth(14500);
    EXPECT_DOUBLE_EQ(Help().Label0.Width(), 14000);
    const double tops[] = {500, 1775, 2790, 4067};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_DOUBLE_EQ(Help().Label1(k).Width(), 14000);
        EXPECT_DOUBLE_EQ(Help().Label1(k).Top(), tops[k - 1]) << "paragraph " << k;
    }
    EXPECT_DOUBLE_EQ(Help().Height(), 5359);
    Help().SetHeight(9000);
    EXPECT_DOUBLE_EQ(Help().Height(), 5359) << "a height of the user's is replaced at once";
    app.ShowFourierHelp();
    EXPECT_DOUBLE_EQ(Help().Label1(4).Top(), 4067) << "opening again settles on the same layout";
    EXPECT_DOUBLE_EQ(Help().Height(), 5359);
}

TEST_F(HelpWindowTest, OpeningEstimateHoldsWhileTheHeightCannotChange) {
    Help().SetWidth(14500);
    Help().setFixedHeight(400);
    app.ShowFourierHelp();
    const double tops[] = {500, 1712, 2708, 3922};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_DOUBLE_EQ(Help().Label1(k).Top(), tops[k - 1]) << "paragraph " << k;
    }
}

TEST_F(HelpWindowTest, BeforeTheTextsEveryLengthIsZero) {
    State().HelpParagraphCount = 4;
    Help().Show();
    const double tops[] = {500, 800, 1100, 1400};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_DOUBLE_EQ(Help().Label1(k).Top(), tops[k - 1]) << "paragraph " << k;
    }
    EXPECT_DOUBLE_EQ(Help().Height(), 2200);
}

TEST_F(HelpWindowTest, EveryWidthKeepsTheParagraphsApartAndInRange) {
    app.ShowFourierHelp();
    for (const double width : {100.0, 499.0, 3000.0, 7000.0, 14500.0, 40000.0}) {
        Help().SetWidth(width);
        EXPECT_GE(Help().Label1(1).Width(), frmHelp::kMinimumWidth - 500) << width;
        for (int k = 1; k <= 4; ++k) {
            const Label& label = Help().Label1(k);
            EXPECT_FALSE(label.Widget()->autoFillBackground()) << "a label never paints over another";
            EXPECT_GT(label.Width(), 0) << width;
            EXPECT_GT(label.Height(), 0) << width;
            EXPECT_LE(label.Top() + label.Height(), 32767) << width;
            if (k < 4) {
                EXPECT_DOUBLE_EQ(label.Top() + label.Height(), Help().Label1(k + 1).Top())
                    << "paragraph " << k << " ends where the next one starts, width " << width;
            }
        }
        EXPECT_GT(Help().Height(), Help().Label1(4).Top()) << width;
        EXPECT_LE(Help().Height(), 32767) << width;
    }
}

TEST_F(HelpWindowTest, BothHelpMenusShowTheOneWindow) {
    app.Main().m2Fourier_help->trigger();
    frmHelp* first = &Help();
    EXPECT_TRUE(first->IsShown());
    app.PlotFT().HelpFourier->trigger();
    EXPECT_EQ(&Help(), first);
    EXPECT_EQ(HelpWindows(), 1);
    Help().close();
    EXPECT_FALSE(app.IsHelpLoaded()) << "closed by its frame, the window is let go";
    app.PlotFT().HelpFourier->trigger();
    EXPECT_TRUE(Help().IsShown());
    EXPECT_DOUBLE_EQ(Help().Label1(1).Top(), 500);
    EXPECT_EQ(Help().Label1(2).Caption(), State().HelpParagraphs[2]);
}

} // namespace
} // namespace quorix
