#pragma once

#include "platform/displaylist.h"
#include "platform/lazyview.h"

#include <string>

namespace quorix {

// The controls of the O-C window that the drawing routines place and fill.
enum class OCControl {
    kLabel1,   // value of the highest O-C grid line
    kLabel2,   // value of the lowest O-C grid line
    kLabel4,   // "Step"
    kLabel3,   // spacing of the O-C grid lines
    kLabel5,   // "Period:"
    kLabel7,   // the trial period
    kLabel6,   // "RMS deviation:"
    kText1,    // the RMS deviation
    kCommand1, // "Refresh"
};

// The O-C window as the drawing routines see it. The application object implements it over the real
// window, loading that window on first use; tests implement it over a plain display list.
class OCPlotView {
public:
    virtual ~OCPlotView() = default;
    // Shows the window without making it modal.
    virtual void ShowPlotWindow() = 0;
    // The window's outer size in twips.
    [[nodiscard]] virtual double PlotWindowWidth() = 0;
    [[nodiscard]] virtual double PlotWindowHeight() = 0;
    // The picture of the window's drawing surface; drawing into it repaints the window.
    [[nodiscard]] virtual DisplayList& PlotDrawing() = 0;
    virtual void SetControlTop(OCControl control, double top) = 0;
    // A label's caption or the text box's text.
    virtual void SetControlCaption(OCControl control, const std::string& caption) = 0;
};

} // namespace quorix
