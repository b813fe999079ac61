#include "ui/application.h"

#include "ftplot/frmplot_ft.h"
#include "input/frmopenfile.h"
#include "input/minimareader.h"
#include "ocdiagram/frmplot_ocdiag.h"
#include "ui/frmmain.h"

namespace quorix {

Application::Application()
    : plotFT_([this] { return std::make_unique<frmPlot_FT>(*this); }),
      plotOC_([this] { return std::make_unique<frmPlot_OCdiag>(*this); }) {}

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

frmPlot_OCdiag& Application::PlotOC() {
    return plotOC_.Get();
}

} // namespace quorix
