#pragma once

#include "state/minimumtype.h"

#include <span>
#include <string>
#include <vector>

namespace quorix {

// The times of minima an ephemeris is fitted to, and the trial ephemeris that starts the counting.
struct EphemerisInput {
    std::vector<double> times;      // days, full Julian dates or reduced, in any order
    std::vector<MinimumType> types; // empty, or one per time
    std::vector<double> errors;     // timing errors in days: empty, or one per time
    double period = 0.0;            // trial period, days
    double origin = 0.0;            // time of cycle 0 of the trial ephemeris
};

// Cycle counts of the minima, in the order of the input times.
struct CycleCounts {
    std::vector<double> cycles; // whole numbers for primaries, whole plus one half for secondaries
    std::vector<double> oc;     // time minus (origin + period x cycle) of the trial ephemeris, days
    // How many counts differ from the nearest count of the trial ephemeris, because the O-C drifted
    // too far from it for the nearest count to be the right one and the count was carried in time
    // order from the neighbouring minima instead.
    int carried = 0;
    int passes = 0;      // counting passes made, each with the ephemeris refined by the last
    bool settled = true; // false when the counts still moved on the last pass allowed
    std::string problem; // why no counts could be made; empty when they were
};

// Counts cycles in time order. Each minimum gets the count on its own lattice (whole for primaries,
// whole plus one half for secondaries, the nearest half cycle when the type is unknown) nearest to
// the local ephemeris: the best ephemeris so far, shifted by the O-C of the minima just before it.
// The counts are refined with the fitted ephemeris until they no longer move.
[[nodiscard]] CycleCounts CountCycles(const EphemerisInput& input);

enum class EphemerisModel { kLinear, kQuadratic };

// One least-squares ephemeris T(E) = t0 + period E + q E^2 (q = 0 for the linear model), with E
// the cycle counts (so t0 is the minimum at the origin's cycle and period the period there). The
// errors are standard errors from the covariance: for a weighted fit from the stated timing errors
// times errorScale, for an unweighted one from the scatter of the residuals. Every number is
// finite; a fit that cannot be made has made = false, zeros and the reason in whyNot.
struct EphemerisFit {
    EphemerisModel model = EphemerisModel::kLinear;
    bool weighted = false; // weights 1 / error^2
    bool made = false;
    std::string whyNot;
    double t0 = 0.0, t0Err = 0.0;
    double period = 0.0, periodErr = 0.0;
    double q = 0.0, qErr = 0.0;
    double dPdE = 0.0, dPdEErr = 0.0;                             // days per cycle, 2q
    double dPdtDaysPerYear = 0.0, dPdtDaysPerYearErr = 0.0;       // 2q / period x 365.25
    double dPdtSecondsPerYear = 0.0, dPdtSecondsPerYearErr = 0.0; // the same in seconds per year
    double rms = 0.0;                                             // root mean square of the residuals, days
    // The sum the fit minimises: of (residual / error)^2 for a weighted fit, of residual^2 (days^2)
    // for an unweighted one.
    double chi2 = 0.0;
    double reducedChi2 = 0.0; // chi2 / (n - parameters)
    // Factor applied to the errors from the stated timing errors: sqrt(reducedChi2), at least 1.
    double errorScale = 1.0;
    int n = 0;

    [[nodiscard]] int Parameters() const { return model == EphemerisModel::kLinear ? 2 : 3; }
    // The predicted time of minimum at cycle count e.
    [[nodiscard]] double TimeAt(double e) const { return t0 + period * e + q * e * e; }
};

// Whether the quadratic term is needed, from the preferred pair of fits (weighted when the timing
// errors are known).
struct ModelComparison {
    bool made = false;
    bool weighted = false;
    double fTestP = 1.0; // chance of so large a drop in chi2 from the quadratic term if it were zero
    // BIC(quadratic) - BIC(linear), BIC = n ln(chi2 / n) + parameters ln n, which leaves the scale
    // of the timing errors free as the F-test does: negative favours the quadratic.
    double deltaBic = 0.0;
    bool quadraticWarranted = false;
    std::string sentence; // says the verdict in words, or why no comparison was made
};

struct EphemerisReport {
    double trialPeriod = 0.0;
    CycleCounts counts;
    bool errorsGiven = false;  // errors came with the times
    bool errorsUsable = false; // ... and all are positive numbers, so the weighted fits could be made
    // Linear then quadratic, each unweighted and then (when errors were given) weighted.
    std::vector<EphemerisFit> fits;
    ModelComparison comparison;
    // Lines for the reader: fits that could not be made and why, counts carried across drifts.
    std::vector<std::string> notes;

    [[nodiscard]] const EphemerisFit* Find(EphemerisModel model, bool weighted) const;
};

// Counts the cycles and fits both models with and without weights. Never fails: what cannot be
// done is said in the notes, and every number in the report is finite.
[[nodiscard]] EphemerisReport FitEphemeris(const EphemerisInput& input);

// Observed minus the fitted ephemeris at each minimum, in the order of the input times.
[[nodiscard]] std::vector<double> EphemerisResiduals(const EphemerisFit& fit, std::span<const double> times,
                                                     std::span<const double> cycles);

// The fits as a table of texts, the header row first, one row per fit.
[[nodiscard]] std::vector<std::vector<std::string>> EphemerisTable(const EphemerisReport& report);
// The table as tab-separated lines, for the clipboard and for spreadsheets.
[[nodiscard]] std::string EphemerisTableTsv(const EphemerisReport& report);
// The table in aligned columns, then the comparison sentence and the notes, for the terminal.
[[nodiscard]] std::string EphemerisText(const EphemerisReport& report);

} // namespace quorix
