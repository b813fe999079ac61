#include "cli/ephemeris.h"

#include "ocdiagram/occompute.h"

#include <cmath>

namespace quorix::cli {

std::optional<Ephemeris> RefineEphemeris(std::span<const double> cycles, std::span<const double> oc,
                                         double baseTime, double period) {
    const auto count = static_cast<int>(oc.size());
    const auto line = FitStraightLine(cycles, oc, 0, count - 1);
    if (!line) {
        return std::nullopt;
    }
    double sx = 0, sxx = 0, squares = 0;
    for (std::size_t i = 0; i < oc.size(); ++i) {
        const double residual = oc[i] - (line->Intercept + line->Slope * cycles[i]);
        squares += residual * residual;
        sx += cycles[i];
        sxx += cycles[i] * cycles[i];
    }
    Ephemeris ephemeris;
    ephemeris.epoch = baseTime + line->Intercept;
    ephemeris.period = period + line->Slope;
    ephemeris.residualRms = std::sqrt(squares / count);
    if (count > 2) {
        // The residual variance has N - 2 degrees of freedom; the errors follow from the normal
        // equations' determinant D = N Sxx - Sx^2.
        const double variance = squares / (count - 2);
        const double d = count * sxx - sx * sx;
        ephemeris.epochError = std::sqrt(variance * sxx / d);
        ephemeris.periodError = std::sqrt(variance * count / d);
    }
    return ephemeris;
}

} // namespace quorix::cli
