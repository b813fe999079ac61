#include "ocdiagram/occompute.h"

#include "state/numbertext.h"

#include <algorithm>
#include <cmath>

namespace quorix {

namespace {

// The O-C state of one computation, built aside so that a refused period leaves the old one intact.
struct OCDiagram {
    std::array<double, kMaxObservations + 1> cycles{};
    std::array<double, kMaxObservations + 1> oc{};
    double cycleMax = -999;
    double ocMin = 999999;
    double ocMax = -9999999;
    std::optional<StraightLine> fit;
    double intercept = 0.0;
    double slope = 0.0;
    double rms = 0.0;
};

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool FillCycles(const SharedState& state, int count, OCDiagram& diagram) {
    const double period = state.TrialPeriod;
    for (int i = 1; i <= count; ++i) {
        const double t = state.ObsTimes[i];
        const auto halfCycles = RoundToInt32(2 * (t - state.BaseTime) / period);
        if (!halfCycles) {
            return false;
        }
        const double cycle = *halfCycles / 2.0;
        const double oc = t - (state.BaseTime + period * cycle);
        if (!std::isfinite(oc)) {
            return false;
        }
        diagram.cycles[i] = cycle;
        diagram.oc[i] = oc;
        diagram.cycleMax = std::max(diagram.cycleMax, cycle);
        diagram.ocMin = std::min(diagram.ocMin, oc);
        diagram.ocMax = std::max(diagram.ocMax, oc);
    }
    return true;
}

void FitAndDeviate(int count, OCDiagram& diagram) {
    diagram.fit = FitStraightLine(diagram.cycles, diagram.oc, 1, count);
    if (diagram.fit) {
        diagram.intercept = diagram.fit->Intercept;
        diagram.slope = diagram.fit->Slope;
    } else {
        // Points at one cycle count only pin the line's value there: take the level of their mean.
        double sum = 0.0;
        for (int i = 1; i <= count; ++i) {
            sum += diagram.oc[i];
        }
        diagram.intercept = sum / count;
        diagram.slope = 0.0;
    }
    // The deviation is taken about the value at cycle 0, not about the line: it tells how well the
    // trial period itself fits the minima.
    double squares = 0.0;
    for (int i = 1; i <= count; ++i) {
        const double d = diagram.oc[i] - diagram.intercept;
        squares += d * d;
    }
    diagram.rms = std::sqrt(squares / count);
}

} // namespace

std::optional<StraightLine> FitStraightLine(std::span<const double> x, std::span<const double> y, int first,
                                            int last) {
    const double n = last - first + 1;
    if (n < 1) {
        return std::nullopt;
    }
    double sx = 0.0, sxx = 0.0, sy = 0.0, sxy = 0.0;
    for (int i = first; i <= last; ++i) {
        sx += x[i];
        sxx += x[i] * x[i];
        sy += y[i];
        sxy += x[i] * y[i];
    }
    const double d = n * sxx - sx * sx;
    if (!(d > 0)) {
        return std::nullopt;
    }
    const StraightLine line{(sy * sxx - sx * sxy) / d, (n * sxy - sx * sy) / d};
    if (!AllFinite({line.Intercept, line.Slope})) {
        return std::nullopt;
    }
    return line;
}

bool ComputeOCDiagram(SharedState& state) {
    const int count = std::clamp<int>(state.ObsCount, 0, kMaxObservations);
    const double period = state.TrialPeriod;
    if (state.FTComputed == kFalse || count == 0 || !(std::isfinite(period) && period > 0)) {
        return false;
    }
    OCDiagram diagram;
    if (!FillCycles(state, count, diagram)) {
        return false;
    }
    FitAndDeviate(count, diagram);
    const double range = diagram.ocMax - diagram.ocMin;
    if (!AllFinite({range, diagram.intercept, diagram.slope, diagram.rms})) {
        return false;
    }
    std::copy_n(diagram.cycles.begin(), count + 1, state.CycleNumbers.begin());
    std::copy_n(diagram.oc.begin(), count + 1, state.OCValues.begin());
    state.CycleMax = diagram.cycleMax;
    state.OCMin = diagram.ocMin;
    state.OCMax = diagram.ocMax;
    state.OCRange = range;
    state.FitIntercept = diagram.intercept;
    state.FitSlope = diagram.slope;
    state.OCRms = diagram.rms;
    state.OCPeriod = period;
    state.OCPointCount = static_cast<std::int16_t>(count);
    state.OCFitDefined = ToFlag(diagram.fit.has_value());
    return true;
}

} // namespace quorix
