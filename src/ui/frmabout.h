#pragma once

#include "platform/controls.h"
#include "platform/form.h"

#include <functional>

namespace quorix {

// The About window: the program's title, its version and where to send reports. Whenever it stops
// being the active window, loses the focus or is closed, it has the FT plot redrawn (without marks),
// which also brings the plot window back.
class frmAbout : public Form {
    Q_OBJECT
public:
    // `redrawPlot` is the FT redraw the window asks for when it is left or closed.
    explicit frmAbout(std::function<void()> redrawPlot);

    Label Label1, Label6, Label7, Label4, Label5;

protected:
    void Form_Deactivate() override { redrawPlot_(); }
    void Form_LostFocus() override { redrawPlot_(); }
    void Form_Unload() override { redrawPlot_(); }

private:
    std::function<void()> redrawPlot_;
};

} // namespace quorix
