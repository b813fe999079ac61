#include "ui/application.h"

#include "aliases/frmlist_aliases.h"
#include "candidates/frmcandidates.h"
#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "input/frmimporttable.h"
#include "input/frmopenfile.h"
#include "input/minimareader.h"
#include "ocdiagram/frmplot_ocdiag.h"
#include "ocdiagram/ocrender.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "state/errormessages.h"
#include "ui/frmmain.h"

#include <filesystem>

namespace quorix {

Application::Application()
    : plotFT_([this] { return MakePlotFT(); }),
      plotOC_([this] { return std::make_unique<frmPlot_OCdiag>(state_); }),
      aliasList_([this] { return std::make_unique<frmList_Aliases>(state_); }),
      help_([this] { return std::make_unique<frmHelp>(state_); }), about_([this] {
          return std::make_unique<frmAbout>([this] { RedrawFTPlotWithoutMarks(state_, plotFT_); });
      }) {}

Application::~Application() = default;

std::unique_ptr<frmMain> Application::MakeMain() {
    return std::make_unique<frmMain>(
        state_,
        MainWindowLinks{
            .openFileDialog = [this]() -> frmOpenFile& { return OpenFileDialog(); },
            .plotFT = plotFT_,
            .setPlotFTCaption = [this](const std::string& caption) { PlotFT().SetCaption(caption); },
            .loadedPlotFT = [this]() -> const Form* { return plotFT_.IsLoaded() ? &PlotFT() : nullptr; },
            .loadedPlotOC = [this]() -> const Form* { return plotOC_.IsLoaded() ? &PlotOC() : nullptr; },
            .showHelp = [this] { ShowFourierHelp(); },
            .showAbout = [this] { ShowAbout(); },
            .importTable = [this](const std::string& path) { ShowImportTable(path); },
            .showCandidates = [this] { ShowCandidates(); },
        });
}

std::unique_ptr<frmPlot_FT> Application::MakePlotFT() {
    return std::make_unique<frmPlot_FT>(state_,
                                        FTWindowLinks{
                                            .aliasList = aliasList_,
                                            .hideAliasList = [this] { ListAliases().HideAliasList(); },
                                            .drawOCDiagram = [this] { UpdateOCDiagram(state_, plotOC_); },
                                            .showHelp = [this] { ShowFourierHelp(); },
                                            .showAbout = [this] { ShowAbout(); },
                                        });
}

void Application::Start() {
    Main().Show();
}

frmMain& Application::Main() {
    if (!main_) {
        main_ = MakeMain();
        main_->Load();
    }
    return *main_;
}

frmOpenFile& Application::OpenFileDialog() {
    if (!openFile_) {
        openFile_ = std::make_unique<frmOpenFile>(state_, [this] { LoadMinimaFile(state_, Main()); });
        openFile_->Load();
    }
    return *openFile_;
}

frmPlot_FT& Application::PlotFT() {
    return plotFT_.Get();
}

frmList_Aliases& Application::ListAliases() {
    return aliasList_.Get();
}

frmHelp& Application::Help() {
    return help_.Get();
}

frmAbout& Application::About() {
    return about_.Get();
}

void Application::ShowFourierHelp() {
    state_.HelpParagraphCount = 4;
    frmHelp& help = Help();
    // Showing raises a resize, which lays the window out with the lengths known until now.
    help.Show();
    help.ShowParagraphs();
}

void Application::ShowAbout() {
    About().Show();
}

void Application::ShowImportTable(const std::string& path) {
    TableFileText file = ReadTableFile(path);
    if (file.error != 0) {
        Main().ShowMessage(ErrorText(state_.ErrorMessages, file.error));
        return;
    }
    const std::filesystem::path chosen(path);
    importTable_ = std::make_unique<frmImportTable>(state_, Main(), chosen.parent_path().string(),
                                                    chosen.filename().string(), std::move(file.text));
    importTable_->show();
}

void Application::ShowCandidates() {
    if (state_.FTComputed == kFalse) {
        if (candidates_) {
            candidates_->hide();
        }
        Main().ShowMessage(kComputeFirstMessage);
        return;
    }
    if (!candidates_) {
        candidates_ = std::make_unique<frmCandidates>(state_, [this] { UpdateOCDiagram(state_, plotOC_); });
    }
    candidates_->Refresh();
    candidates_->show();
    candidates_->raise();
    candidates_->activateWindow();
}

frmPlot_OCdiag& Application::PlotOC() {
    return plotOC_.Get();
}

} // namespace quorix
