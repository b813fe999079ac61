#include "ftplot/frmplot_ft.h"
#include "input/frmopenfile.h"
#include "platform/messagebox.h"
#include "state/settingsfile.h"
#include "support/scopedcurrentfolder.h"
#include "support/tempfolder.h"
#include "ui/application.h"
#include "ui/frmmain.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorix {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bytes of a settings file holding these lines.
std::string Bytes(const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

Lines Defaults(const std::string& periodLine) {
    return {"5100", "100", "50",    "50",   "5055", "14900",    "5100", "6700", "5500",
            "7000", "50",  "14950", "6000", "3600", periodLine, "",     "10000"};
}

// The program started in a folder of its own, so that the settings file it leaves can be read.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { app.Start(); }

    frmMain& Main() { return app.Main(); }

    // Loads a copy of a sample file from a data folder of its own, through the open-file dialog.
    fs::path OpenCopyOfExample() {
        const fs::path data = start.Path() / "data";
        fs::create_directory(data);
        fs::copy_file(fs::path(QUORIX_EXAMPLES) / "algol_type_hjd.txt", data / "algol_type_hjd.txt");
        Main().Command1.Button()->click();
        frmOpenFile& dialog = app.OpenFileDialog();
        dialog.Label4.SetCaption(data.string());
        dialog.Text1.SetText("algol_type_hjd.txt");
        dialog.Command1_Click();
        return data;
    }
    void Compute() { QTest::mouseClick(Main().Command2.Button(), Qt::LeftButton); }

    testing::TempFolder start;
    testing::ScopedCurrentFolder here{start.Path()};
    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

TEST_F(SettingsFileTest, QuitWritesNothingAndEndingAtOnceWritesTheDefaults) {
    start.Write(kSettingsFileName, "an older file");
    QTest::mouseClick(Main().Command3.Button(), Qt::LeftButton);
    EXPECT_EQ(ends.Requests(), 1);
    EXPECT_EQ(Contents(start.Path() / kSettingsFileName), "an older file") << "Quit writes nothing";
    Main().close();
    EXPECT_EQ(Contents(start.Path() / kSettingsFileName), Bytes(Defaults(",0.2")))
        << "closing writes an empty field first";
    Main().mExit->trigger();
    EXPECT_EQ(Contents(start.Path() / kSettingsFileName), Bytes(Defaults("0.2")))
        << "File > Exit writes the value alone";
    EXPECT_EQ(ends.Requests(), 3);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SettingsFileTest, InTheDataFolderExitWritesTheStoredPlacesAndClosingTheCurrentOnes) {
    const fs::path data = OpenCopyOfExample();
    Main().Text3.SetText("1000");
    Compute();
    app.PlotFT().SetTop(300);
    app.PlotFT().SetLeft(900);
    Main().SetLeft(2000);
    Main().mExit->trigger();
    Lines expected = Defaults("0.2");
    expected[1] = "2000"; // the main window is always where it stands
    expected[16] = "1000";
    EXPECT_EQ(Contents(data / kSettingsFileName), Bytes(expected)) << "a move alone is not stored";
    EXPECT_FALSE(fs::exists(start.Path() / kSettingsFileName));

    Main().Text1.SetText("0.01");
    Main().Text3.SetText("2000");
    Compute();
    ASSERT_EQ(messages.Messages().size(), 1u);
    Main().close();
    expected[2] = "300";
    expected[3] = "900";
    expected[14] = ",0.01"; // rejected, but read and so written
    EXPECT_EQ(Contents(data / kSettingsFileName), Bytes(expected))
        << "the steps after a rejected period were never read";
    EXPECT_EQ(app.State().FTWinLeft, 900) << "closing reads the place into the stored fields";
}

TEST_F(SettingsFileTest, AFolderThatCannotTakeTheFileEndsTheProgramQuietly) {
    fs::create_directory(start.Path() / kSettingsFileName);
    start.Write(std::string(kSettingsFileName) + "/inside.txt", "kept");
    Main().close();
    Main().Show();
    Main().mExit->trigger();
    EXPECT_EQ(Contents(start.Path() / kSettingsFileName / "inside.txt"), "kept") << "a folder of that name";
    EXPECT_EQ(std::distance(fs::directory_iterator(start.Path()), fs::directory_iterator()), 1);
    fs::create_directory(start.Path() / "gone");
    {
        testing::ScopedCurrentFolder inside(start.Path() / "gone");
        fs::remove(start.Path() / "gone");
        Main().Show();
        Main().close();
        Main().Show();
        Main().mExit->trigger();
    }
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(ends.Requests(), 4) << "the program ends all the same";
}

} // namespace
} // namespace quorix
