#include "ocdiagram/frmplot_ocdiag.h"

#include "ocdiagram/frmephemeris.h"
#include "ocdiagram/oclayout.h"
#include "ocdiagram/ocrender.h"
#include "printing/printlayout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>

#include <algorithm>
#include <map>
#include <vector>

namespace quorix {

namespace {

constexpr Colour kLabelBackground = kWhite;
// The read-outs of the period and the RMS deviation: their design width, and the room they may
// take up to the next control of the row, so that a large value is never cut at both ends.
constexpr double kReadOutWidth = 975;
constexpr double kPeriodRoom = 2160 - 840 - 60;
constexpr double kRmsRoom = 4800 - 3600 - 60;
// The border and inner margins of a read-out box, in pixels.
constexpr int kReadOutPadding = 10;

Colour SystemColour(QPalette::ColorRole role) {
    const QColor colour = QApplication::palette().color(role);
    return Rgb(colour.red(), colour.green(), colour.blue());
}

} // namespace

frmPlot_OCdiag::frmPlot_OCdiag(SharedState& state)
    : Label1(&DrawingSurface()), Label2(&DrawingSurface()), Label4(&DrawingSurface()),
      Label3(&DrawingSurface()), Label5(&DrawingSurface()), Label7(&DrawingSurface()),
      Label6(&DrawingSurface()), Text1(&DrawingSurface()), Command1(&DrawingSurface()), state_(state) {
    SetCaption("O-C Diagram");
    SetBackColor(SystemColour(QPalette::Base));
    SetFormFont(kWindowFont);
    BuildControls();
    BuildMenus();
}

void frmPlot_OCdiag::BuildControls() {
    struct Design {
        OCControl id;
        Control* control;
        double left, top, width, height;
    };
    // The labels and the RMS box that describe the diagram keep the places off-screen pictures give
    // them too; the box is a little taller than the labels for its frame.
    const std::map<OCControl, Label*> plotLabels{{OCControl::kLabel1, &Label1}, {OCControl::kLabel2, &Label2},
                                                 {OCControl::kLabel3, &Label3}, {OCControl::kLabel4, &Label4},
                                                 {OCControl::kLabel5, &Label5}, {OCControl::kLabel6, &Label6},
                                                 {OCControl::kLabel7, &Label7}};
    std::vector<Design> designs;
    for (const OCLabelDesign& design : kOCPlotLabels) {
        if (design.id == OCControl::kText1) {
            designs.push_back({design.id, &Text1, design.left, design.top, design.width, 285});
            Text1.SetAlignment(design.align);
            continue;
        }
        Label& label = *plotLabels.at(design.id);
        designs.push_back({design.id, &label, design.left, design.top, design.width, kOCLabelHeight});
        label.SetCaption(design.caption);
        label.SetAlignment(design.align);
        label.SetBackColor(kLabelBackground);
    }
    designs.push_back({OCControl::kCommand1, &Command1, 4800, 9120, 975, 375});
    for (const auto& design : designs) {
        design.control->Place(design.left, design.top, design.width, design.height);
        design.control->SetFont(kWindowFont);
        controls_[design.id] = design.control;
    }
    static_cast<QLabel*>(Label7.Widget())->setFrameStyle(QFrame::Box | QFrame::Plain);
    Command1.SetCaption("Refresh");
    Command1.OnClick([this] { Command1_Click(); });
    SetTabOrder({&Text1, &Command1});
}

void frmPlot_OCdiag::BuildMenus() {
    QMenu* file = AddMenu("File");
    mPrinterSetup = AddMenuItem(file, kOCPrintMenu.setup, [this] { mPrinterSetup_Click(); });
    mPrint = AddMenuItem(file, kOCPrintMenu.print, [this] { mPrint_Click(); });
    AddMenuItem(file, "Ephemeris ...", [this] { ShowEphemerisWindow(*this, EphemerisInputFor(state_)); });
    AddMenuSeparator(file);
    AddMenuItem(file, "Exit", [this] { mExit_Click(); });
}

DisplayList& frmPlot_OCdiag::PlotDrawing() {
    DrawingSurface().update();
    return DrawingSurface().EditDrawing();
}

void frmPlot_OCdiag::SetControlCaption(OCControl control, const std::string& caption) {
    Control& shown = ControlOf(control);
    shown.SetDisplayText(caption);
    if (control == OCControl::kLabel7 || control == OCControl::kText1) {
        const QFontMetrics metrics(shown.Widget()->font());
        const double needed = PixelsToTwips(metrics.horizontalAdvance(ToQString(caption)) + kReadOutPadding);
        const double room = control == OCControl::kLabel7 ? kPeriodRoom : kRmsRoom;
        shown.SetWidth(std::clamp(needed, kReadOutWidth, room));
    }
}

void frmPlot_OCdiag::Command1_Click() {
    RedrawOCPlot(state_, *this);
}

void frmPlot_OCdiag::Form_Load() {
    state_.OCWinLoading = kTrue;
    ApplyPlacement(state_.OCWinTop, state_.OCWinLeft, state_.OCWinHeight, state_.OCWinWidth);
}

void frmPlot_OCdiag::RememberPlacement() {
    StorePlacement(state_.OCWinTop, state_.OCWinLeft, state_.OCWinHeight, state_.OCWinWidth);
}

void frmPlot_OCdiag::Form_Resize() {
    if (state_.OCWinLoading != kFalse) {
        return;
    }
    RememberPlacement();
    RedrawOCPlot(state_, *this);
}

void frmPlot_OCdiag::Form_GotFocus() {
    RedrawOCPlot(state_, *this);
}

void frmPlot_OCdiag::Form_Unload() {
    RememberPlacement();
}

} // namespace quorix
