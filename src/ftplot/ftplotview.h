#pragma once

#include "platform/displaylist.h"
#include "platform/lazyview.h"

#include <string>

namespace quorix {

// The controls of the FT plot window that the drawing routines place and label.
enum class FTControl {
    kLabel1,   // period of the leftmost tick
    kLabel2,   // period of the rightmost tick
    kText1,    // period read-out
    kLabel3,   // "Period (days)"
    kCommand1, // "Restore"
    kLabel4,   // "Tick interval (days):"
    kLabel5,   // tick interval value
    kLabel6,   // left-click hint
    kLabel7,   // right-click hint
    kCommand2, // "Update O-C plot"
    kLabel8,   // "Aliases:"
    kCommand3, // "Mark"
    kCommand4, // "Clear"
};

// The FT plot window as the drawing routines see it. The application object implements it over the
// real window, loading that window on first use; tests implement it over a plain display list.
class FTPlotView {
public:
    virtual ~FTPlotView() = default;
    // Loads the window when it is not loaded, then shows it without making it modal.
    virtual void ShowPlotWindow() = 0;
    // The window's outer size in twips.
    [[nodiscard]] virtual double PlotWindowWidth() = 0;
    [[nodiscard]] virtual double PlotWindowHeight() = 0;
    // The picture of the window's drawing surface; drawing into it repaints the window.
    [[nodiscard]] virtual DisplayList& PlotDrawing() = 0;
    virtual void SetControlTop(FTControl control, double top) = 0;
    virtual void SetControlLeft(FTControl control, double left) = 0;
    virtual void SetControlCaption(FTControl control, const std::string& caption) = 0;
    // The decimal separator of the user's regional settings, used by the tick labels.
    [[nodiscard]] virtual char DecimalSeparator() const = 0;
};

} // namespace quorix
