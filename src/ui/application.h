#pragma once

#include "aliases/aliaslistview.h"
#include "ftplot/ftplotview.h"
#include "ocdiagram/ocplotview.h"
#include "state/sharedstate.h"
#include "ui/windowslot.h"

#include <memory>

namespace quorix {

class frmList_Aliases;
class frmAbout;
class frmCandidates;
class frmHelp;
class frmImportTable;
class frmMain;
class frmOpenFile;
class frmPlot_FT;
class frmPlot_OCdiag;

// The program: owns the shared state and every window. Each result window is created on first use
// and knows three states: not loaded, loaded but hidden, shown.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates and loads the main window (which prepares the state and the open-file dialog) and shows it.
    void Start();

    [[nodiscard]] SharedState& State() { return state_; }
    [[nodiscard]] frmMain& Main();
    [[nodiscard]] frmOpenFile& OpenFileDialog();
    // The FT plot window, loaded (not shown) when it is not loaded yet. It is also the view the FT
    // drawing routines draw into.
    [[nodiscard]] frmPlot_FT& PlotFT();
    [[nodiscard]] bool IsPlotFTLoaded() const { return plotFT_.IsLoaded(); }
    // The FT plot as the routines that bring it up reach it: loaded only when first touched.
    [[nodiscard]] LazyView<FTPlotView>& PlotFTView() { return plotFT_; }
    // The O-C window, loaded (not shown) when it is not loaded yet.
    [[nodiscard]] frmPlot_OCdiag& PlotOC();
    [[nodiscard]] bool IsPlotOCLoaded() const { return plotOC_.IsLoaded(); }
    // The alias list window, loaded (not shown) when it is not loaded yet.
    [[nodiscard]] frmList_Aliases& ListAliases();
    [[nodiscard]] bool IsListAliasesLoaded() const { return aliasList_.IsLoaded(); }

    // Opens the help (Help > "Fourier Transform" of the main and the FT window): one window, shown
    // again and laid out anew by every later call.
    void ShowFourierHelp();
    [[nodiscard]] frmHelp& Help();
    [[nodiscard]] bool IsHelpLoaded() const { return help_.IsLoaded(); }

    // Opens the About window (Help > "About" of the main and the FT window), one window as well.
    void ShowAbout();
    [[nodiscard]] frmAbout& About();
    [[nodiscard]] bool IsAboutLoaded() const { return about_.IsLoaded(); }

    // File > "Import Table...": reads the table at `path` and shows its preview; a file that cannot
    // be read shows its message instead. One preview at a time: a new one replaces the last.
    void ShowImportTable(const std::string& path);
    [[nodiscard]] frmImportTable* ImportTable() { return importTable_.get(); }

    // File > "Candidates ...": the candidate table of the last completed search, computed afresh at
    // every opening; before a search only a message. One dialog, made on first use.
    void ShowCandidates();
    [[nodiscard]] frmCandidates* Candidates() { return candidates_.get(); }

private:
    // The main window with what it reaches beyond itself: the dialog, the result windows, help, About.
    [[nodiscard]] std::unique_ptr<frmMain> MakeMain();
    // The FT window with what it reaches beyond itself: the alias list, the O-C diagram, help, About.
    [[nodiscard]] std::unique_ptr<frmPlot_FT> MakePlotFT();

    SharedState state_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmOpenFile> openFile_;
    WindowSlot<frmPlot_FT, FTPlotView> plotFT_;
    WindowSlot<frmPlot_OCdiag, OCPlotView> plotOC_;
    WindowSlot<frmList_Aliases, AliasListView> aliasList_;
    WindowSlot<frmHelp> help_;
    WindowSlot<frmAbout> about_;
    std::unique_ptr<frmImportTable> importTable_;
    std::unique_ptr<frmCandidates> candidates_;
};

} // namespace quorix
