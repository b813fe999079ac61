#include "ui/application.h"

#include "aliases/frmlist_aliases.h"
#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "input/frmimporttable.h"
#include "input/frmopenfile.h"
#include "input/minimareader.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ocdiagram/frmplot_ocdiag.h"
#include "state/errormessages.h"
#include "ui/frmmain.h"

#include <filesystem>

namespace quorix {

Application::Application()
    : plotFT_([this] { return std::make_unique<frmPlot_FT>(*this); }),
      plotOC_([this] { return std::make_unique<frmPlot_OCdiag>(*this); }),
      aliasList_([this] { return std::make_unique<frmList_Aliases>(*this); }),
      help_([this] { return std::make_unique<frmHelp>(state_); }), about_([this] {
          return std::make_unique<frmAbout>([this] { RedrawFTPlotWithoutMarks(state_, plotFT_); });
      }) {}

Application::~Application() = default;

void Application::Start() {
    Main().Show();
}

frmMain& Application::Main() {
    if (!main_) {
        main_ = std::make_unique<frmMain>(*this);
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

frmPlot_OCdiag& Application::PlotOC() {
    return plotOC_.Get();
}

} // namespace quorix
