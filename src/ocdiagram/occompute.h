#pragma once

#include "state/sharedstate.h"

#include <optional>
#include <span>
#include <vector>

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

// The O-C diagram of one trial period: per time, in the order given, its cycle count (the nearest
// multiple of half a cycle from the base time) and its O-C value; their extremes; the least-squares
// line and the RMS of the O-C values about the line's value at cycle 0. When all counts are equal no
// line is defined: the deviation is then taken about the values' mean.
struct OCDiagram {
    double period = 0.0;
    std::vector<double> cycles;
    std::vector<double> oc;
    double cycleMax = -999;
    double ocMin = 999999;
    double ocMax = -9999999;
    double range = 0.0;
    bool fitDefined = false;
    double intercept = 0.0;
    double slope = 0.0;
    double rms = 0.0;
};

// The O-C diagram of `times` for `period`; empty without times, for a period that is not a positive
// number or so short that a cycle count leaves the 32-bit range, and when a result is not finite.
[[nodiscard]] std::optional<OCDiagram> ComputeOC(std::span<const double> times, double baseTime,
                                                 double period);

// Rewrites the O-C state with the diagram: entries 1..count of the cycle counts and O-C values,
// the extremes, the line, the deviation, the period and the count.
void StoreOCDiagram(SharedState& state, const OCDiagram& diagram);

// Rewrites the O-C state with ComputeOC of the loaded observations for TrialPeriod. Nothing is
// changed, and the result is false, while FTComputed is false or when ComputeOC gives nothing.
[[nodiscard]] bool ComputeOCDiagram(SharedState& state);

} // namespace quorix
