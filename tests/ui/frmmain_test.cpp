#include "ui/frmmain.h"

#include "ftplot/frmplot_ft.h"
#include "input/frmopenfile.h"
#include "platform/messagebox.h"
#include "ui/application.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        start = std::filesystem::current_path();
        app.Start();
    }
    void TearDown() override { std::filesystem::current_path(start); }

    frmMain& Main() { return app.Main(); }
    SharedState& State() { return app.State(); }

    // Loads a bundled sample file through the open-file dialog, as the user does.
    void OpenExample(const std::string& name) {
        Main().Command1.Button()->click();
        frmOpenFile& dialog = app.OpenFileDialog();
        dialog.Label4.SetCaption(QUORIX_EXAMPLES);
        dialog.Text1.SetText(name);
        dialog.Command1_Click();
    }

    void Compute() { QTest::mouseClick(Main().Command2.Button(), Qt::LeftButton); }

    int PolylinePoints() {
        const DisplayList& drawing = app.PlotFT().DrawingSurface().Drawing();
        int points = 0;
        for (const auto& op : drawing.Ops()) {
            points = op.kind == DrawKind::kPolyline ? static_cast<int>(op.pointCount) : points;
        }
        return points;
    }

    std::filesystem::path start;
    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

TEST_F(MainWindowTest, DefaultsResetThePeriodsAndOpenShowsTheDialogBesideIt) {
    EXPECT_FALSE(Main().Command2.Enabled()) << "nothing to compute before a load";
    Main().Text1.SetText("7");
    Main().Text3.SetText("5000");
    QTest::mouseClick(Main().Command4.Button(), Qt::LeftButton);
    EXPECT_EQ(Main().Text1.Text(), "0.2") << "not the design-time 0.20";
    EXPECT_EQ(Main().Text2.Text(), "1.2");
    EXPECT_EQ(Main().Text3.Text(), "5000") << "the steps are not reset";
    EXPECT_FALSE(app.OpenFileDialog().IsShown()) << "the dialog is created hidden";
    Main().Command1.Button()->click();
    EXPECT_TRUE(app.OpenFileDialog().IsShown());
    EXPECT_TRUE(Main().Command1.Enabled()) << "the dialog is not modal";
}

TEST_F(MainWindowTest, LoadComputeCloseThePlotAndRecomputeWithRejectedEntriesBetween) {
    OpenExample("algol_type_hjd.txt");
    EXPECT_EQ(Main().Label6.Caption(), "algol_type_hjd.txt");
    EXPECT_EQ(Main().Label8.Caption(), " 60");
    Main().Text2.SetText("abc");
    Compute();
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Maximum period must be between 0.05 and 100 days."});
    EXPECT_TRUE(app.PlotFT().IsShown());
    EXPECT_EQ(app.PlotFT().DrawingSurface().Drawing().Ops().size(), 4u) << "the bare frame before any search";
    messages.Clear();
    Main().Text2.SetText("1.2");
    Compute();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Main().Text4.Text().substr(0, 4), ".652");
    EXPECT_TRUE(app.PlotFT().IsShown());
    EXPECT_EQ(app.PlotFT().Caption(), "algol_type_hjd.txt");
    EXPECT_EQ(PolylinePoints(), 100000);

    Main().Text3.SetText("1000");
    Compute();
    EXPECT_EQ(PolylinePoints(), 1000) << "nothing of the longer grid is drawn";
    app.PlotFT().SetWidth(12000);
    app.PlotFT().SetLeft(700);
    app.PlotFT().close();
    EXPECT_FALSE(app.IsPlotFTLoaded());
    Compute();
    EXPECT_DOUBLE_EQ(app.PlotFT().Width(), 12000) << "the plot comes back where it was closed";
    EXPECT_DOUBLE_EQ(app.PlotFT().Left(), 700);

    Main().Text1.SetText("0.01");
    Compute();
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Minimum period must be between 0.05 and 100 days."});
    EXPECT_EQ(PolylinePoints(), 1000) << "the previous plot stays";
}

} // namespace
} // namespace quorix
