#include "ocdiagram/ephemerisfit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace quorix {
namespace {

struct Observed {
    EphemerisInput input;
    std::vector<double> trueCycles;
};

// A binary whose minima follow T(E) = t0 + period E + q E^2 exactly, observed with Gaussian timing noise.
struct Campaign {
    double t0 = 2451545.3127;
    double period = 0.3726541;
    double q = 0.0;
    int minima = 150;
    double lastCycle = 40000;
    std::vector<double> sigmas{1e-4}; // each minimum draws its timing error from these
    double secondaryShare = 0.3;
    bool typesKnown = true;
    double gapFrom = 0, gapTo = 0; // cycles in (gapFrom, gapTo) are never observed

    double At(double e) const { return t0 + period * e + q * e * e; }
};

// The minima of one campaign: cycle 0 is always observed, and the earliest time is the origin of
// the counts as the O-C window takes it. The trial period is off by a little, as a search gives it.
Observed Observe(const Campaign& campaign, unsigned seed, double trialPeriodFactor = 1.0 + 2e-7) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> cycle(0.0, campaign.lastCycle);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 1.0);
    Observed observed;
    for (int i = 0; i < campaign.minima; ++i) {
        double e = 0.0;
        if (i > 0) {
            do {
                e = std::floor(cycle(random));
            } while (e > campaign.gapFrom && e < campaign.gapTo);
        }
        const bool secondary = i > 0 && unit(random) < campaign.secondaryShare;
        e += secondary ? 0.5 : 0.0;
        const double sigma = campaign.sigmas[i % campaign.sigmas.size()];
        observed.trueCycles.push_back(e);
        observed.input.times.push_back(campaign.At(e) + sigma * noise(random));
        observed.input.errors.push_back(sigma);
        if (campaign.typesKnown) {
            observed.input.types.push_back(secondary ? MinimumType::kSecondary : MinimumType::kPrimary);
        }
    }
    observed.input.period = campaign.period * trialPeriodFactor;
    observed.input.origin = *std::min_element(observed.input.times.begin(), observed.input.times.end());
    return observed;
}

bool HasNote(const EphemerisReport& report, const std::string& text) {
    return std::any_of(report.notes.begin(), report.notes.end(),
                       [&](const std::string& note) { return note.find(text) != std::string::npos; });
}

// Pulls (fitted - truth) / error of well-calibrated errors: mean 0, spread 1, 99.7% within 3.
// With 300 seeds the mean's own scatter is 0.06 and the spread's 0.04.
void ExpectCalibrated(const std::vector<double>& pulls, const std::string& what) {
    const double n = pulls.size();
    const double mean = std::accumulate(pulls.begin(), pulls.end(), 0.0) / n;
    double squares = 0.0;
    for (const double p : pulls) {
        squares += (p - mean) * (p - mean);
    }
    const auto within3 =
        std::count_if(pulls.begin(), pulls.end(), [](double p) { return std::abs(p) < 3.0; });
    EXPECT_LT(std::abs(mean), 0.2) << what;
    EXPECT_NEAR(std::sqrt(squares / (n - 1)), 1.0, 0.13) << what;
    EXPECT_GE(within3 / n, 0.985) << what;
}

TEST(EphemerisFit, FittedValuesScatterAboutTheTruthAsTheirReportedErrorsSay) {
    const Campaign linear;
    // 0.02 d of O-C at the end of the record.
    const Campaign quadratic{.q = 1.25e-11, .sigmas = {1e-5, 1e-4, 1e-3, 3e-4}};
    const struct {
        const char* name;
        EphemerisModel model;
        bool weighted;
        Campaign campaign;
    } cases[] = {
        {"linear, unweighted", EphemerisModel::kLinear, false, linear},
        {"linear, weighted", EphemerisModel::kLinear, true, linear},
        {"quadratic, unweighted", EphemerisModel::kQuadratic, false, quadratic},
        {"quadratic, weighted, errors 1e-5..1e-3 d", EphemerisModel::kQuadratic, true, quadratic},
    };
    for (const auto& c : cases) {
        const Campaign& truth = c.campaign;
        std::vector<double> t0, period, q;
        for (unsigned seed = 1; seed <= 300; ++seed) {
            const Observed observed = Observe(c.campaign, seed);
            const EphemerisReport report = FitEphemeris(observed.input);
            ASSERT_EQ(report.counts.cycles, observed.trueCycles) << c.name << " seed " << seed;
            const EphemerisFit* fit = report.Find(c.model, c.weighted);
            ASSERT_TRUE(fit && fit->made) << c.name;
            t0.push_back((fit->t0 - truth.t0) / fit->t0Err);
            period.push_back((fit->period - truth.period) / fit->periodErr);
            q.push_back((fit->q - truth.q) / fit->qErr);
        }
        ExpectCalibrated(t0, std::string(c.name) + ": T0");
        ExpectCalibrated(period, std::string(c.name) + ": P");
        if (c.model == EphemerisModel::kQuadratic) {
            ExpectCalibrated(q, std::string(c.name) + ": Q");
        }
    }
}

TEST(EphemerisFit, AHundredThousandMinimaInFullJulianDatesKeepTheirDigits) {
    // Noise-free times: what is left is the rounding of the dates themselves (1e-10 d), so every
    // fitted value must sit far inside its error computed from the stated 1e-5 d.
    const Campaign campaign{.q = 3e-12, .minima = 100000, .lastCycle = 100000, .sigmas = {0.0}};
    Observed observed = Observe(campaign, 9);
    observed.input.errors.assign(observed.input.times.size(), 1e-5);
    const EphemerisReport report = FitEphemeris(observed.input);
    ASSERT_EQ(report.counts.cycles, observed.trueCycles);
    const EphemerisFit& fit = *report.Find(EphemerisModel::kQuadratic, true);
    EXPECT_NEAR(fit.t0, campaign.t0, 1e-3 * fit.t0Err);
    EXPECT_NEAR(fit.period, campaign.period, 1e-3 * fit.periodErr);
    EXPECT_NEAR(fit.q, campaign.q, 1e-3 * fit.qErr);
}

TEST(EphemerisFit, TheModelComparisonCallsAChangingPeriodOnlyWhenThereIsOne) {
    const Campaign constant{.minima = 80};
    const Campaign changing{.q = 2e-11, .minima = 80};
    int falseAlarms = 0, smallP = 0, found = 0;
    constexpr int kSeeds = 300;
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        const ModelComparison none = FitEphemeris(Observe(constant, seed).input).comparison;
        ASSERT_TRUE(none.made && none.weighted);
        falseAlarms += none.quadraticWarranted ? 1 : 0;
        smallP += none.fTestP < 0.05 ? 1 : 0;
        const ModelComparison some = FitEphemeris(Observe(changing, seed).input).comparison;
        found += some.quadraticWarranted ? 1 : 0;
        if (seed == 1) {
            EXPECT_EQ(some.sentence.rfind("The quadratic term is warranted (weighted fits): F-test p ", 0),
                      0u)
                << some.sentence;
            EXPECT_NE(none.sentence.find("not warranted"), std::string::npos) << none.sentence;
        }
    }
    EXPECT_NEAR(smallP, 0.05 * kSeeds, 4 * std::sqrt(0.05 * 0.95 * kSeeds))
        << "p is uniform without a change";
    // Both tests must agree, so a false alarm needs at least p < 0.01: about 3 in 300, give or take 2.
    EXPECT_LE(falseAlarms, 0.01 * kSeeds + 3 * std::sqrt(0.01 * kSeeds));
    EXPECT_EQ(found, kSeeds);
}

TEST(EphemerisFit, OneBadVisualMinimumDoesNotMoveTheWeightedPeriod) {
    const Campaign photometry{.minima = 60, .sigmas = {1e-5}};
    Observed observed = Observe(photometry, 7);
    const EphemerisFit clean = *FitEphemeris(observed.input).Find(EphemerisModel::kLinear, true);
    // A visual timing at the far end of the record, 8 minutes late with a stated error of 1.4 minutes.
    observed.input.times.push_back(photometry.At(photometry.lastCycle + 500) + 5.5e-3);
    observed.input.errors.push_back(1e-3);
    observed.input.types.push_back(MinimumType::kPrimary);
    const EphemerisReport spoiled = FitEphemeris(observed.input);
    EXPECT_LT(std::abs(spoiled.Find(EphemerisModel::kLinear, true)->period - clean.period),
              0.3 * clean.periodErr);
    EXPECT_GT(std::abs(spoiled.Find(EphemerisModel::kLinear, false)->period - clean.period),
              3 * clean.periodErr)
        << "the same point steers an unweighted fit";
}

TEST(EphemerisFit, CountsFollowAnOCThatDriftsPastAQuarterPeriod) {
    // Over L cycles a trial period off by a fraction f of itself drifts by f L periods; a parabola
    // 4 A (E / L) (1 - E / L) of height A needs f = -4 A / (P L) and q = -4 A / L^2.
    constexpr double L = 40000, P = 0.3726541;
    const struct {
        const char* name;
        double trialPeriodFactor;
        double q;
        bool typesKnown;
    } cases[] = {
        {"linear drift by 0.7 P, types known", 1.0 + 0.7 / L, 0.0, true},
        {"linear drift by 0.4 P, types unknown", 1.0 + 0.4 / L, 0.0, false},
        {"linear drift by -0.45 P, types unknown", 1.0 - 0.45 / L, 0.0, false},
        {"parabola 0.6 P high, types known", 1.0 - 2.4 / L, -2.4 * P / (L * L), true},
        {"parabola 0.6 P high, types unknown", 1.0 - 2.4 / L, -2.4 * P / (L * L), false},
    };
    for (const auto& c : cases) {
        const Campaign campaign{.q = c.q,
                                .minima = 300,
                                .sigmas = {1e-5, 1e-3},
                                .secondaryShare = 0.5,
                                .typesKnown = c.typesKnown};
        const Observed observed = Observe(campaign, 11, c.trialPeriodFactor);
        const CycleCounts counts = CountCycles(observed.input);
        EXPECT_EQ(counts.cycles, observed.trueCycles) << c.name;
        EXPECT_GT(counts.carried, 0) << c.name;
        EXPECT_TRUE(counts.settled) << c.name;
    }

    // Minima two days apart with P = 1 d on either side of the quarter period: the types decide.
    constexpr auto kP = MinimumType::kPrimary, kS = MinimumType::kSecondary;
    const EphemerisInput input{
        {2450000.0, 2450010.30, 2450020.80, 2450030.70}, {kP, kP, kS, kS}, {}, 1.0, 2450000.0};
    EXPECT_EQ(CountCycles(input).cycles, (std::vector<double>{0, 10, 20.5, 30.5}));
}

TEST(EphemerisFit, ACenturyOfAlgolMinimaIsCountedContinuouslyAcrossADecadesLongGap) {
    // The O-C climbs by 0.7 P over the century, and no minima were timed for 20 years of it.
    Campaign algol{.t0 = 2415020.2650,
                   .period = 2.8673043,
                   .q = 1.24e-8,
                   .minima = 400,
                   .lastCycle = 36525 / 2.8673043,
                   .sigmas = {2e-3, 5e-3, 1e-4},
                   .secondaryShare = 0.1,
                   .gapFrom = 4000,
                   .gapTo = 6500};
    // The file lists the minima in no particular order; one seed shuffles every column alike.
    const auto shuffled = [](auto column) {
        std::shuffle(column.begin(), column.end(), std::mt19937(5));
        return column;
    };
    for (const bool typesKnown : {true, false}) {
        algol.typesKnown = typesKnown;
        const Observed observed = Observe(algol, 3, 1.0);
        EphemerisInput input = observed.input;
        input.times = shuffled(input.times);
        input.errors = shuffled(input.errors);
        input.types = shuffled(input.types);
        const EphemerisReport report = FitEphemeris(input);
        EXPECT_EQ(report.counts.cycles, shuffled(observed.trueCycles)) << "types known: " << typesKnown;
        EXPECT_GT(report.counts.carried, 50);
        EXPECT_TRUE(HasNote(report, "carried in time order")) << EphemerisText(report);
        EXPECT_TRUE(report.comparison.quadraticWarranted) << report.comparison.sentence;
        EXPECT_NE(report.comparison.sentence.find("F-test p < 1e-16"), std::string::npos)
            << "a p below the arithmetic's resolution is not shown as 0: " << report.comparison.sentence;
    }
}

TEST(EphemerisFit, InputsThatCannotBeFittedSaySoWithoutNonNumbers) {
    const double nan = std::nan(""), t = 2459000.5;
    const char* const badPeriod = "No fits: the trial period is not a positive number.";
    const struct {
        std::vector<double> times;
        std::vector<double> errors;
        double period;
        int fitsMade;
        const char* note;
    } cases[] = {
        // clang-format off
        {{}, {}, 1.0, 0, "No fits: there are no times of minima."},
        {{t}, {}, 1.0, 0, "Unweighted linear fit not made: needs at least 3 minima, has 1."},
        {{t, t + 0.01, t - 0.02}, {}, 1.0, 0,
         "Unweighted linear fit not made: all minima are at one cycle count."},
        {{t, t + 3, t + 7}, {}, 1.0, 1, "Unweighted quadratic fit not made: needs at least 4 minima, has 3."},
        {{t, t, t + 5, t + 5.001}, {}, 1.0, 1,
         "Unweighted quadratic fit not made: needs minima at 3 or more different cycle counts."},
        {{t, t + 1, t + 2}, {}, 0.0, 0, badPeriod},
        {{t, t + 1, t + 2}, {}, -1.0, 0, badPeriod},
        {{t, t + 1, t + 2}, {}, nan, 0, badPeriod},
        {{t, nan, t + 2}, {}, 1.0, 0, "No fits: a time of minimum is not a number."},
        {{t, t + 1e4}, {}, 1e-9, 0, "too short for the span"},
        {{t, t + 1, t + 2, t + 3.001, t + 4}, {1e-4, 0.0, -1e-4, nan, 1e-4}, 1.0, 2,
         "Weighted fits not made: 3 of the timing errors are zero, negative or not a number."},
        {{t, t + 1, t + 2, t + 3.001}, {1e-300, 1e-4, 1e-4, 1e-4}, 1.0, 2,
         "Weighted fits not made: 1 of the timing errors"},
        {{t, t + 1, t + 2.001, t + 3}, {1e-4}, 1.0, 2,
         "Weighted fits not made: timing errors for 1 of 4 times."},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.note) + " (trial period " + std::to_string(c.period) + ")");
        const EphemerisReport report = FitEphemeris({c.times, {}, c.errors, c.period, t});
        const std::string text = EphemerisText(report);
        EXPECT_TRUE(HasNote(report, c.note)) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        const ModelComparison& comparison = report.comparison;
        bool finite = std::isfinite(comparison.fTestP) && std::isfinite(comparison.deltaBic);
        for (const EphemerisFit& f : report.fits) {
            for (const double v : {f.t0, f.t0Err, f.period, f.periodErr, f.q, f.qErr, f.dPdE, f.dPdEErr,
                                   f.dPdtDaysPerYear, f.dPdtDaysPerYearErr, f.dPdtSecondsPerYear,
                                   f.dPdtSecondsPerYearErr, f.rms, f.chi2, f.reducedChi2, f.errorScale}) {
                finite &= std::isfinite(v);
            }
        }
        for (const double v : report.counts.oc) {
            finite &= std::isfinite(v);
        }
        EXPECT_TRUE(finite);
        EXPECT_EQ(std::count_if(report.fits.begin(), report.fits.end(), [](const auto& f) { return f.made; }),
                  c.fitsMade);
        EXPECT_EQ(report.fits.size(), c.errors.empty() ? 2u : 4u);
        // Only the unweighted pair is left to compare when the errors cannot weight a fit.
        EXPECT_EQ(comparison.made, c.fitsMade == 2);
        EXPECT_EQ(comparison.sentence.rfind("No model comparison: ", 0) == 0, c.fitsMade < 2);
    }
}

TEST(EphemerisFit, TheTableHasOneColumnPerFitAndTheFiguresOfEach) {
    const Campaign campaign{.q = 1.25e-11};
    const EphemerisReport report = FitEphemeris(Observe(campaign, 1).input);
    const auto cells = EphemerisTable(report); // rows T0, its error, P, ... dP/dt (s/yr) at 9, n last
    ASSERT_EQ(cells.size(), 15u);
    for (const auto& row : cells) {
        EXPECT_EQ(row.size(), 5u) << row[0];
    }
    EXPECT_EQ(EphemerisTableTsv(report).rfind(
                  "Ephemeris\tLinear\tLinear, weighted\tQuadratic\tQuadratic, weighted\nT0 (d)\t", 0),
              0u);
    const EphemerisFit& quadratic = *report.Find(EphemerisModel::kQuadratic, true);
    EXPECT_NEAR(std::stod(cells[3][4]), quadratic.period, 0.01 * quadratic.periodErr);
    EXPECT_NEAR(std::stod(cells[1][4]), quadratic.t0, 0.01 * quadratic.t0Err) << "T0 to the error's digits";
    EXPECT_NEAR(std::stod(cells[9][4]), quadratic.dPdtSecondsPerYear, 0.01 * quadratic.dPdtSecondsPerYearErr);
    EXPECT_EQ(cells[14][4], std::to_string(campaign.minima));
    EXPECT_NE(EphemerisText(report).find(report.comparison.sentence), std::string::npos);
}

} // namespace
} // namespace quorix
