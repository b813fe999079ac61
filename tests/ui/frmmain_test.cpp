#include "ui/frmmain.h"

#include "ftplot/frmplot_ft.h"
#include "state/settingsfile.h"
#include "support/drawingops.h"
#include "support/filecontents.h"
#include "support/startedapp.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class MainWindowTest : public testing::StartedApp {
protected:
    std::size_t CurvePoints() {
        return testing::Polylines(app.PlotFT().DrawingSurface().Drawing()).back().size();
    }
    static Lines Defaults(const std::string& periodLine) {
        return {"5100", "100", "50",    "50",   "5055", "14900",    "5100", "6700", "5500",
                "7000", "50",  "14950", "6000", "3600", periodLine, "",     "10000"};
    }
};

TEST_F(MainWindowTest, DefaultsOpenComputeCloseThePlotAndRecomputeWithRejectedEntriesBetween) {
    Main().Text1.SetText("7");
    Main().Text3.SetText("5000");
    QTest::mouseClick(Main().Command4.Button(), Qt::LeftButton);
    EXPECT_EQ(Main().Text1.Text(), "0.2") << "not the design-time 0.20";
    EXPECT_EQ(Main().Text2.Text(), "1.2");
    EXPECT_EQ(Main().Text3.Text(), "5000") << "the steps are not reset";
    OpenSample();
    EXPECT_EQ(Main().Label6.Caption(), "algol_type_hjd.txt");
    EXPECT_EQ(Main().Label8.Caption(), " 60");
    Main().Text2.SetText("abc");
    Compute();
    EXPECT_EQ(messages.Messages(), Lines{"Maximum period must be between 0.05 and 100 days."});
    EXPECT_TRUE(app.PlotFT().IsShown());
    EXPECT_EQ(app.PlotFT().DrawingSurface().Drawing().Ops().size(), 4u) << "the bare frame before any search";
    messages.Clear();
    Main().Text2.SetText("1.2");
    Main().Text3.SetText("100000");
    Compute();
    EXPECT_EQ(CurvePoints(), 100000u);
    Main().Text3.SetText("1000");
    Compute();
    EXPECT_EQ(CurvePoints(), 1000u) << "nothing of the longer grid is drawn";

    app.PlotFT().SetWidth(12000);
    app.PlotFT().SetLeft(700);
    app.PlotFT().close();
    Compute();
    EXPECT_DOUBLE_EQ(app.PlotFT().Width(), 12000) << "the plot comes back where it was closed";
    EXPECT_DOUBLE_EQ(app.PlotFT().Left(), 700);
    Main().Text1.SetText("0.01");
    Compute();
    EXPECT_EQ(messages.Messages(), Lines{"Minimum period must be between 0.05 and 100 days."});
    EXPECT_EQ(CurvePoints(), 1000u) << "the previous plot stays";
}

TEST_F(MainWindowTest, QuitWritesNothingExitWritesTheDefaultsAndAFailedWriteEndsQuietly) {
    start.Write(kSettingsFileName, "an older file");
    QTest::mouseClick(Main().Command3.Button(), Qt::LeftButton);
    EXPECT_EQ(testing::Contents(start.Path() / kSettingsFileName), "an older file") << "Quit writes nothing";
    Main().Show();
    Main().mExit->trigger();
    EXPECT_EQ(testing::Contents(start.Path() / kSettingsFileName), testing::CrLfBytes(Defaults("0.2")))
        << "File > Exit writes the period alone";

    fs::remove(start.Path() / kSettingsFileName);
    fs::create_directory(start.Path() / kSettingsFileName);
    start.Write(std::string(kSettingsFileName) + "/inside.txt", "kept");
    Main().Show();
    Main().mExit->trigger();
    EXPECT_EQ(testing::Contents(start.Path() / kSettingsFileName / "inside.txt"), "kept")
        << "a folder of that name";
    EXPECT_EQ(std::distance(fs::directory_iterator(start.Path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(ends.Requests(), 3) << "the program ends all the same";
}

TEST_F(MainWindowTest, InTheDataFolderExitWritesTheStoredPlacesAndClosingTheCurrentOnes) {
    const fs::path data = OpenSample();
    Main().Text3.SetText("1000");
    Compute();
    app.PlotFT().SetTop(300);
    app.PlotFT().SetLeft(900);
    Main().SetLeft(2000);
    Main().mExit->trigger();
    Lines expected = Defaults("0.2");
    expected[1] = "2000"; // the main window is always where it stands
    expected[16] = "1000";
    EXPECT_EQ(testing::Contents(data / kSettingsFileName), testing::CrLfBytes(expected))
        << "a move alone is not stored";
    EXPECT_FALSE(fs::exists(start.Path() / kSettingsFileName));

    Main().Text1.SetText("0.01");
    Main().Text3.SetText("2000");
    Compute();
    Main().close();
    expected[2] = "300";
    expected[3] = "900";
    expected[14] = ",0.01"; // rejected, but read and so written
    EXPECT_EQ(testing::Contents(data / kSettingsFileName), testing::CrLfBytes(expected))
        << "the steps after a rejected period were never read";
}

} // namespace
} // namespace quorix
