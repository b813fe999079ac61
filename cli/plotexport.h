#pragma once

#include "state/sharedstate.h"

#include <string>

namespace quorix::cli {

// Draws the FT plot of a completed search held in `state` with the FT window's own drawing routines
// on a window of the desktop's default size, and writes the picture to `writePath` as PNG, SVG or
// PDF, chosen by the extension of `finalName`. Needs a Qt GUI application. False with `error` set
// when the file cannot be written.
[[nodiscard]] bool ExportFTPlot(SharedState& state, const std::string& finalName,
                                const std::string& writePath, std::string& error);

} // namespace quorix::cli
