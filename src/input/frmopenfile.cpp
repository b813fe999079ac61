#include "input/frmopenfile.h"

#include <QCloseEvent>

#include <algorithm>

namespace quorix {

namespace {

constexpr Colour kDialogBackground = Rgb(192, 192, 192);

// The outer size the controls' design places were laid out for, and the smallest one allowed.
constexpr double kDesignWidth = 7110;
constexpr double kDesignHeight = 7350;
constexpr double kMinimumWidth = 6525;
constexpr double kMinimumHeight = 3540;

} // namespace

frmOpenFile::frmOpenFile(SharedState& state, std::function<void()> loadFile)
    : Label1(&DrawingSurface()), Label2(&DrawingSurface()), Label3(&DrawingSurface()),
      Label4(&DrawingSurface()), Label5(&DrawingSurface()), Text1(&DrawingSurface()),
      File1(&DrawingSurface()), Combo1(&DrawingSurface()), Dir1(&DrawingSurface()), Drive1(&DrawingSurface()),
      Command1(&DrawingSurface()), Command2(&DrawingSurface()), state_(state),
      loadFile_(std::move(loadFile)) {
    SetCaption("Open Input File");
    SetBackColor(kDialogBackground);
    SetFormFont(kWindowFont);
    BuildControls();
    SetWidth(kDesignWidth);
    SetHeight(kDesignHeight);
}

void frmOpenFile::BuildControls() {
    struct Design {
        Control* control;
        double left, top, width, height;
    };
    const Design designs[] = {
        {&Label1, 120, 120, 975, 255},     {&Text1, 120, 360, 2415, 315},
        {&File1, 120, 840, 2415, 5100},    {&Label2, 120, 6240, 2415, 255},
        {&Combo1, 120, 6480, 2415, 315},   {&Label3, 2880, 120, 2295, 255},
        {&Label4, 2880, 360, 3975, 255},   {&Dir1, 2880, 720, 2415, 5265},
        {&Label5, 2880, 6240, 1335, 255},  {&Drive1, 2880, 6480, 2415, 315},
        {&Command1, 5520, 720, 1335, 375}, {&Command2, 5520, 1200, 1335, 375},
    };
    for (const Design& design : designs) {
        design.control->Place(design.left, design.top, design.width, design.height);
        design.control->SetFont(kWindowFont);
    }
    for (Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5}) {
        label->SetBackColor(kDialogBackground);
    }
    Label1.SetCaption("File Name:");
    Label2.SetCaption("List Files of Type:");
    Label3.SetCaption("Directories:");
    Label5.SetCaption("Drives:");
    // Folder names are shown as they are, never read as markup.
    static_cast<QLabel*>(Label4.Widget())->setTextFormat(Qt::PlainText);
    Command1.SetCaption("OK");
    Command2.SetCaption("Cancel");

    Command1.OnClick([this] { Command1_Click(); });
    Command2.OnClick([this] { Command2_Click(); });
    Combo1.OnClick([this] { Combo1_Click(); });
    Drive1.OnChange([this] { Drive1_Change(); });
    Dir1.OnChange([this] { Dir1_Change(); });
    File1.OnClick([this] { File1_Click(); });
    File1.OnMouseDown([this] { File1_Click(); });
    File1.OnDblClick([this] { File1_DblClick(); });
    SetTabOrder({&Text1, &Combo1, &Command1, &Command2, &Drive1, &Dir1, &File1});
}

void frmOpenFile::Command1_Click() {
    state_.DataFolder = Label4.Caption();
    state_.DataFileName = Text1.Text();
    if (loadFile_) {
        loadFile_();
    }
    Hide();
}

void frmOpenFile::Combo1_Click() {
    const int index = Combo1.ListIndex();
    if (index >= 0) {
        File1.SetPattern(Combo1.Item(index));
    }
}

void frmOpenFile::Dir1_Change() {
    File1.SetPath(Dir1.Path());
    Text1.SetText(File1.ListCount() > 0 ? File1.Item(0) : std::string());
    Label4.SetCaption(Dir1.Path());
}

void frmOpenFile::File1_DblClick() {
    File1_Click();
    Command1_Click();
}

void frmOpenFile::Form_Resize() {
    // Too small a window is put back to the smallest size; the layout then works from that size.
    const double width = std::max(Width(), kMinimumWidth);
    const double height = std::max(Height(), kMinimumHeight);
    if (height != Height()) {
        SetHeight(height);
    }
    if (width != Width()) {
        SetWidth(width);
    }

    // The lists take the height the window leaves; what stands below them keeps its distance.
    File1.SetHeight(height - 2100);
    Label2.SetTop(File1.Height() + 990);
    Combo1.SetTop(File1.Height() + 1230);
    Dir1.SetHeight(height - 1890);
    Label5.SetTop(Dir1.Height() + 780);
    Drive1.SetTop(Dir1.Height() + 1020);

    // Each list column takes half of the width beyond 7830; the folder column and the buttons follow.
    const double nameColumn = (width - 7830) / 2 + 3015;
    const double folderColumn = (width - 7830) / 2 + 2655;
    for (Control* control : std::initializer_list<Control*>{&Text1, &File1, &Combo1}) {
        control->SetWidth(nameColumn);
    }
    Dir1.SetWidth(folderColumn);
    Drive1.SetWidth(folderColumn);
    for (Control* control : std::initializer_list<Control*>{&Label3, &Label4, &Dir1, &Label5, &Drive1}) {
        control->SetLeft(Text1.Width() + 345);
    }
    Command1.SetLeft(Dir1.Width() + Text1.Width() + 570);
    Command2.SetLeft(Dir1.Width() + Text1.Width() + 570);
}

void frmOpenFile::closeEvent(QCloseEvent* event) {
    event->ignore();
    Command2_Click();
}

} // namespace quorix
