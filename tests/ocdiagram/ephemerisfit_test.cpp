#include "ocdiagram/ephemerisfit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace quorix {
namespace {

// A binary whose minima follow T(E) = t0 + period E + q E^2 exactly, observed with Gaussian timing noise.
struct TrueEphemeris {
    double t0 = 2451545.3127;
    double period = 0.3726541;
    double q = 0.0;

    double At(double e) const { return t0 + period * e + q * e * e; }
};

struct Observed {
    EphemerisInput input;
    std::vector<double> trueCycles;
};

struct Campaign {
    TrueEphemeris truth;
    int minima = 150;
    double lastCycle = 40000;
    std::vector<double> sigmas{1e-4}; // each minimum draws its timing error from these
    double secondaryShare = 0.3;
    bool typesKnown = true;
    // Cycles in (gapFrom, gapTo) are never observed.
    double gapFrom = 0, gapTo = 0;
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
        observed.input.times.push_back(campaign.truth.At(e) + sigma * noise(random));
        observed.input.errors.push_back(sigma);
        if (campaign.typesKnown) {
            observed.input.types.push_back(secondary ? MinimumType::kSecondary : MinimumType::kPrimary);
        }
    }
    observed.input.period = campaign.truth.period * trialPeriodFactor;
    observed.input.origin = *std::min_element(observed.input.times.begin(), observed.input.times.end());
    return observed;
}

bool AllFinite(const EphemerisReport& report) {
    bool finite = std::isfinite(report.comparison.fTestP) && std::isfinite(report.comparison.deltaBic);
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
    return finite;
}

bool HasNote(const EphemerisReport& report, const std::string& text) {
    return std::any_of(report.notes.begin(), report.notes.end(),
                       [&](const std::string& note) { return note.find(text) != std::string::npos; });
}

struct PullStats {
    std::vector<double> pulls;

    void Add(double fitted, double truth, double error) { pulls.push_back((fitted - truth) / error); }
    double Mean() const { return std::accumulate(pulls.begin(), pulls.end(), 0.0) / pulls.size(); }
    double Spread() const {
        const double mean = Mean();
        double sum = 0.0;
        for (const double p : pulls) {
            sum += (p - mean) * (p - mean);
        }
        return std::sqrt(sum / (pulls.size() - 1));
    }
    double ShareWithin3() const {
        return std::count_if(pulls.begin(), pulls.end(), [](double p) { return std::abs(p) < 3.0; }) /
               static_cast<double>(pulls.size());
    }
};

TEST(EphemerisFit, FittedValuesScatterAboutTheTruthAsTheirReportedErrorsSay) {
    struct Case {
        const char* name;
        EphemerisModel model;
        bool weighted;
        Campaign campaign;
    };
    Campaign linear;
    Campaign quadratic;
    quadratic.truth.q = 1.25e-11; // 0.02 d of O-C at the end of the record
    quadratic.sigmas = {1e-5, 1e-4, 1e-3, 3e-4};
    const Case cases[] = {
        {"linear, unweighted", EphemerisModel::kLinear, false, linear},
        {"linear, weighted", EphemerisModel::kLinear, true, linear},
        {"quadratic, unweighted", EphemerisModel::kQuadratic, false, quadratic},
        {"quadratic, weighted, errors 1e-5..1e-3 d", EphemerisModel::kQuadratic, true, quadratic},
    };
    constexpr int kSeeds = 300;
    for (const Case& c : cases) {
        PullStats t0, period, q;
        for (unsigned seed = 1; seed <= kSeeds; ++seed) {
            const Observed observed = Observe(c.campaign, seed);
            const EphemerisReport report = FitEphemeris(observed.input);
            ASSERT_EQ(report.counts.cycles, observed.trueCycles) << c.name << " seed " << seed;
            const EphemerisFit* fit = report.Find(c.model, c.weighted);
            ASSERT_TRUE(fit && fit->made) << c.name;
            t0.Add(fit->t0, c.campaign.truth.t0, fit->t0Err);
            period.Add(fit->period, c.campaign.truth.period, fit->periodErr);
            if (c.model == EphemerisModel::kQuadratic) {
                q.Add(fit->q, c.campaign.truth.q, fit->qErr);
            }
        }
        for (const auto& [name, stats] : {std::pair{"T0", &t0}, {"P", &period}, {"Q", &q}}) {
            if (stats->pulls.empty()) {
                continue;
            }
            std::cout << c.name << ": pulls of " << name << " over " << kSeeds << " seeds: mean "
                      << stats->Mean() << ", spread " << stats->Spread() << ", within 3 sigma "
                      << stats->ShareWithin3() << "\n";
            // With 300 seeds the mean's own scatter is 0.06 and the spread's 0.04.
            EXPECT_LT(std::abs(stats->Mean()), 0.2) << c.name << " " << name;
            EXPECT_NEAR(stats->Spread(), 1.0, 0.13) << c.name << " " << name;
            EXPECT_GE(stats->ShareWithin3(), 0.985) << c.name << " " << name;
        }
    }
}

TEST(EphemerisFit, AHundredThousandMinimaInFullJulianDatesKeepTheirDigits) {
    // Noise-free times: what is left is the rounding of the dates themselves (1e-10 d), so every
    // fitted value must sit far inside its error computed from the stated 1e-5 d.
    Campaign campaign;
    campaign.minima = 100000;
    campaign.lastCycle = 100000;
    campaign.truth.q = 3e-12;
    campaign.sigmas = {0.0};
    Observed observed = Observe(campaign, 9);
    observed.input.errors.assign(observed.input.times.size(), 1e-5);
    const EphemerisReport report = FitEphemeris(observed.input);
    ASSERT_EQ(report.counts.cycles, observed.trueCycles);
    const EphemerisFit& fit = *report.Find(EphemerisModel::kQuadratic, true);
    EXPECT_NEAR(fit.t0, campaign.truth.t0, 1e-3 * fit.t0Err);
    EXPECT_NEAR(fit.period, campaign.truth.period, 1e-3 * fit.periodErr);
    EXPECT_NEAR(fit.q, campaign.truth.q, 1e-3 * fit.qErr);
}

TEST(EphemerisFit, TheModelComparisonCallsAChangingPeriodOnlyWhenThereIsOne) {
    Campaign constant;
    constant.minima = 80;
    Campaign changing = constant;
    changing.truth.q = 2e-11;
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
            EXPECT_NE(some.sentence.find("The quadratic term is warranted (weighted fits): F-test p "),
                      std::string::npos)
                << some.sentence;
            EXPECT_NE(none.sentence.find("not warranted"), std::string::npos) << none.sentence;
        }
    }
    std::cout << "constant period: p < 0.05 in " << smallP << " and warranted in " << falseAlarms << " of "
              << kSeeds << "; changing period found in " << found << "\n";
    EXPECT_NEAR(smallP, 0.05 * kSeeds, 4 * std::sqrt(0.05 * 0.95 * kSeeds))
        << "p is uniform without a change";
    // Both tests must agree, so a false alarm needs at least p < 0.01: about 3 in 300, give or take 2.
    EXPECT_LE(falseAlarms, 0.01 * kSeeds + 3 * std::sqrt(0.01 * kSeeds));
    EXPECT_EQ(found, kSeeds);
}

TEST(EphemerisFit, OneBadVisualMinimumDoesNotMoveTheWeightedPeriod) {
    Campaign photometry;
    photometry.minima = 60;
    photometry.sigmas = {1e-5};
    Observed observed = Observe(photometry, 7);
    const EphemerisReport clean = FitEphemeris(observed.input);
    // A visual timing at the far end of the record, 8 minutes late with a stated error of 1.4 minutes.
    observed.input.times.push_back(photometry.truth.At(photometry.lastCycle + 500) + 5.5e-3);
    observed.input.errors.push_back(1e-3);
    observed.input.types.push_back(MinimumType::kPrimary);
    const EphemerisReport spoiled = FitEphemeris(observed.input);

    const EphemerisFit& cleanFit = *clean.Find(EphemerisModel::kLinear, true);
    const EphemerisFit& weighted = *spoiled.Find(EphemerisModel::kLinear, true);
    const EphemerisFit& unweighted = *spoiled.Find(EphemerisModel::kLinear, false);
    EXPECT_LT(std::abs(weighted.period - cleanFit.period), 0.3 * cleanFit.periodErr);
    EXPECT_GT(std::abs(unweighted.period - cleanFit.period), 3 * cleanFit.periodErr)
        << "the same point steers an unweighted fit";
}

TEST(EphemerisFit, CountsFollowAnOCThatDriftsPastAQuarterPeriod) {
    struct Case {
        const char* name;
        double trialPeriodFactor; // drift over the record: (factor - 1) x lastCycle periods
        double q;
        bool typesKnown;
    };
    // Over L = 40000 cycles a trial period off by a fraction f of itself drifts by f L periods; a
    // parabola 4 A (E / L) (1 - E / L) of height A needs f = -4 A / (P L) and q = -4 A / L^2.
    constexpr double L = 40000, P = 0.3726541;
    const Case cases[] = {
        {"linear drift by 0.7 P, types known", 1.0 + 0.7 / L, 0.0, true},
        {"linear drift by 0.4 P, types unknown", 1.0 + 0.4 / L, 0.0, false},
        {"linear drift by -0.45 P, types unknown", 1.0 - 0.45 / L, 0.0, false},
        {"parabola 0.6 P high, types known", 1.0 - 2.4 / L, -2.4 * P / (L * L), true},
        {"parabola 0.6 P high, types unknown", 1.0 - 2.4 / L, -2.4 * P / (L * L), false},
    };
    for (const Case& c : cases) {
        Campaign campaign;
        campaign.minima = 300;
        campaign.sigmas = {1e-5, 1e-3};
        campaign.truth.q = c.q;
        campaign.typesKnown = c.typesKnown;
        campaign.secondaryShare = 0.5;
        const Observed observed = Observe(campaign, 11, c.trialPeriodFactor);
        const CycleCounts counts = CountCycles(observed.input);
        EXPECT_EQ(counts.cycles, observed.trueCycles) << c.name;
        EXPECT_GT(counts.carried, 0) << c.name;
        EXPECT_TRUE(counts.settled) << c.name;
    }

    // Minima two days apart with P = 1 d on either side of the quarter period: the types decide.
    EphemerisInput input;
    input.times = {2450000.0, 2450010.30, 2450020.80, 2450030.70};
    input.types = {MinimumType::kPrimary, MinimumType::kPrimary, MinimumType::kSecondary,
                   MinimumType::kSecondary};
    input.period = 1.0;
    input.origin = 2450000.0;
    EXPECT_EQ(CountCycles(input).cycles, (std::vector<double>{0, 10, 20.5, 30.5}));
}

TEST(EphemerisFit, ACenturyOfAlgolMinimaIsCountedContinuouslyAcrossADecadesLongGap) {
    Campaign algol;
    algol.truth = {2415020.2650, 2.8673043, 1.24e-8}; // the O-C climbs by 0.7 P over the century
    algol.minima = 400;
    algol.lastCycle = 36525 / 2.8673043;
    algol.gapFrom = 4000; // no minima for 20 years
    algol.gapTo = 6500;
    algol.sigmas = {2e-3, 5e-3, 1e-4};
    algol.secondaryShare = 0.1;
    for (const bool typesKnown : {true, false}) {
        algol.typesKnown = typesKnown;
        Observed observed = Observe(algol, 3, 1.0);
        // The file lists the minima in no particular order.
        std::vector<std::size_t> shuffled(observed.trueCycles.size());
        std::iota(shuffled.begin(), shuffled.end(), std::size_t{0});
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
        EphemerisInput input = observed.input;
        std::vector<double> expected;
        for (std::size_t k = 0; k < shuffled.size(); ++k) {
            input.times[k] = observed.input.times[shuffled[k]];
            input.errors[k] = observed.input.errors[shuffled[k]];
            if (typesKnown) {
                input.types[k] = observed.input.types[shuffled[k]];
            }
            expected.push_back(observed.trueCycles[shuffled[k]]);
        }
        const EphemerisReport report = FitEphemeris(input);
        EXPECT_EQ(report.counts.cycles, expected) << "types known: " << typesKnown;
        EXPECT_GT(report.counts.carried, 50);
        EXPECT_TRUE(HasNote(report, "carried in time order")) << EphemerisText(report);
        const EphemerisFit& fit = *report.Find(EphemerisModel::kQuadratic, true);
        EXPECT_NEAR(fit.q, algol.truth.q, 3 * fit.qErr);
        EXPECT_NEAR(fit.period, algol.truth.period, 3 * fit.periodErr);
        EXPECT_TRUE(report.comparison.quadraticWarranted) << report.comparison.sentence;
        EXPECT_NE(report.comparison.sentence.find("F-test p < 1e-16"), std::string::npos)
            << "a p below the arithmetic's resolution is not shown as 0: " << report.comparison.sentence;
    }
}

TEST(EphemerisFit, InputsThatCannotBeFittedSaySoWithoutNonNumbers) {
    const double nan = std::nan("");
    struct Case {
        const char* name;
        std::vector<double> times;
        std::vector<double> errors;
        double period;
        std::vector<std::string> expectedNotes;
        int fitsMade;
    };
    const double t = 2459000.5;
    const Case cases[] = {
        {"no minima", {}, {}, 1.0, {"No fits: there are no times of minima."}, 0},
        {"one minimum", {t}, {}, 1.0, {"Unweighted linear fit not made: needs at least 3 minima, has 1."}, 0},
        {"all at one cycle",
         {t, t + 0.01, t - 0.02},
         {},
         1.0,
         {"Unweighted linear fit not made: all minima are at one cycle count."},
         0},
        {"three minima: a line but no parabola",
         {t, t + 3, t + 7},
         {},
         1.0,
         {"Unweighted quadratic fit not made: needs at least 4 minima, has 3."},
         1},
        {"two cycles only",
         {t, t, t + 5, t + 5.001},
         {},
         1.0,
         {"Unweighted quadratic fit not made: needs minima at 3 or more different cycle counts."},
         1},
        {"zero period",
         {t, t + 1, t + 2},
         {},
         0.0,
         {"No fits: the trial period is not a positive number."},
         0},
        {"negative period",
         {t, t + 1, t + 2},
         {},
         -1.0,
         {"No fits: the trial period is not a positive number."},
         0},
        {"period not a number",
         {t, t + 1, t + 2},
         {},
         nan,
         {"No fits: the trial period is not a positive number."},
         0},
        {"a time not a number", {t, nan, t + 2}, {}, 1.0, {"No fits: a time of minimum is not a number."}, 0},
        {"period far too short", {t, t + 1e4}, {}, 1e-9, {"too short for the span"}, 0},
        {"zero, negative and missing errors",
         {t, t + 1, t + 2, t + 3.001, t + 4},
         {1e-4, 0.0, -1e-4, nan, 1e-4},
         1.0,
         {"Weighted fits not made: 3 of the timing errors are zero, negative or not a number."},
         2},
        {"errors too small to weigh",
         {t, t + 1, t + 2, t + 3.001},
         {1e-300, 1e-4, 1e-4, 1e-4},
         1.0,
         {"Weighted fits not made: 1 of the timing errors"},
         2},
        {"fewer errors than times",
         {t, t + 1, t + 2.001, t + 3},
         {1e-4},
         1.0,
         {"Weighted fits not made: timing errors for 1 of 4 times."},
         2},
    };
    for (const Case& c : cases) {
        EphemerisInput input;
        input.times = c.times;
        input.errors = c.errors;
        input.period = c.period;
        input.origin = t;
        const EphemerisReport report = FitEphemeris(input);
        EXPECT_TRUE(AllFinite(report)) << c.name;
        for (const std::string& note : c.expectedNotes) {
            EXPECT_TRUE(HasNote(report, note)) << c.name << ":\n" << EphemerisText(report);
        }
        EXPECT_EQ(std::count_if(report.fits.begin(), report.fits.end(), [](const auto& f) { return f.made; }),
                  c.fitsMade)
            << c.name;
        EXPECT_EQ(report.fits.size(), c.errors.empty() ? 2u : 4u) << c.name;
        // Only the unweighted pair is left to compare when the errors cannot weight a fit.
        EXPECT_EQ(report.comparison.made, c.fitsMade == 2) << c.name;
        EXPECT_EQ(report.comparison.sentence.rfind("No model comparison: ", 0) == 0, c.fitsMade < 2)
            << c.name;
        const std::string text = EphemerisText(report);
        EXPECT_EQ(text.find("nan"), std::string::npos) << c.name << ":\n" << text;
        EXPECT_EQ(text.find("inf"), std::string::npos) << c.name << ":\n" << text;
    }
}

TEST(EphemerisFit, TheTableHasOneColumnPerFitAndTheFiguresOfEach) {
    Campaign campaign;
    campaign.truth.q = 1.25e-11;
    const EphemerisReport report = FitEphemeris(Observe(campaign, 1).input);
    const std::string tsv = EphemerisTableTsv(report);
    std::vector<std::vector<std::string>> cells;
    std::size_t start = 0;
    while (start < tsv.size()) {
        const std::size_t end = tsv.find('\n', start);
        std::vector<std::string> row;
        std::size_t from = start;
        for (std::size_t tab = tsv.find('\t', from); tab < end; tab = tsv.find('\t', from)) {
            row.push_back(tsv.substr(from, tab - from));
            from = tab + 1;
        }
        row.push_back(tsv.substr(from, end - from));
        cells.push_back(row);
        start = end + 1;
    }
    ASSERT_EQ(cells.size(), 15u);
    EXPECT_EQ(cells[0], (std::vector<std::string>{"Ephemeris", "Linear", "Linear, weighted", "Quadratic",
                                                  "Quadratic, weighted"}));
    for (const auto& row : cells) {
        EXPECT_EQ(row.size(), 5u) << row[0];
    }
    const EphemerisFit& quadratic = *report.Find(EphemerisModel::kQuadratic, true);
    EXPECT_EQ(cells[3][0], "P (d)");
    EXPECT_NEAR(std::stod(cells[3][4]), quadratic.period, 0.01 * quadratic.periodErr);
    EXPECT_NEAR(std::stod(cells[1][4]), quadratic.t0, 0.01 * quadratic.t0Err) << "T0 to the error's digits";
    EXPECT_EQ(cells[5][0], "Q (d)");
    EXPECT_EQ(cells[5][1], "") << "a line has no quadratic term";
    EXPECT_NEAR(std::stod(cells[9][4]), quadratic.dPdtSecondsPerYear, 0.01 * quadratic.dPdtSecondsPerYearErr);
    EXPECT_EQ(cells[14][4], std::to_string(campaign.minima));
    const std::string text = EphemerisText(report);
    EXPECT_NE(text.find(report.comparison.sentence), std::string::npos);
}

} // namespace
} // namespace quorix
