#pragma once

#include "aliases/aliaslistview.h"
#include "platform/form.h"
#include "platform/lazyview.h"
#include "printing/printhandlers.h"
#include "state/sharedstate.h"

class QAction;

namespace quorix {

// The alias list window: the lines of the last "Mark" printed on a white surface, and a File menu to
// print them.
class frmList_Aliases : public Form, public AliasListView, public LazyView<AliasListView> {
    Q_OBJECT
public:
    explicit frmList_Aliases(SharedState& state);

    // A window handling its own events is loaded: it is its own view.
    AliasListView& Loaded() override { return *this; }
    void OpenAliasList() override;
    void ShowAliasLines() override;
    // What the FT window's "Clear" does to the list: stores its placement, then hides it.
    void HideAliasList();

    // The menu entries, for the handlers that print the list.
    QAction* APrint_Setup = nullptr;
    QAction* Aprint = nullptr;
    QAction* Aexit = nullptr;

    void APrint_Setup_Click() { ListPrintSetup(*this, state_); }
    void Aprint_Click() { ListPrint(*this, state_); }
    void Aexit_Click() { Hide(); }

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_GotFocus() override;
    void Form_Unload() override;

private:
    // Set by the opening of "Mark" until its lines are shown: a window too narrow for them widens once.
    bool fitWidthToLines_ = false;
    void FitWidthToLines();
    void BuildMenus();
    void RememberPlacement();

    SharedState& state_;
};

} // namespace quorix
