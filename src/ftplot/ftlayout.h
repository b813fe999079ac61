#pragma once

#include "ftplot/ftplotview.h"

#include <array>

namespace quorix {

// A label of the FT window that describes its plot, as designed: left, top and width in twips and
// its first caption. The window and off-screen pictures of the plot share these.
struct FTLabelDesign {
    FTControl id;
    double left;
    double top;
    double width;
    const char* caption;
};

inline constexpr double kFTLabelHeight = 255;

inline constexpr std::array<FTLabelDesign, 5> kFTPlotLabels{{
    {FTControl::kLabel1, 480, 9720, 975, "L1"},
    {FTControl::kLabel2, 12000, 9720, 1095, "L2"},
    {FTControl::kLabel3, 3600, 10320, 1215, "Period (days)"},
    {FTControl::kLabel4, 10200, 10320, 1815, "Tick interval (days):"},
    {FTControl::kLabel5, 12120, 10320, 1335, "L5"},
}};

} // namespace quorix
