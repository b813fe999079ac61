#pragma once

#include "input/minimareader.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "search/periodsearch.h"

namespace quorix {

class Application;

// The main window: the search entries, the best-period read-out, opening a data file, "Compute"
// and the end of the program. It prepares the shared state when it loads.
class frmMain : public Form, public SearchWindow, public ReaderWindow {
    Q_OBJECT
public:
    explicit frmMain(Application& app);

    Label Label1, Label5, Label6, Label7, Label8, Label2, Label3, Label4, Label9, Label10;
    TextBox Text1, Text2, Text3, Text4;
    CommandButton Command1, Command4, Command2, Command3;
    QAction* mOpen = nullptr;
    QAction* mImportTable = nullptr;
    QAction* mExit = nullptr;
    QAction* m2Fourier_help = nullptr;
    QAction* m2About = nullptr;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void mExit_Click();
    // File > "Import Table...": a published table of times, chosen in the system's file dialog.
    void mImportTable_Click();
    void m2Fourier_help_Click();
    void m2About_Click();

    // SearchWindow and ReaderWindow: how the search and the reader reach this window.
    std::string MinimumPeriodText() const override { return Text1.Text(); }
    std::string MaximumPeriodText() const override { return Text2.Text(); }
    std::string StepCountText() const override { return Text3.Text(); }
    void SetSearchButtonsEnabled(bool enabled) override;
    void SetBestPeriodText(const std::string& text) override { Text4.SetText(text); }
    void SetFileNameCaption(const std::string& text) override { Label6.SetCaption(text); }
    void SetCountCaption(const std::string& text) override { Label8.SetCaption(text); }
    void EnableCompute() override { Command2.SetEnabled(true); }
    void ShowMessage(const std::string& text) override;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void BuildControls();
    void BuildMenus();
    void PrepareOpenFileDialog();
    // The settings file is written here when the program ends through this window.
    void WriteSettingsOnClose();
    void WriteSettingsOnExit();

    Application& app_;
};

} // namespace quorix
