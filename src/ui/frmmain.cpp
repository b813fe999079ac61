#include "ui/frmmain.h"

#include "ftplot/ftrender.h"
#include "input/frmopenfile.h"
#include "platform/messagebox.h"
#include "platform/textfile.h"
#include "state/settingsfile.h"

#include <utility>

#include <QDir>
#include <QFileDialog>

namespace quorix {

namespace {

// Reads a window's current place into its stored fields; a window that is not loaded (null) leaves
// them as they are.
void StoreCurrentPlacement(const Form* window, std::int16_t& top, std::int16_t& left, std::int16_t& height,
                           std::int16_t& width) {
    if (window != nullptr) {
        window->StorePlacement(top, left, height, width);
    }
}

// The program is ending: a settings file that cannot be written is left as it was, without a word.
void WriteSettings(const std::vector<std::string>& lines) {
    static_cast<void>(ReplaceTextFile(kSettingsFileName, lines));
}

constexpr Colour kWindowBackground = Rgb(255, 197, 112);
constexpr Colour kReadoutBackground = Rgb(224, 224, 224);
const FontStyle kPlain{.points = 9.75};
const FontStyle kBold{.points = 9.75, .bold = true};
const FontStyle kSmall{};

} // namespace

frmMain::frmMain(SharedState& state, MainWindowLinks links)
    : Label1(&DrawingSurface()), Label5(&DrawingSurface()), Label6(&DrawingSurface()),
      Label7(&DrawingSurface()), Label8(&DrawingSurface()), Label2(&DrawingSurface()),
      Label3(&DrawingSurface()), Label4(&DrawingSurface()), Label9(&DrawingSurface()),
      Label10(&DrawingSurface()), Text1(&DrawingSurface()), Text2(&DrawingSurface()),
      Text3(&DrawingSurface()), Text4(&DrawingSurface()), Command1(&DrawingSurface()),
      Command4(&DrawingSurface()), Command2(&DrawingSurface()), Command3(&DrawingSurface()), state_(state),
      links_(std::move(links)) {
    SetCaption("Period Search Software");
    SetBackColor(kWindowBackground);
    BuildControls();
    BuildMenus();
}

void frmMain::BuildControls() {
    struct Design {
        Control* control;
        const char* text;
        double left, top, width, height;
        const FontStyle& font;
    };
    const FontStyle title{"Arial", 24, true};
    const Design designs[] = {
        {&Label1, "Quorix Period Search", 360, 120, 5775, 495, title},
        {&Command1, "Open Data File", 360, 840, 1815, 495, kBold},
        {&Label5, "File:", 3120, 840, 495, 255, kPlain},
        {&Label6, "My Filename", 3600, 840, 2535, 255, kSmall},
        {&Label7, "Number of data points::", 3360, 1200, 2055, 255, kPlain},
        {&Label8, "", 5520, 1200, 615, 255, kSmall},
        {&Label2, "Minimum Period:", 360, 1680, 1935, 255, kBold},
        {&Text1, "0.20", 2280, 1680, 855, 285, kSmall},
        {&Command4, "Default Values", 3240, 1680, 1815, 375, kBold},
        {&Label3, "Maximum Period:", 360, 2160, 1935, 255, kBold},
        {&Text2, "1.20", 2280, 2160, 855, 285, kSmall},
        {&Label4, "# of steps (max 500,000):", 360, 2640, 2655, 255, kBold},
        {&Text3, "100000", 3000, 2640, 975, 285, kSmall},
        {&Command2, "Compute", 360, 3240, 1815, 495, kBold},
        {&Label9, "Best Period:", 2400, 3360, 1335, 255, kBold},
        {&Text4, "", 3720, 3360, 855, 285, kSmall},
        {&Label10, "days", 4680, 3360, 495, 255, kBold},
        {&Command3, "Quit", 5400, 3360, 855, 375, kBold},
    };
    for (const auto& design : designs) {
        design.control->Place(design.left, design.top, design.width, design.height);
        design.control->SetFont(design.font);
        design.control->SetDisplayText(design.text);
    }
    for (Label* label : {&Label1, &Label5, &Label7, &Label2, &Label3, &Label4, &Label9, &Label10}) {
        label->SetBackColor(kWindowBackground);
    }
    for (Label* readout : {&Label6, &Label8}) {
        readout->SetBackColor(kReadoutBackground);
        readout->SetAlignment(TextAlign::kCentre);
    }
    Label1.SetAlignment(TextAlign::kCentre);
    Label1.SetForeColor(Rgb(0, 0, 192));
    Command1.OnClick([this] { Command1_Click(); });
    Command2.OnClick([this] { Command2_Click(); });
    Command3.OnClick([this] { Command3_Click(); });
    Command4.OnClick([this] { Command4_Click(); });
    SetTabOrder({&Command1, &Text1, &Text2, &Text3, &Command2, &Command3, &Text4, &Command4});
}

void frmMain::BuildMenus() {
    QMenu* file = AddMenu("File");
    mOpen = AddMenuItem(file, "Open", [this] { Command1_Click(); });
    mImportTable = AddMenuItem(file, "Import Table...", [this] { mImportTable_Click(); });
    mCandidates = AddMenuItem(file, "Candidates ...", [this] { mCandidates_Click(); });
    AddMenuSeparator(file);
    mExit = AddMenuItem(file, "Exit", [this] { mExit_Click(); });
    QMenu* help = AddMenu("Help");
    m2Fourier_help = AddMenuItem(help, "Fourier Transform", [this] { m2Fourier_help_Click(); });
    m2About = AddMenuItem(help, "About", [this] { m2About_Click(); });
}

void frmMain::Form_Load() {
    InitWindowPlacements(state_);
    InitSearchDefaults(state_);
    SetTop(5100);
    SetLeft(100);
    SetHeight(4550);
    SetWidth(6570);
    InitMarks(state_);
    PrepareOpenFileDialog();
    Command2.SetEnabled(false);
    InitHelpParagraphs(state_);
    InitResultFlags(state_);
    InitDecimalFormats(state_);
    InitErrorMessages(state_);
}

void frmMain::PrepareOpenFileDialog() {
    frmOpenFile& dialog = links_.openFileDialog();
    for (const char* pattern : {"*.csv", "*.txt", "*.dat", "*.*"}) {
        dialog.Combo1.AddItem(pattern);
    }
    dialog.Combo1.SetListIndex(0);
    dialog.Label4.SetCaption(dialog.Dir1.Path());
}

void frmMain::Command1_Click() {
    // Passing through "*.txt" makes the list re-read even when "*.csv" was already chosen.
    frmOpenFile& dialog = links_.openFileDialog();
    dialog.Combo1.SetListIndex(1);
    dialog.Show();
    dialog.Combo1.SetListIndex(0);
}

void frmMain::Command2_Click() {
    RunPeriodSearch(state_, *this);
    RedrawFTPlotWithoutMarks(state_, links_.plotFT);
    links_.setPlotFTCaption(state_.DataFileName);
}

void frmMain::Command3_Click() {
    EndProcess();
}

void frmMain::Command4_Click() {
    Text1.SetText("0.2");
    Text2.SetText("1.2");
}

void frmMain::Form_Unload() {
    WriteSettingsOnClose();
    EndProcess();
}

void frmMain::mExit_Click() {
    WriteSettingsOnExit();
    EndProcess();
}

void frmMain::mImportTable_Click() {
    const QString path = QFileDialog::getOpenFileName(
        this, "Import Table", QDir::currentPath(), "Tables (*.csv *.txt *.dat *.tsv *.tex);;All files (*)");
    if (!path.isEmpty()) {
        links_.importTable(path.toStdString());
    }
}

void frmMain::mCandidates_Click() {
    links_.showCandidates();
}

void frmMain::m2Fourier_help_Click() {
    links_.showHelp();
}

void frmMain::m2About_Click() {
    links_.showAbout();
}

void frmMain::SetSearchButtonsEnabled(bool enabled) {
    for (CommandButton* button : {&Command1, &Command2, &Command3}) {
        button->SetEnabled(enabled);
    }
}

void frmMain::ShowMessage(const std::string& text) {
    MessageBox(text);
}

void frmMain::WriteSettingsOnClose() {
    StoreCurrentPlacement(links_.loadedPlotFT(), state_.FTWinTop, state_.FTWinLeft, state_.FTWinHeight,
                          state_.FTWinWidth);
    if (state_.FTComputed != kFalse) {
        StoreCurrentPlacement(links_.loadedPlotOC(), state_.OCWinTop, state_.OCWinLeft, state_.OCWinHeight,
                              state_.OCWinWidth);
    }
    WriteSettings(SettingsFileLines(state_, Top(), Left(), PeriodLine::kSecondField));
}

void frmMain::WriteSettingsOnExit() {
    WriteSettings(SettingsFileLines(state_, Top(), Left(), PeriodLine::kValueAlone));
}

} // namespace quorix
