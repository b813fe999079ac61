#include "candidates/falsealarm.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorix {
namespace {

// Above this argument the Bessel functions are replaced by their asymptotic series (and I0 would
// soon overflow a double).
constexpr double kAsymptoticArgument = 500;

// Dips of FT are independent when their angular frequencies differ by a fraction of pi / span. The
// factor comes from simulations of seasonal data without a period, 5 to 30 years long, 15 to 100
// times, searched over 0.2 to 10 days with the dips refined between grid points: the deepest dip's
// tail probability times the tries is then exponential with mean 1 / 6.5 (the calibration program
// in bench/ checks the resulting probabilities on fresh data sets).
constexpr double kIndependenceFactor = 6.5;

// The cosine of a uniform random phase has the cumulant generating function K(s) = ln I0(s).
// These are its parts in forms that keep their precision for any s > 0:
// ln(I0(s) e^-s), 1 - K'(s) = 1 - I1(s)/I0(s), and K''(s).
double LogScaledI0(double s) {
    if (s < kAsymptoticArgument) {
        return std::log(std::cyl_bessel_i(0.0, s)) - s;
    }
    return -0.5 * std::log(2 * std::numbers::pi * s) +
           std::log1p(1 / (8 * s) + 9 / (128 * s * s) + 225 / (3072 * s * s * s));
}

double OneMinusMeanCosine(double s) {
    if (s < kAsymptoticArgument) {
        return 1 - std::cyl_bessel_i(1.0, s) / std::cyl_bessel_i(0.0, s);
    }
    return 1 / (2 * s) + 1 / (8 * s * s) + 1 / (8 * s * s * s);
}

double CosineVariance(double s) {
    if (s < kAsymptoticArgument) {
        const double mean = 1 - OneMinusMeanCosine(s);
        return 1 - mean / s - mean * mean;
    }
    return 1 / (2 * s * s) + 1 / (4 * s * s * s) + 3 / (8 * s * s * s * s);
}

// The saddle point s of P(mean cosine >= 1 - 2 ft): 1 - K'(s) = 2 ft, found by bisection on ln s
// (1 - K' falls steadily from 1 to 0).
double SaddlePoint(double ft) {
    double low = std::log(1e-8);
    double high = std::log(1e300);
    for (int k = 0; k < 200 && high - low > 1e-13; ++k) {
        const double middle = 0.5 * (low + high);
        if (OneMinusMeanCosine(std::exp(middle)) > 2 * ft) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return std::exp(0.5 * (low + high));
}

double UpperNormalTail(double z) {
    return 0.5 * std::erfc(z / std::numbers::sqrt2);
}

} // namespace

double SingleFrequencyTail(double ft, int count) {
    if (count < 1 || std::isnan(ft)) {
        return 1;
    }
    if (ft <= 0) {
        return 0; // every cosine exactly 1: impossible for random phases
    }
    const double n = count;
    // Near the mean the normal law is exact enough and the saddle point degenerates.
    const double z = (0.5 - ft) * std::sqrt(8 * n);
    if (z < 1) {
        return std::clamp(UpperNormalTail(z), 0.0, 1.0);
    }
    const double s = SaddlePoint(ft);
    // s (1 - 2 ft) - K(s), written so that no large terms cancel.
    const double exponent = -2 * ft * s - LogScaledI0(s);
    const double w = std::sqrt(std::max(0.0, 2 * n * exponent));
    const double u = s * std::sqrt(n * CosineVariance(s));
    const double density = std::exp(-0.5 * w * w) / std::sqrt(2 * std::numbers::pi);
    const double tail = UpperNormalTail(w) + density * (1 / u - 1 / w);
    return std::clamp(tail, 0.0, 1.0);
}

double IndependentFrequencies(double omegaLow, double omegaHigh, double span) {
    const double tries = kIndependenceFactor * (omegaHigh - omegaLow) * span / std::numbers::pi;
    return std::isfinite(tries) ? std::max(1.0, tries) : 1.0;
}

double FalseAlarmProbability(double ft, int count, double independentFrequencies) {
    if (count < 2) {
        return 1;
    }
    // The observation at the origin adds sin^2(0) = 0 at every frequency: FT is (count - 1) / count
    // times the FT of the other observations' random phases.
    const double n = count;
    const double single = SingleFrequencyTail(ft * n / (n - 1), count - 1);
    if (single >= 1) {
        return 1;
    }
    const double tries = std::max(1.0, independentFrequencies);
    return std::clamp(-std::expm1(tries * std::log1p(-single)), 0.0, 1.0);
}

} // namespace quorix
