#include "ui/application.h"

#include "ftplot/frmplot_ft.h"
#include "input/frmopenfile.h"
#include "input/minimareader.h"
#include "ui/frmmain.h"

namespace quorix {

namespace {

// Lets a window closed by its frame go; the slot is empty until the window is next used.
template <typename Window> void ReleaseOnUnload(std::unique_ptr<Window>& slot) {
    slot->onUnloaded = [&slot] { slot.release()->deleteLater(); };
}

} // namespace

Application::Application() = default;
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
    if (!plotFT_) {
        plotFT_ = std::make_unique<frmPlot_FT>(state_);
        ReleaseOnUnload(plotFT_);
        plotFT_->Load();
    }
    return *plotFT_;
}

void Application::PlotFTHandle::ShowPlotWindow() {
    app_.PlotFT().ShowPlotWindow();
}
double Application::PlotFTHandle::PlotWindowWidth() {
    return app_.PlotFT().PlotWindowWidth();
}
double Application::PlotFTHandle::PlotWindowHeight() {
    return app_.PlotFT().PlotWindowHeight();
}
DisplayList& Application::PlotFTHandle::PlotDrawing() {
    return app_.PlotFT().PlotDrawing();
}
void Application::PlotFTHandle::SetControlTop(FTControl control, double top) {
    app_.PlotFT().SetControlTop(control, top);
}
void Application::PlotFTHandle::SetControlLeft(FTControl control, double left) {
    app_.PlotFT().SetControlLeft(control, left);
}
void Application::PlotFTHandle::SetControlCaption(FTControl control, const std::string& caption) {
    app_.PlotFT().SetControlCaption(control, caption);
}
char Application::PlotFTHandle::DecimalSeparator() const {
    return app_.PlotFT().DecimalSeparator();
}

} // namespace quorix
