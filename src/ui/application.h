#pragma once

#include "ftplot/ftplotview.h"
#include "state/sharedstate.h"

#include <memory>

namespace quorix {

class frmMain;
class frmOpenFile;
class frmPlot_FT;

// The program: owns the shared state and every window. Each window is created on first use and
// knows three states: not loaded, loaded but hidden, shown. A window closed by its frame is let go
// and created anew, from its remembered placement, the next time it is used.
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
    // The FT plot window, loaded (not shown) when it is not loaded yet.
    [[nodiscard]] frmPlot_FT& PlotFT();
    [[nodiscard]] bool IsPlotFTLoaded() const { return plotFT_ != nullptr; }
    // The FT plot as the drawing routines use it: every call reaches the window, loading it first.
    [[nodiscard]] FTPlotView& PlotFTView() { return plotFTView_; }

private:
    class PlotFTHandle : public FTPlotView {
    public:
        explicit PlotFTHandle(Application& app) : app_(app) {}
        void ShowPlotWindow() override;
        double PlotWindowWidth() override;
        double PlotWindowHeight() override;
        DisplayList& PlotDrawing() override;
        void SetControlTop(FTControl control, double top) override;
        void SetControlLeft(FTControl control, double left) override;
        void SetControlCaption(FTControl control, const std::string& caption) override;
        char DecimalSeparator() const override;

    private:
        Application& app_;
    };

    SharedState state_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmOpenFile> openFile_;
    std::unique_ptr<frmPlot_FT> plotFT_;
    PlotFTHandle plotFTView_{*this};
};

} // namespace quorix
