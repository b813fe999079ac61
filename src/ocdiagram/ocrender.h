#pragma once

#include "ocdiagram/ocplotview.h"
#include "state/sharedstate.h"

namespace quorix {

// Stores the window's outer size and the plot frame derived from it (16-bit twips). A window too
// small for the margins gets a frame of no width or no height, never a negative one.
void ComputeOCGeometry(SharedState& state, double windowWidth, double windowHeight);

// Shows the window and clears it; with a search result also draws the grid, the tick marks and the
// frame, labels the O-C axis, fills the period and RMS read-outs and moves the controls to the frame.
void DrawOCAxes(SharedState& state, LazyView<OCPlotView>& window);

// A red ring at every observation's cycle count and O-C value.
void DrawOCPoints(SharedState& state, OCPlotView& view);

// The least-squares line in blue, cut off at the top and bottom of the frame, when one is defined;
// then the drawing is complete and the window's resizes draw again.
void DrawOCFitLine(SharedState& state, OCPlotView& view);

// The whole diagram from the O-C state as it is, without recomputing it.
void RedrawOCPlot(SharedState& state, LazyView<OCPlotView>& window);

// Computes the O-C diagram of TrialPeriod and draws it, bringing the window up. A refused period
// (see ComputeOCDiagram) computes and draws nothing: the window keeps the diagram it shows.
void UpdateOCDiagram(SharedState& state, LazyView<OCPlotView>& window);

} // namespace quorix
