#pragma once

#include "platform/displaylist.h"

namespace quorix {

// The black frame that closes the axes of both plots, drawn clockwise from the top-left corner.
inline void DrawPlotFrame(DisplayList& drawing, float left, float top, float right, float bottom) {
    drawing.SetForeColor(kBlack);
    drawing.Line(left, top, right, top);
    drawing.Line(right, top, right, bottom);
    drawing.Line(right, bottom, left, bottom);
    drawing.Line(left, bottom, left, top);
}

} // namespace quorix
