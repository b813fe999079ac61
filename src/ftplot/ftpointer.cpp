#include "ftplot/ftpointer.h"

#include "state/numbertext.h"

namespace quorix {

bool IsInsidePlot(const SharedState& state, float x, float y, FrameLines frameLines) {
    const float left = state.PlotLeft, right = state.PlotRight, top = state.PlotTop,
                bottom = state.PlotBottom;
    if (!(left < right && top < bottom)) {
        return false;
    }
    if (frameLines == FrameLines::kInside) {
        return left <= x && x <= right && top <= y && y <= bottom;
    }
    return left < x && x < right && top < y && y < bottom;
}

double PointerOmega(const SharedState& state, float x) {
    // The fraction across the frame is taken in single precision, as the pointer position is.
    const float fraction = (x - state.PlotLeft) / static_cast<float>(state.PlotRight - state.PlotLeft);
    return state.ViewOmegaStart + (state.ViewOmegaEnd - state.ViewOmegaStart) * fraction;
}

std::int32_t PointerGridIndex(const SharedState& state, float x) {
    const double p = state.ViewStartIndex, q = state.ViewEndIndex;
    const double fraction =
        (PointerOmega(state, x) - state.ViewOmegaStart) / (state.ViewOmegaEnd - state.ViewOmegaStart);
    return RoundToInt32(p + (q - p) * fraction).value_or(state.ViewStartIndex);
}

} // namespace quorix
