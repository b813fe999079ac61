#pragma once

#include "ocdiagram/ocplotview.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "printing/printhandlers.h"
#include "state/sharedstate.h"

#include <map>

class QAction;

namespace quorix {

// The O-C window: the O-C diagram of the last trial period chosen on the FT plot, with that period
// and the RMS deviation beneath it. It redraws from the O-C state and never recomputes it.
class frmPlot_OCdiag : public Form, public OCPlotView, public LazyView<OCPlotView> {
    Q_OBJECT
public:
    explicit frmPlot_OCdiag(SharedState& state);

    // A window handling its own events is loaded: it is its own view.
    OCPlotView& Loaded() override { return *this; }
    // OCPlotView over this window.
    void ShowPlotWindow() override { Show(); }
    double PlotWindowWidth() override { return Width(); }
    double PlotWindowHeight() override { return Height(); }
    DisplayList& PlotDrawing() override;
    void SetControlTop(OCControl control, double top) override { ControlOf(control).SetTop(top); }
    void SetControlCaption(OCControl control, const std::string& caption) override;

    [[nodiscard]] Control& ControlOf(OCControl control) { return *controls_.at(control); }

    Label Label1, Label2, Label4, Label3, Label5, Label7, Label6;
    TextBox Text1;
    CommandButton Command1;
    // File menu entries for printing the diagram and choosing its printer.
    QAction* mPrinterSetup = nullptr;
    QAction* mPrint = nullptr;

    void Command1_Click();
    void mPrinterSetup_Click() { PlotPrintSetup(*this); }
    void mPrint_Click() { PlotPrint(*this, state_); }
    void mExit_Click() { Hide(); }

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_GotFocus() override;
    void Form_Unload() override;

private:
    void BuildControls();
    void BuildMenus();
    void RememberPlacement();

    SharedState& state_;
    std::map<OCControl, Control*> controls_;
};

} // namespace quorix
