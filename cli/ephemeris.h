#pragma once

#include <optional>
#include <span>

namespace quorix::cli {

// The linear ephemeris the O-C line implies: minima at epoch + period x E, with the least-squares
// standard errors of both, and the scatter of the O-C values about the line.
struct Ephemeris {
    double epoch = 0.0;
    double period = 0.0;
    std::optional<double> epochError; // empty with fewer than three points
    std::optional<double> periodError;
    double residualRms = 0.0; // about the line at each point's own cycle count, over N
};

// Refines `baseTime` and `period` by the line through the O-C values (cycles[i], oc[i]), the
// least-squares fit of the O-C diagram; empty when no line is defined.
[[nodiscard]] std::optional<Ephemeris>
RefineEphemeris(std::span<const double> cycles, std::span<const double> oc, double baseTime, double period);

} // namespace quorix::cli
