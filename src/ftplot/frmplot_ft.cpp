#include "ftplot/frmplot_ft.h"

#include "aliases/aliaslist.h"
#include "ftplot/ftlayout.h"
#include "ftplot/ftpointer.h"
#include "ftplot/ftrender.h"
#include "platform/messagebox.h"
#include "printing/printlayout.h"
#include "state/numbertext.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace quorix {

namespace {

constexpr Colour kZoomLineColour = kRed;
constexpr std::size_t kReadOutLength = 8;

} // namespace

frmPlot_FT::frmPlot_FT(SharedState& state, FTWindowLinks links)
    : Label1(&DrawingSurface()), Label2(&DrawingSurface()), Label3(&DrawingSurface()),
      Label4(&DrawingSurface()), Label5(&DrawingSurface()), Label6(&DrawingSurface()),
      Label7(&DrawingSurface()), Label8(&DrawingSurface()), Text1(&DrawingSurface()),
      Command1(&DrawingSurface()), Command2(&DrawingSurface()), Command3(&DrawingSurface()),
      Command4(&DrawingSurface()), state_(state), links_(std::move(links)) {
    SetBackColor(kFTPlotBackground);
    SetFormFont(kWindowFont);
    BuildControls();
    BuildMenus();
}

void frmPlot_FT::BuildControls() {
    struct Design {
        FTControl id;
        Control* control;
        double left, top, width, height;
    };
    // The labels that describe the plot keep the places off-screen pictures give them too.
    const std::map<FTControl, Label*> plotLabels{{FTControl::kLabel1, &Label1},
                                                 {FTControl::kLabel2, &Label2},
                                                 {FTControl::kLabel3, &Label3},
                                                 {FTControl::kLabel4, &Label4},
                                                 {FTControl::kLabel5, &Label5}};
    std::vector<Design> designs;
    for (const FTLabelDesign& label : kFTPlotLabels) {
        designs.push_back(
            {label.id, plotLabels.at(label.id), label.left, label.top, label.width, kFTLabelHeight});
        plotLabels.at(label.id)->SetCaption(label.caption);
    }
    designs.insert(designs.end(), {
                                      {FTControl::kText1, &Text1, 3600, 10560, 1095, 315},
                                      {FTControl::kCommand1, &Command1, 8520, 10320, 1215, 495},
                                      {FTControl::kLabel6, &Label6, 120, 10320, 2175, 255},
                                      {FTControl::kLabel7, &Label7, 120, 10560, 3135, 255},
                                      {FTControl::kCommand2, &Command2, 4800, 10320, 975, 615},
                                      {FTControl::kLabel8, &Label8, 6240, 10320, 1575, 255},
                                      {FTControl::kCommand3, &Command3, 6240, 10560, 735, 375},
                                      {FTControl::kCommand4, &Command4, 7080, 10560, 735, 375},
                                  });
    for (const auto& design : designs) {
        design.control->Place(design.left, design.top, design.width, design.height);
        design.control->SetFont(kWindowFont);
        controls_[design.id] = design.control;
    }
    for (Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8}) {
        label->SetBackColor(kFTPlotBackground);
    }
    Label6.SetCaption("Left click:  Draw O-C plot");
    Label7.SetCaption("Right click:  Select interval for zoom");
    Label8.SetCaption("Aliases:");
    Label8.SetAlignment(TextAlign::kCentre);
    Text1.SetAlignment(TextAlign::kCentre);
    Command1.SetCaption("Restore");
    Command2.SetCaption("Update O-C plot");
    Command2.Button()->setStyleSheet("text-align: center;");
    Command3.SetCaption("Mark");
    Command4.SetCaption("Clear");
    Command1.OnClick([this] { Command1_Click(); });
    Command3.OnClick([this] { Command3_Click(); });
    Command4.OnClick([this] { Command4_Click(); });
    Command2.OnClick([this] { Command2_Click(); });
    // Enter in the period box asks for the O-C plot of the period typed there, as its button does.
    QObject::connect(Text1.Edit(), &QLineEdit::returnPressed, this, [this] { Command2_Click(); });
    SetTabOrder({&Text1, &Command1, &Command2, &Command3, &Command4});
}

void frmPlot_FT::BuildMenus() {
    QMenu* file = AddMenu("&File");
    AddMenuItem(file, kFTPrintMenu.setup, [this] { mPrintSetup_Click(); });
    AddMenuItem(file, kFTPrintMenu.print, [this] { mPrint_Click(); });
    AddMenuSeparator(file);
    AddMenuItem(file, "E&xit", [this] { mExit_Click(); });
    QMenu* help = AddMenu("&Help");
    HelpFourier = AddMenuItem(help, "Fourier Transform", [this] { HelpFourier_Click(); });
    AddMenuSeparator(help);
    About = AddMenuItem(help, "&About", [this] { About_Click(); });
}

DisplayList& frmPlot_FT::PlotDrawing() {
    return DrawingSurface().EditDrawing();
}

char frmPlot_FT::DecimalSeparator() const {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

void frmPlot_FT::HelpFourier_Click() {
    links_.showHelp();
}

void frmPlot_FT::About_Click() {
    links_.showAbout();
}

void frmPlot_FT::Command1_Click() {
    RestoreFTView(state_, *this);
}

void frmPlot_FT::Command3_Click() {
    state_.MarksShown = kTrue;
    if (!ListAliasPeriods(state_, links_.aliasList, *this)) {
        MessageBox(kNoTrialPeriodMessage);
    }
    DrawAliasMarks(state_, *this, state_.MarkColour);
}

void frmPlot_FT::Command4_Click() {
    // Painting the marks in the background colour takes them off without a redraw.
    DrawAliasMarks(state_, *this, kFTPlotBackground);
    state_.MarksShown = kFalse;
    links_.hideAliasList();
}

void frmPlot_FT::Form_MouseMove(int /*button*/, float x, float y) {
    if (!IsInsidePlot(state_, x, y, FrameLines::kOutside)) {
        SetMousePointer(MousePointer::kArrow);
        return;
    }
    SetMousePointer(MousePointer::kCrossHair);
    // Before the first search the view has no range to read a period from.
    if (state_.CompletedStepCount == 0) {
        return;
    }
    const std::string text = ShortNumberText(state_.TwoPi / PointerOmega(state_, x), SignBlank::kWrite);
    Text1.SetText(text.substr(0, kReadOutLength));
}

void frmPlot_FT::Form_MouseDown(int button, float x, float y) {
    if (button == kLeftButton) {
        LeftClick(x, y);
    } else if (button == kRightButton) {
        ZoomClick(x, y);
    }
}

void frmPlot_FT::ZoomClick(float x, float y) {
    if (state_.FTComputed == kFalse || !IsInsidePlot(state_, x, y, FrameLines::kInside)) {
        return;
    }
    if (state_.ZoomFirstPending != kFalse) {
        state_.ZoomIndexFirst = PointerGridIndex(state_, x);
        DisplayList& drawing = PlotDrawing();
        drawing.SetForeColor(kZoomLineColour);
        drawing.Line(x, state_.PlotTop, x, state_.PlotBottom);
    } else {
        state_.ZoomIndexSecond = PointerGridIndex(state_, x);
        const double p0 = state_.ViewStartIndex, q0 = state_.ViewEndIndex;
        const double a0 = state_.ViewOmegaStart, b0 = state_.ViewOmegaEnd;
        // Indices are absolute, so a first click made before a "Restore" still pairs well. One made
        // before a search on a smaller grid is held to the grid that search left.
        const std::int32_t lastValid = std::min(state_.CompletedStepCount, kMaxSteps);
        const std::int32_t p =
            std::clamp(std::min(state_.ZoomIndexFirst, state_.ZoomIndexSecond), 0, lastValid);
        const std::int32_t q =
            std::clamp(std::max(state_.ZoomIndexFirst, state_.ZoomIndexSecond), 0, lastValid);
        state_.ViewStartIndex = p;
        state_.ViewEndIndex = q;
        // The new ends are interpolated from the view the clicks were made on. A pair on one index
        // gives a view without width, which the redraw sends back to the full view.
        state_.ViewOmegaStart = a0 + (b0 - a0) * (p - p0) / (q0 - p0);
        state_.ViewOmegaEnd = a0 + (b0 - a0) * (q - p0) / (q0 - p0);
        PlotDrawing().Cls();
        RedrawFTPlot(state_, *this);
    }
    state_.ZoomFirstPending = ToFlag(state_.ZoomFirstPending == kFalse);
}

void frmPlot_FT::Command2_Click() {
    state_.TrialPeriod = ReadLeadingNumber(Text1.Text());
    links_.drawOCDiagram();
}

void frmPlot_FT::LeftClick(float x, float y) {
    if (state_.FTComputed == kFalse || !IsInsidePlot(state_, x, y, FrameLines::kInside)) {
        return;
    }
    state_.TrialPeriod = state_.TwoPi / PointerOmega(state_, x);
    links_.drawOCDiagram();
}

void frmPlot_FT::Form_Load() {
    SetCaption(state_.DataFileName);
    SetMousePointer(MousePointer::kArrow);
    state_.ZoomFirstPending = kTrue;
    ApplyPlacement(state_.FTWinTop, state_.FTWinLeft, state_.FTWinHeight, state_.FTWinWidth);
}

void frmPlot_FT::RememberPlacement() {
    StorePlacement(state_.FTWinTop, state_.FTWinLeft, state_.FTWinHeight, state_.FTWinWidth);
}

void frmPlot_FT::Form_Resize() {
    if (state_.FTRedrawing != kFalse) {
        return;
    }
    RememberPlacement();
    RedrawFTPlot(state_, *this);
}

void frmPlot_FT::Form_GotFocus() {
    RedrawFTPlot(state_, *this);
}

void frmPlot_FT::Form_Unload() {
    RememberPlacement();
}

} // namespace quorix
