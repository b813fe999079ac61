#pragma once

#include "ftplot/ftplotview.h"
#include "input/minimareader.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "search/periodsearch.h"
#include "state/sharedstate.h"

#include <functional>
#include <string>

namespace quorix {

class frmOpenFile;

// What the main window reaches beyond itself: the open-file dialog, the FT plot that "Compute"
// draws, the result windows whose places the settings file records and the Help menu's windows.
// The application object, which knows every window, hands them over when it creates the window.
struct MainWindowLinks {
    // The open-file dialog, created and loaded on first use.
    std::function<frmOpenFile&()> openFileDialog;
    // The FT plot, loaded on first use.
    LazyView<FTPlotView>& plotFT;
    // Sets the FT window's caption, loading the window when it is not loaded.
    std::function<void(const std::string&)> setPlotFTCaption;
    // The FT and the O-C window while they are loaded, null otherwise.
    std::function<const Form*()> loadedPlotFT;
    std::function<const Form*()> loadedPlotOC;
    std::function<void()> showHelp;
    std::function<void()> showAbout;
    // Reads the named table and shows its import preview.
    std::function<void(const std::string&)> importTable;
    // Shows the candidate table of the last search.
    std::function<void()> showCandidates;
};

// The main window: the search entries, the best-period read-out, opening a data file, "Compute"
// and the end of the program. It prepares the shared state when it loads.
class frmMain : public Form, public SearchWindow, public ReaderWindow {
    Q_OBJECT
public:
    frmMain(SharedState& state, MainWindowLinks links);

    Label Label1, Label5, Label6, Label7, Label8, Label2, Label3, Label4, Label9, Label10;
    TextBox Text1, Text2, Text3, Text4;
    CommandButton Command1, Command4, Command2, Command3;
    QAction* mOpen = nullptr;
    QAction* mImportTable = nullptr;
    QAction* mCandidates = nullptr;
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
    // File > "Candidates ...": the deepest dips of the last search and the period the types pick.
    void mCandidates_Click();
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

    SharedState& state_;
    MainWindowLinks links_;
};

} // namespace quorix
