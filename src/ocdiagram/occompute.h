#pragma once

#include "state/sharedstate.h"

#include <optional>
#include <span>

namespace quorix {

// A straight line y = Intercept + Slope * x.
struct StraightLine {
    double Intercept = 0.0;
    double Slope = 0.0;
};

// The ordinary least-squares line through the points (x[i], y[i]) for i = first..last inclusive.
// Empty when it is not defined: no point, every x the same, or a result that is not a finite number.
[[nodiscard]] std::optional<StraightLine> FitStraightLine(std::span<const double> x,
                                                          std::span<const double> y, int first, int last);

// Rewrites the O-C state for TrialPeriod: the cycle count of every observation (the nearest multiple
// of half a cycle from BaseTime), its O-C value, their extremes, the least-squares line and the RMS
// of the O-C values about the line's value at cycle 0. Nothing is changed, and the result is false,
// while FTComputed is false, without observations, or for a period that is not a positive number or
// so short that a cycle count leaves the 32-bit range. When all counts are equal no line is defined:
// the O-C values are kept, the deviation is taken about their mean and OCFitDefined is false.
[[nodiscard]] bool ComputeOCDiagram(SharedState& state);

} // namespace quorix
