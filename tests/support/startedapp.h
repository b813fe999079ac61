#pragma once

#include "input/frmopenfile.h"
#include "platform/messagebox.h"
#include "support/scopedcurrentfolder.h"
#include "support/tempfolder.h"
#include "ui/application.h"
#include "ui/frmmain.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace quorix::testing {

// The program started in a fresh folder of its own, which is current, so that whatever it leaves
// there can be read; its messages and its end are recorded instead of shown and carried out.
class StartedApp : public ::testing::Test {
protected:
    void SetUp() override { app.Start(); }

    frmMain& Main() { return app.Main(); }
    SharedState& State() { return app.State(); }

    // Loads a copy of the bundled Algol sample from a data folder of its own through the open-file
    // dialog, as the user does; that folder becomes the current one.
    std::filesystem::path OpenSample() {
        const std::filesystem::path data = start.Path() / "data";
        std::filesystem::create_directory(data);
        std::filesystem::copy_file(std::filesystem::path(QUORIX_EXAMPLES) / "algol_type_hjd.txt",
                                   data / "algol_type_hjd.txt");
        Main().Command1.Button()->click();
        frmOpenFile& dialog = app.OpenFileDialog();
        dialog.Label4.SetCaption(data.string());
        dialog.Text1.SetText("algol_type_hjd.txt");
        dialog.Command1_Click();
        return data;
    }
    void Compute() { QTest::mouseClick(Main().Command2.Button(), Qt::LeftButton); }

    // How many top-level windows of the kind there are.
    template <class Window> static long Count() {
        const auto windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(),
                             [](QWidget* w) { return qobject_cast<Window*>(w) != nullptr; });
    }

    TempFolder start;
    ScopedCurrentFolder here{start.Path()};
    MessageRecorder messages;
    ProcessEndRecorder ends;
    Application app;
};

} // namespace quorix::testing
