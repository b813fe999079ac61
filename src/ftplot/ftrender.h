#pragma once

#include "aliases/aliaslistview.h"
#include "ftplot/ftplotview.h"
#include "state/sharedstate.h"

#include <cstdint>
#include <optional>

namespace quorix {

// The period ticks of a view: interval T and the tick numbers G (leftmost, longest period) down to
// F (rightmost); tick k stands at period k x T.
struct FTTicks {
    float interval = 0.0f;
    std::int32_t first = 0; // G
    std::int32_t last = 0;  // F
};

// Ticks for a view from the longest period `periodStart` to the shortest `periodEnd`; empty when the
// view is narrower than 0.00001 days or holds a single tick number, which cannot be labelled.
[[nodiscard]] std::optional<FTTicks> ChooseFTTicks(double periodStart, double periodEnd);

// Stores the window's outer size and the plot frame derived from it (16-bit twips).
void ComputeFTGeometry(SharedState& state, double windowWidth, double windowHeight);

// Shows the window, clears it and draws the frame; with a search result also the period ticks, their
// labels and the controls under the plot. A view too narrow to label returns to the full view and
// draws that in full instead: then the result is false and the caller draws nothing more.
[[nodiscard]] bool DrawFTAxes(SharedState& state, LazyView<FTPlotView>& window);

// Draws FTValues[first..last] across the frame, one segment per grid index, never beyond the grid of
// the last completed search.
void DrawFTCurve(SharedState& state, FTPlotView& view, std::int32_t first, std::int32_t last);

// The x of an angular frequency in the current view (not rounded).
[[nodiscard]] double OmegaToPlotX(const SharedState& state, double omega);

// The y of an FT value: 0 on the bottom edge, 1.1 on the top edge.
[[nodiscard]] double FTValueToPlotY(const SharedState& state, double value);

// Returns the view to the full range of the last completed search and redraws everything.
void RestoreFTView(SharedState& state, LazyView<FTPlotView>& window);

// Strokes at the alias periods inside the current view, in the given colour.
void DrawAliasMarks(SharedState& state, FTPlotView& view, Colour colour);

// "Mark": builds the alias list, brings up the alias window with the new lines and marks the aliases
// on the FT plot. False, with nothing changed or drawn, when there is no trial period; the caller then
// shows kNoTrialPeriodMessage.
[[nodiscard]] bool ListAliasPeriods(SharedState& state, LazyView<AliasListView>& aliasWindow,
                                    FTPlotView& plot);

// The full redraw: axes, the alias marks while they are shown, and the curve of the view.
void RedrawFTPlot(SharedState& state, LazyView<FTPlotView>& window);

// The redraw that other windows ask for ("Compute", leaving the About window): axes and the curve of
// the view, never the alias marks. Like every redraw it brings the window up.
void RedrawFTPlotWithoutMarks(SharedState& state, LazyView<FTPlotView>& window);

} // namespace quorix
