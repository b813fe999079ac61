#pragma once

namespace quorix {

// The alias list window as the alias routines see it. The window implements it; tests implement it
// over plain data.
class AliasListView {
public:
    virtual ~AliasListView() = default;
    // Shows the window (brought back to its normal state first when minimised), clears it and places
    // it at the remembered left, top and width, with a height that fits AliasLineCount lines.
    virtual void OpenAliasList() = 0;
    // Clears the window and prints AliasLines 1..AliasLineCount from its top-left corner down.
    virtual void ShowAliasLines() = 0;
};

} // namespace quorix
