#include "cli/fitsreport.h"

namespace quorix::cli {

namespace {

nlohmann::json FitJson(const EphemerisFit& fit) {
    const bool quadratic = fit.model == EphemerisModel::kQuadratic;
    nlohmann::json json = {{"model", quadratic ? "quadratic" : "linear"}, {"weighted", fit.weighted}};
    if (!fit.made) {
        json["whyNot"] = fit.whyNot;
        return json;
    }
    json["t0"] = fit.t0;
    json["t0Err"] = fit.t0Err;
    json["period"] = fit.period;
    json["periodErr"] = fit.periodErr;
    // A linear ephemeris asserts a constant period: it has no period change to report.
    if (quadratic) {
        json["q"] = fit.q;
        json["qErr"] = fit.qErr;
        json["dPdtDaysPerYear"] = fit.dPdtDaysPerYear;
        json["dPdtDaysPerYearErr"] = fit.dPdtDaysPerYearErr;
    }
    json["rms"] = fit.rms;
    json["chi2"] = fit.chi2;
    json["n"] = fit.n;
    return json;
}

nlohmann::json ComparisonJson(const ModelComparison& comparison) {
    const auto number = [&](double value) {
        return comparison.made ? nlohmann::json(value) : nlohmann::json();
    };
    return {{"weighted", comparison.weighted},
            {"fTestP", number(comparison.fTestP)},
            {"deltaBic", number(comparison.deltaBic)},
            {"quadraticWarranted", comparison.made && comparison.quadraticWarranted},
            {"sentence", comparison.sentence}};
}

const EphemerisFit* MadeOrNull(const EphemerisFit* fit) {
    return fit != nullptr && fit->made ? fit : nullptr;
}

} // namespace

EphemerisReport FitTrialEphemeris(std::span<const double> times, double origin, double period,
                                  std::span<const MinimumType> types, std::span<const double> errors) {
    return FitEphemeris({{times.begin(), times.end()},
                         {types.begin(), types.end()},
                         {errors.begin(), errors.end()},
                         period,
                         origin});
}

const EphemerisFit* PreferredLinearFit(const EphemerisReport& report) {
    return MadeOrNull(report.Find(EphemerisModel::kLinear, report.errorsUsable));
}

const EphemerisFit* PreferredFit(const EphemerisReport& report) {
    if (report.comparison.made && report.comparison.quadraticWarranted) {
        return MadeOrNull(report.Find(EphemerisModel::kQuadratic, report.comparison.weighted));
    }
    return PreferredLinearFit(report);
}

nlohmann::json EphemerisJson(const EphemerisReport& report) {
    nlohmann::json fits = nlohmann::json::array();
    for (const EphemerisFit& fit : report.fits) {
        fits.push_back(FitJson(fit));
    }
    return {{"trialPeriod", report.trialPeriod},
            {"fits", fits},
            {"comparison", ComparisonJson(report.comparison)},
            {"carriedCounts", report.counts.carried},
            {"notes", report.notes}};
}

} // namespace quorix::cli
