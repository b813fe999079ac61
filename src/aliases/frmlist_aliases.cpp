#include "aliases/frmlist_aliases.h"

#include "aliases/aliaslist.h"
#include "printing/printlayout.h"

#include <QFontMetrics>
#include <QMenu>

#include <algorithm>

namespace quorix {

namespace {

constexpr Colour kListBackground = kWhite;
// About 8 points: one line of it fits the 260 twips a list line is given.
const FontStyle kListFont{};
// Pixels left free after the longest line.
constexpr int kLineEndRoom = 4;

} // namespace

frmList_Aliases::frmList_Aliases(SharedState& state) : state_(state) {
    SetCaption("Alias Periods");
    SetBackColor(kListBackground);
    SetFormFont(kListFont);
    BuildMenus();
}

void frmList_Aliases::BuildMenus() {
    QMenu* file = AddMenu("File");
    APrint_Setup = AddMenuItem(file, kAliasPrintMenu.setup, [this] { APrint_Setup_Click(); });
    Aprint = AddMenuItem(file, kAliasPrintMenu.print, [this] { Aprint_Click(); });
    AddMenuSeparator(file);
    Aexit = AddMenuItem(file, "Exit", [this] { Aexit_Click(); });
}

void frmList_Aliases::OpenAliasList() {
    // A minimised or maximised window cannot be placed: bring it back to its normal state first.
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    Show();
    DrawingSurface().EditDrawing().Cls();
    SetLeft(state_.AliasWinLeft);
    SetTop(state_.AliasWinTop);
    SetWidth(state_.AliasWinWidth);
    SetHeight(state_.AliasLineCount * kAliasLineHeight);
    fitWidthToLines_ = true;
}

void frmList_Aliases::FitWidthToLines() {
    // The list is there to be read: "Mark" widens a window that would cut its lines (the header's
    // "followed by (type)." among them); a width the user makes later is kept.
    fitWidthToLines_ = false;
    const QFontMetrics metrics(DrawingSurface().font());
    int widest = 0;
    for (int i = 1; i <= std::clamp<int>(state_.AliasLineCount, 0, kMaxAliasLines); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(state_.AliasLines[i])));
    }
    const int missing = widest + kLineEndRoom - DrawingSurface().width();
    if (missing > 0) {
        SetWidth(Width() + PixelsToTwips(missing));
    }
}

void frmList_Aliases::ShowAliasLines() {
    if (fitWidthToLines_) {
        FitWidthToLines(); // its resize shows the lines
    }
    DisplayList& drawing = DrawingSurface().EditDrawing();
    drawing.Cls();
    const float lineHeight = DrawingSurface().TextLineHeight();
    const int count = std::clamp<int>(state_.AliasLineCount, 0, kMaxAliasLines);
    for (int i = 1; i <= count; ++i) {
        drawing.Print(state_.AliasLines[i], lineHeight);
    }
}

void frmList_Aliases::HideAliasList() {
    RememberPlacement();
    Hide();
}

void frmList_Aliases::Form_Load() {
    state_.AliasWinLoading = kTrue;
    ApplyPlacement(state_.AliasWinTop, state_.AliasWinLeft, state_.AliasWinHeight, state_.AliasWinWidth);
    state_.AliasWinLoading = kFalse;
}

void frmList_Aliases::RememberPlacement() {
    StorePlacement(state_.AliasWinTop, state_.AliasWinLeft, state_.AliasWinHeight, state_.AliasWinWidth);
}

void frmList_Aliases::Form_Resize() {
    if (state_.AliasWinLoading != kFalse) {
        return;
    }
    RememberPlacement();
    ShowAliasLines();
}

void frmList_Aliases::Form_GotFocus() {
    ShowAliasLines();
}

void frmList_Aliases::Form_Unload() {
    RememberPlacement();
}

} // namespace quorix
