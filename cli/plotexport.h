#pragma once

#include "state/sharedstate.h"

#include <string>

namespace quorix::cli {

// Draws the FT plot of a completed search held in `state` with the FT window's own drawing routines
// on a window of the desktop's default size, with the O-C window's diagram of the state's O-C result
// below it when `withOC`, and writes the picture to `writePath` as PNG, SVG or PDF, chosen by the
// extension of `finalName`. Needs a Qt GUI application. False with `error` set when the file cannot
// be written.
[[nodiscard]] bool ExportPlots(SharedState& state, bool withOC, const std::string& finalName,
                               const std::string& writePath, std::string& error);

} // namespace quorix::cli
