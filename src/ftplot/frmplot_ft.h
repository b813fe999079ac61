#pragma once

#include "aliases/aliaslistview.h"
#include "ftplot/ftplotview.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "printing/printhandlers.h"
#include "state/sharedstate.h"

#include <functional>
#include <map>

namespace quorix {

// What the FT window reaches beyond itself: the alias list it fills, the O-C diagram its clicks
// draw and the windows of its Help menu. The application object, which knows every window, hands
// them over when it creates the window.
struct FTWindowLinks {
    // The alias list that "Mark" fills, loaded on first use.
    LazyView<AliasListView>& aliasList;
    // "Clear": stores the alias list's placement and hides it (loading it first when it is not loaded).
    std::function<void()> hideAliasList;
    // The O-C sequence for the TrialPeriod just set: computes the diagram and draws it, bringing its
    // window up.
    std::function<void()> drawOCDiagram;
    std::function<void()> showHelp;
    std::function<void()> showAbout;
};

// The FT plot window: the periodogram of the last search, its period axis and the controls under it.
class frmPlot_FT : public Form, public FTPlotView, public LazyView<FTPlotView> {
    Q_OBJECT
public:
    frmPlot_FT(SharedState& state, FTWindowLinks links);

    // A window handling its own events is loaded: it is its own view.
    FTPlotView& Loaded() override { return *this; }
    // FTPlotView over this window.
    void ShowPlotWindow() override { Show(); }
    double PlotWindowWidth() override { return Width(); }
    double PlotWindowHeight() override { return Height(); }
    DisplayList& PlotDrawing() override;
    void SetControlTop(FTControl control, double top) override { ControlOf(control).SetTop(top); }
    void SetControlLeft(FTControl control, double left) override { ControlOf(control).SetLeft(left); }
    void SetControlCaption(FTControl control, const std::string& caption) override {
        ControlOf(control).SetDisplayText(caption);
    }
    char DecimalSeparator() const override;

    [[nodiscard]] Control& ControlOf(FTControl control) { return *controls_.at(control); }
    [[nodiscard]] std::string CaptionOf(FTControl control) const {
        return controls_.at(control)->DisplayText();
    }

    Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8;
    TextBox Text1;
    CommandButton Command1, Command2, Command3, Command4;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void mPrintSetup_Click() { PlotPrintSetup(*this); }
    void mPrint_Click() { PlotPrint(*this, state_); }
    void mExit_Click() { Hide(); }
    QAction* HelpFourier = nullptr;
    QAction* About = nullptr;
    void HelpFourier_Click();
    void About_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_GotFocus() override;
    void Form_Unload() override;
    void Form_MouseMove(int button, float x, float y) override;
    void Form_MouseDown(int button, float x, float y) override;

private:
    // One right click of a zoom pair: the first marks its index, the second narrows the view to the
    // two indices and redraws.
    void ZoomClick(float x, float y);
    // A left click inside the plot takes the period under the pointer as the trial period.
    void LeftClick(float x, float y);
    void BuildControls();
    void BuildMenus();
    void RememberPlacement();

    SharedState& state_;
    FTWindowLinks links_;
    std::map<FTControl, Control*> controls_;
};

} // namespace quorix
