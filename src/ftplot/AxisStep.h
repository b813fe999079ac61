#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorix {

// The one tick-interval rule of both plots: from an axis span, a step of 0.2, 0.5 or 1 times a power
// of ten, so that the span holds from 4 to 10 steps. The decade comes from the quotient by the
// constant 2.302585 (not ln 10) and the power and the step are held in single precision, which
// decides the borderline spans such as 1.0 and 0.5 exactly as the plots have always labelled them.
// A span that is not a positive finite number has no step: 0.
[[nodiscard]] inline float AxisStep(double span) {
    if (!(span > 0 && std::isfinite(span))) {
        return 0.0f;
    }
    const double decade = std::floor(std::log(span) / 2.302585);
    const float power = static_cast<float>(std::pow(10.0, decade));
    const double ratio = span / power;
    int multiplier = 10;
    if (ratio < 5) {
        multiplier = 5;
    }
    if (ratio < 2) {
        multiplier = 2;
    }
    return static_cast<float>(static_cast<double>(power) * multiplier / 10);
}

// Decimals for labelling multiples of a step: the step's decade, held to 1..7. The decade is held
// in double precision before it becomes an int: a zero step has an infinite decade and gets the
// most decimals, a step that is not a number the fewest.
[[nodiscard]] inline int AxisLabelDecimals(float step) {
    const double decades = std::abs(std::floor(std::log(1.0001 * step) / 2.302585));
    if (std::isnan(decades)) {
        return 1;
    }
    return static_cast<int>(std::clamp(decades, 1.0, 7.0));
}

} // namespace quorix
