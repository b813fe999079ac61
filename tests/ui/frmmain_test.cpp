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
};

TEST_F(MainWindowTest, OpenComputeAndRecomputeWithRejectedEntriesBetween) {
    OpenSample();
    Main().Text2.SetText("abc");
    Compute();
    EXPECT_EQ(messages.Messages(), Lines{"Maximum period must be between 0.05 and 100 days."});
    EXPECT_EQ(app.PlotFT().DrawingSurface().Drawing().Ops().size(), 4u) << "the bare frame before any search";
    messages.Clear();
    Main().Text2.SetText("1.2");
    Main().Text3.SetText("100000");
    Compute();
    EXPECT_EQ(CurvePoints(), 100000u);
    Main().Text3.SetText("1000");
    Compute();
    EXPECT_EQ(CurvePoints(), 1000u) << "nothing of the longer grid is drawn";
    Main().Text1.SetText("0.01");
    Compute();
    EXPECT_EQ(messages.Messages(), Lines{"Minimum period must be between 0.05 and 100 days."});
    EXPECT_EQ(CurvePoints(), 1000u) << "the previous plot stays";
}

TEST_F(MainWindowTest, QuitWritesNothingExitWritesTheStoredPlacesClosingTheCurrentOnesAndFailuresEndQuietly) {
    start.Write(kSettingsFileName, "an older file");
    QTest::mouseClick(Main().Command3.Button(), Qt::LeftButton);
    const fs::path data = OpenSample();
    Main().Text3.SetText("1000");
    Compute();
    app.PlotFT().SetTop(300);
    app.PlotFT().SetLeft(900);
    Main().SetLeft(2000);
    Main().mExit->trigger();
    // The main window is always where it stands; the period is written alone.
    Lines expected{"5100", "2000", "50",    "50",   "5055", "14900", "5100", "6700", "5500",
                   "7000", "50",   "14950", "6000", "3600", "0.2",   "",     "1000"};
    EXPECT_EQ(testing::Contents(data / kSettingsFileName), testing::CrLfBytes(expected))
        << "a move alone is not stored";
    EXPECT_EQ(testing::Contents(start.Path() / kSettingsFileName), "an older file")
        << "Quit writes nothing, and the data folder is the current one";

    Main().Text1.SetText("0.01");
    Main().Text3.SetText("2000");
    Compute();
    Main().close();
    expected[2] = "300";
    expected[3] = "900";
    expected[14] = ",0.01"; // rejected, but read and so written
    EXPECT_EQ(testing::Contents(data / kSettingsFileName), testing::CrLfBytes(expected))
        << "the steps after a rejected period were never read";

    fs::remove(data / kSettingsFileName);
    fs::create_directory(data / kSettingsFileName);
    Main().Show();
    Main().mExit->trigger();
    EXPECT_TRUE(fs::is_empty(data / kSettingsFileName)) << "a folder of that name stays as it was";
    EXPECT_EQ(messages.Messages(), Lines{"Minimum period must be between 0.05 and 100 days."})
        << "a failed write is not told";
    EXPECT_EQ(ends.Requests(), 4) << "the program ends all the same";
}

} // namespace
} // namespace quorix
