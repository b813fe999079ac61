#pragma once

#include "ocdiagram/ephemerisfit.h"

#include <nlohmann/json.hpp>

#include <span>

namespace quorix::cli {

// The ephemeris fits of the times for a trial period whose cycle 0 falls at `origin`. Types and
// timing errors are optional: empty spans mean unknown.
[[nodiscard]] EphemerisReport FitTrialEphemeris(std::span<const double> times, double origin, double period,
                                                std::span<const MinimumType> types = {},
                                                std::span<const double> errors = {});

// The linear fit that stands for "the" refined ephemeris: weighted when the timing errors allow,
// else unweighted; null when it could not be made.
[[nodiscard]] const EphemerisFit* PreferredLinearFit(const EphemerisReport& report);

// The model the data call for, of the preferred pair: the quadratic when the comparison warrants
// it, else the linear; null when that fit could not be made.
[[nodiscard]] const EphemerisFit* PreferredFit(const EphemerisReport& report);

// {"fits": [...], "comparison": {...}, "notes": [...]}: every number finite; a fit that could not
// be made carries only its model, weighting and `whyNot`.
[[nodiscard]] nlohmann::json EphemerisJson(const EphemerisReport& report);

} // namespace quorix::cli
