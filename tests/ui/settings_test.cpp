#include "ftplot/frmplot_ft.h"
#include "input/frmopenfile.h"
#include "platform/messagebox.h"
#include "state/scopedcurrentfolder.h"
#include "state/settingsfile.h"
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

// The lines of a settings file, split at their CR LF ends; a file not ended by one gets a last
// line "<unended>" so that the comparison fails.
Lines SettingsLines(const fs::path& folder) {
    const std::string bytes = Contents(folder / kSettingsFileName);
    Lines lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    if (start != bytes.size()) {
        lines.push_back("<unended>");
    }
    return lines;
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

TEST_F(SettingsFileTest, EndingAtOnceWritesTheDefaults) {
    Main().close();
    EXPECT_EQ(SettingsLines(start.Path()), Defaults(",0.2")) << "closing writes an empty field first";
    EXPECT_EQ(ends.Requests(), 1);
    Main().mExit->trigger();
    EXPECT_EQ(SettingsLines(start.Path()), Defaults("0.2")) << "File > Exit writes the value alone";
    EXPECT_EQ(ends.Requests(), 2);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SettingsFileTest, LandsInTheDataFolderAfterALoad) {
    const fs::path data = OpenCopyOfExample();
    ASSERT_TRUE(messages.Messages().empty());
    Main().close();
    EXPECT_EQ(SettingsLines(data), Defaults(",0.2"));
    EXPECT_FALSE(fs::exists(start.Path() / kSettingsFileName));
}

TEST_F(SettingsFileTest, ExitWritesTheStoredPlacesAndClosingTheCurrentOnes) {
    const fs::path data = OpenCopyOfExample();
    Main().Text3.SetText("1000");
    Compute();
    frmPlot_FT& plot = app.PlotFT();
    plot.SetTop(300);
    plot.SetLeft(900);
    Main().SetLeft(2000);
    Main().mExit->trigger();
    Lines lines = SettingsLines(data);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[1], "2000") << "the main window is always where it stands";
    EXPECT_EQ(lines[2], "50") << "a move alone is not stored";
    EXPECT_EQ(lines[3], "50");
    EXPECT_EQ(lines[14], "0.2");
    EXPECT_EQ(lines[16], "1000");
    Main().close();
    lines = SettingsLines(data);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[2], "300");
    EXPECT_EQ(lines[3], "900");
    EXPECT_EQ(lines[4], "5055");
    EXPECT_EQ(lines[5], "14900");
    EXPECT_EQ(lines[14], ",0.2");
    EXPECT_EQ(app.State().FTWinLeft, 900) << "closing reads the place into the stored fields";
}

TEST_F(SettingsFileTest, ARejectedMinimumPeriodIsStillWritten) {
    const fs::path data = OpenCopyOfExample();
    Main().Text1.SetText("0.01");
    Compute();
    ASSERT_EQ(messages.Messages().size(), 1u);
    Main().close();
    const Lines lines = SettingsLines(data);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[14], ",0.01");
    EXPECT_EQ(lines[16], "10000") << "the steps were never read";
}

TEST_F(SettingsFileTest, QuitLeavesAnOldFileUntouched) {
    start.Write(kSettingsFileName, "an older file");
    QTest::mouseClick(Main().Command3.Button(), Qt::LeftButton);
    EXPECT_EQ(ends.Requests(), 1);
    EXPECT_EQ(Contents(start.Path() / kSettingsFileName), "an older file");
}

TEST_F(SettingsFileTest, AFolderThatCannotTakeTheFileEndsTheProgramQuietly) {
    const struct {
        const char* name;
        void (*prepare)(const fs::path& folder);
    } cases[] = {
        {"a folder named like the file",
         [](const fs::path& folder) { fs::create_directory(folder / kSettingsFileName); }},
        {"a current folder that was removed", [](const fs::path& folder) { fs::remove(folder); }},
    };
    for (const auto& c : cases) {
        const fs::path folder = start.Path() / "case";
        fs::create_directory(folder);
        {
            testing::ScopedCurrentFolder inside(folder);
            c.prepare(folder);
            Main().Show();
            Main().close();
            Main().mExit->trigger();
        }
        EXPECT_TRUE(messages.Messages().empty()) << c.name;
        if (fs::exists(folder)) {
            EXPECT_TRUE(fs::is_directory(folder / kSettingsFileName)) << c.name;
            EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << c.name;
        }
        fs::remove_all(folder);
    }
    EXPECT_EQ(ends.Requests(), 4) << "the program ends all the same";
}

} // namespace
} // namespace quorix
