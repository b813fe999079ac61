#pragma once

#include "cli/clisearch.h"
#include "ocdiagram/occompute.h"
#include "ocdiagram/ephemerisfit.h"

#include <span>
#include <string>

namespace quorix::cli {

// What the picture shows: a completed search over `times`, the FT values to draw (evenly spread over
// the grid's frequency range; see PlotCurve) and, when there is one, the O-C diagram to draw below.
struct PlotRequest {
    const CliSearch* search = nullptr;
    std::span<const double> times;
    double baseTime = 0.0;
    std::span<const double> curve;
    const OCDiagram* oc = nullptr;
    // With the O-C diagram: the ephemeris fits, whose chosen model is drawn over it with a panel of
    // residuals below, and what is known of each time (empty: unknown).
    const EphemerisReport* ephemeris = nullptr;
    std::span<const MinimumType> types;
    std::span<const double> errors; // days; 0 where unknown
    std::string dataFile;
    std::string finalName; // its extension chooses PNG, SVG or PDF
    std::string writePath; // where the picture is written
    const char* programName = "quorix-search";
};

// Draws the FT plot with the FT window's own drawing routines on a window of the desktop's default
// size, the O-C window's diagram below it when there is one, and writes the picture. Starts its own
// Qt GUI application, off screen. False with `error` set when the file cannot be written.
using ExportPlotsFunction = bool (*)(const PlotRequest& request, std::string& error);

// The picture export lives in a module of its own, loaded only when a picture is asked for, so that
// a run that prints text only never loads Qt. It is looked for beside the program, then in the
// library folder of its installation; empty with `error` set when neither holds it.
[[nodiscard]] ExportPlotsFunction LoadPlotExport(std::string& error);

} // namespace quorix::cli

// The module's one entry point, an ExportPlotsFunction.
extern "C" bool QuorixExportPlots(const quorix::cli::PlotRequest& request, std::string& error);
