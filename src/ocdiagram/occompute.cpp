#include "ocdiagram/occompute.h"

#include "state/numbertext.h"

#include <algorithm>
#include <cmath>

namespace quorix {

namespace {

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool FillCycles(std::span<const double> times, double baseTime, OCDiagram& diagram) {
    for (const double t : times) {
        const auto halfCycles = RoundToInt32(2 * (t - baseTime) / diagram.period);
        if (!halfCycles) {
            return false;
        }
        const double cycle = *halfCycles / 2.0;
        const double oc = t - (baseTime + diagram.period * cycle);
        if (!std::isfinite(oc)) {
            return false;
        }
        diagram.cycles.push_back(cycle);
        diagram.oc.push_back(oc);
        diagram.cycleMax = std::max(diagram.cycleMax, cycle);
        diagram.ocMin = std::min(diagram.ocMin, oc);
        diagram.ocMax = std::max(diagram.ocMax, oc);
    }
    return true;
}

void FitAndDeviate(OCDiagram& diagram) {
    const auto count = static_cast<int>(diagram.oc.size());
    const auto fit = FitStraightLine(diagram.cycles, diagram.oc, 0, count - 1);
    diagram.fitDefined = fit.has_value();
    if (fit) {
        diagram.intercept = fit->Intercept;
        diagram.slope = fit->Slope;
    } else {
        // Points at one cycle count only pin the line's value there: take the level of their mean.
        double sum = 0.0;
        for (const double oc : diagram.oc) {
            sum += oc;
        }
        diagram.intercept = sum / count;
        diagram.slope = 0.0;
    }
    // The deviation is taken about the value at cycle 0, not about the line: it tells how well the
    // trial period itself fits the minima.
    double squares = 0.0;
    for (const double oc : diagram.oc) {
        const double d = oc - diagram.intercept;
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
        const auto k = static_cast<std::size_t>(i);
        sx += x[k];
        sxx += x[k] * x[k];
        sy += y[k];
        sxy += x[k] * y[k];
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

std::optional<OCDiagram> ComputeOC(std::span<const double> times, double baseTime, double period) {
    if (times.empty() || !(std::isfinite(period) && period > 0)) {
        return std::nullopt;
    }
    OCDiagram diagram;
    diagram.period = period;
    diagram.cycles.reserve(times.size());
    diagram.oc.reserve(times.size());
    if (!FillCycles(times, baseTime, diagram)) {
        return std::nullopt;
    }
    FitAndDeviate(diagram);
    diagram.range = diagram.ocMax - diagram.ocMin;
    if (!AllFinite({diagram.range, diagram.intercept, diagram.slope, diagram.rms})) {
        return std::nullopt;
    }
    return diagram;
}

bool ComputeOCDiagram(SharedState& state) {
    const auto count = static_cast<std::size_t>(std::clamp<int>(state.ObsCount, 0, kMaxObservations));
    if (state.FTComputed == kFalse) {
        return false;
    }
    const auto diagram = ComputeOC(std::span<const double>(state.ObsTimes).subspan(1, count), state.BaseTime,
                                   state.TrialPeriod);
    if (!diagram) {
        return false;
    }
    StoreOCDiagram(state, *diagram);
    return true;
}

void StoreOCDiagram(SharedState& state, const OCDiagram& diagram) {
    const std::size_t count = std::min(diagram.cycles.size(), static_cast<std::size_t>(kMaxObservations));
    std::copy_n(diagram.cycles.begin(), count, state.CycleNumbers.begin() + 1);
    std::copy_n(diagram.oc.begin(), count, state.OCValues.begin() + 1);
    state.CycleMax = diagram.cycleMax;
    state.OCMin = diagram.ocMin;
    state.OCMax = diagram.ocMax;
    state.OCRange = diagram.range;
    state.FitIntercept = diagram.intercept;
    state.FitSlope = diagram.slope;
    state.OCRms = diagram.rms;
    state.OCPeriod = diagram.period;
    state.OCPointCount = static_cast<std::int16_t>(count);
    state.OCFitDefined = ToFlag(diagram.fitDefined);
}

} // namespace quorix
