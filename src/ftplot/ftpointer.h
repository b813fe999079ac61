#pragma once

#include "state/sharedstate.h"

#include <cstdint>

namespace quorix {

// Whether a pointer on the frame lines counts as inside the plot: it does for clicks, it does not
// for the period read-out.
enum class FrameLines { kInside, kOutside };

// Whether a pointer at (x, y) twips on the FT window's surface is inside the plot frame. A frame
// without width or height has no inside.
[[nodiscard]] bool IsInsidePlot(const SharedState& state, float x, float y, FrameLines frameLines);

// The angular frequency under a pointer at x in the current view.
[[nodiscard]] double PointerOmega(const SharedState& state, float x);

// The absolute grid index under a pointer at x in the current view, halves to even.
[[nodiscard]] std::int32_t PointerGridIndex(const SharedState& state, float x);

} // namespace quorix
