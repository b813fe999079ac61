#pragma once

#include "ocdiagram/ocplotview.h"
#include "platform/twips.h"

#include <array>

namespace quorix {

// A label of the O-C window that describes its diagram, as designed: left, top and width in twips,
// its first caption and its alignment. The window and off-screen pictures of the diagram share these.
struct OCLabelDesign {
    OCControl id;
    double left;
    double top;
    double width;
    const char* caption;
    TextAlign align = TextAlign::kLeft;
};

inline constexpr double kOCLabelHeight = 255;

inline constexpr std::array<OCLabelDesign, 8> kOCPlotLabels{{
    {OCControl::kLabel1, -120, 11520, 735, "L 1", TextAlign::kRight},
    {OCControl::kLabel2, 0, 12360, 735, "L 2", TextAlign::kRight},
    {OCControl::kLabel4, 0, 11760, 735, "Step"},
    {OCControl::kLabel3, 0, 12000, 735, "L 3"},
    {OCControl::kLabel5, 120, 9120, 615, "Period:"},
    {OCControl::kLabel7, 840, 9120, 975, "", TextAlign::kCentre},
    {OCControl::kLabel6, 2160, 9120, 1455, "RMS deviation:"},
    {OCControl::kText1, 3600, 9120, 975, "", TextAlign::kCentre},
}};

} // namespace quorix
