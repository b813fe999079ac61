#include "cli/candidatereport.h"
#include "cli/fitsreport.h"
#include "cli/report.h"
#include "support/ftgrid.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace quorix::cli {
namespace {

// Minima of an eclipsing binary whose period grows, T(E) = t0 + period E + q E^2, as a table
// publishes them: full Julian dates, every third a secondary, timing errors (and noise) of 1e-5 d
// (photoelectric) to 1e-3 d (visual).
EphemerisInput GrowingPeriodMinima(double t0, double period, double q) {
    std::mt19937 random(21);
    std::uniform_int_distribution<int> cycle(0, 12000);
    std::normal_distribution<double> unit(0.0, 1.0);
    EphemerisInput m;
    for (int k = 0; k < 80; ++k) {
        const double e = cycle(random) + 0.5 * (k % 3 == 0);
        m.errors.push_back(std::array{1e-5, 1e-4, 3e-4, 1e-3}[k % 4]);
        m.times.push_back(t0 + period * e + q * e * e + m.errors.back() * unit(random));
        m.types.push_back(k % 3 == 0 ? MinimumType::kSecondary : MinimumType::kPrimary);
    }
    return m;
}

double Lowest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

TEST(EphemerisJsonTest, WritesEveryFitWithItsFiguresAndTheWeightedComparison) {
    const double t0 = 2440000.3127, period = 0.8372914, q = 2.5e-10;
    const EphemerisInput m = GrowingPeriodMinima(t0, period, q);
    const double base = Lowest(m.times);
    const auto oc = MakeOCReport(m.times, base, period, m.types, m.errors);
    ASSERT_TRUE(oc);
    const nlohmann::json json = EphemerisJson(oc->ephemeris);
    ASSERT_EQ(json["fits"].size(), 4u);
    for (const auto& fit : json["fits"]) {
        SCOPED_TRACE(fit.dump());
        const bool quadratic = fit["model"] == "quadratic";
        for (const char* key : {"t0", "t0Err", "period", "periodErr", "rms", "chi2"}) {
            EXPECT_TRUE(fit[key].is_number()) << key;
        }
        EXPECT_EQ(fit["n"], 80);
        for (const char* key : {"q", "qErr", "dPdtDaysPerYear"}) {
            EXPECT_EQ(fit.contains(key), quadratic) << key;
        }
        EXPECT_FALSE(fit.contains("whyNot"));
        if (quadratic && fit["weighted"] == true) {
            // The truth within three of the stated errors; dP/dt = 2 q / P in days per year.
            EXPECT_NEAR(fit["q"].get<double>(), q, 3 * fit["qErr"].get<double>());
            EXPECT_NEAR(fit["period"].get<double>(), period + 2 * q * std::round((base - t0) / period),
                        3 * fit["periodErr"].get<double>());
            EXPECT_NEAR(fit["dPdtDaysPerYear"].get<double>(), 2 * q / period * 365.25,
                        3 * fit["dPdtDaysPerYearErr"].get<double>());
        }
    }
    const auto& comparison = json["comparison"];
    EXPECT_EQ(comparison["weighted"], true);
    EXPECT_EQ(comparison["quadraticWarranted"], true);
    EXPECT_LT(comparison["fTestP"].get<double>(), 1e-3);
    EXPECT_LT(comparison["deltaBic"].get<double>(), -2);
    const EphemerisFit* chosen = PreferredFit(oc->ephemeris);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(std::pair(chosen->model, chosen->weighted), std::pair(EphemerisModel::kQuadratic, true));
    // The refined ephemeris of the O-C output is the weighted line.
    EXPECT_EQ(PreferredLinearFit(oc->ephemeris), oc->ephemeris.Find(EphemerisModel::kLinear, true));
}

TEST(EphemerisJsonTest, FitsThatCannotBeMadeSayWhyAndCarryNoNumbers) {
    const struct {
        const char* what;
        std::vector<double> times;
        std::vector<double> errors;
        int made; // fits with figures
    } cases[] = {
        {"two minima", {2451000.1, 2451010.2}, {1e-4, 1e-3}, 0},
        {"one minimum", {2451000.1}, {}, 0},
        {"an error of zero", {2451000.1, 2451010.2, 2451030.3, 2451050.2}, {0, 1e-4, 1e-4, 1e-4}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const EphemerisReport report = FitTrialEphemeris(c.times, Lowest(c.times), 1.01, {}, c.errors);
        const nlohmann::json json = EphemerisJson(report);
        int made = 0;
        for (const auto& fit : json["fits"]) {
            if (fit.contains("whyNot")) {
                EXPECT_FALSE(fit["whyNot"].get<std::string>().empty());
                EXPECT_EQ(fit.size(), 3u) << fit.dump(); // model, weighted, whyNot
            } else {
                ++made;
            }
        }
        EXPECT_EQ(made, c.made) << json.dump();
        // Usable errors make the weighted pair the one compared; unusable ones the unweighted pair.
        EXPECT_EQ(json["comparison"]["fTestP"].is_null(), c.made == 0);
        EXPECT_EQ(json["comparison"]["weighted"], c.made == 0 && !c.errors.empty());
        EXPECT_FALSE(json["notes"].empty());
        const std::string text = json.dump();
        EXPECT_EQ(text.find("nan"), std::string::npos);
        EXPECT_EQ(text.find("inf"), std::string::npos);
    }
}

TEST(KeptCurveTest, KeepsAShortGridWholeAndEachRunsLowestOfALongOne) {
    const std::vector<double> times{0.0, 1.0};
    const FTGrid grid{times, 0.0, 2.0, 0.5, 22}; // 23 points
    const std::vector<double> curve{0.9,  0.8,  0.7,  0.6,  0.5,  0.4,  0.41, 0.42, 0.2,  0.3, 0.35, 0.6,
                                    0.61, 0.62, 0.63, 0.64, 0.65, 0.66, 0.67, 0.68, 0.69, 0.1, 0.7};
    const struct {
        std::int32_t mostKept;
        std::int32_t stride;
        std::vector<double> kept;
    } cases[] = {
        {23, 1, curve},
        {1000, 1, curve},
        // Point j stands for grid points 5j - 2 .. 5j + 2; the last also for the grid's tail.
        {5, 5, {0.7, 0.4, 0.2, 0.62, 0.1}},
    };
    for (const auto& c : cases) {
        KeptCurve kept(grid, c.mostKept);
        // Handed over in uneven blocks, as the walk does.
        kept.Add(0, std::span(curve).subspan(0, 7));
        kept.Add(7, std::span(curve).subspan(7));
        EXPECT_EQ(kept.Stride(), c.stride);
        EXPECT_DOUBLE_EQ(kept.OmegaStep(), 0.5 * c.stride);
        EXPECT_EQ(std::vector<double>(kept.Values().begin(), kept.Values().end()), c.kept);
    }
}

TEST(CandidateColumnsTest, TheDipsGetTheirColumnsAndTheTypesPickThePeriod) {
    const double period = 0.8372914;
    std::mt19937 random(22);
    const std::vector<double> times = testing::Minima(random, 60, 2452000.3, period, 3e-4, 1500);
    std::vector<MinimumType> types;
    for (std::size_t k = 0; k < times.size(); ++k) {
        types.push_back(k % 2 == 0 ? MinimumType::kPrimary : MinimumType::kSecondary);
    }
    // The curve over 0.3 to 1 day kept whole, and kept as runs of points.
    const EntryCheck check = CheckSearchEntries({"0.3", "1", "200000"}, kMostCliSteps);
    const FTGrid grid = MakeGrid(times, Lowest(times), *check.entries);
    KeptCurve whole(grid), reduced(grid, 20001);
    const CliSearch search = RunCliSearch(times, Lowest(times), *check.entries, 5, FTKernelChoice::kFast,
                                          [&](std::int32_t first, std::span<const double> values) {
                                              whole.Add(first, values);
                                              reduced.Add(first, values);
                                          });
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed ? "with types" : "without types");
        const auto given = typed ? std::span<const MinimumType>(types) : std::span<const MinimumType>();
        const CandidateColumns columns = WorkOutCandidates(search, whole, times, given);
        ASSERT_EQ(columns.dips.size(), search.dips.size());
        ASSERT_TRUE(columns.dips[0]);
        const Candidate& best = *columns.dips[0];
        // Primaries and secondaries together make exact zeros at every P/m: the best dip is P or P/2,
        // the family's "P", and clearly significant.
        EXPECT_EQ(best.family, "P");
        const double bestRatio = period / best.refinedPeriod;
        EXPECT_NEAR(bestRatio, std::round(bestRatio), 1e-5);
        EXPECT_TRUE(std::round(bestRatio) == 1 || std::round(bestRatio) == 2) << best.refinedPeriod;
        EXPECT_LT(best.falseAlarm, 1e-6);
        EXPECT_EQ(best.typeAgreement.has_value(), typed);
        // Kept as runs of ten points the curve gives the same refined dip.
        const CandidateColumns fromRuns = WorkOutCandidates(search, reduced, times, given);
        EXPECT_EQ(fromRuns.stride, 10);
        ASSERT_TRUE(fromRuns.dips[0]);
        EXPECT_NEAR(fromRuns.dips[0]->refinedPeriod, best.refinedPeriod, 1e-8);

        const Report report{
            "minima.txt", static_cast<std::int32_t>(times.size()), &search, std::nullopt, {}, columns, true};
        const nlohmann::json json = nlohmann::json::parse(JsonReport(report));
        const auto& dip = json["dips"][0];
        EXPECT_EQ(dip["family"], "P");
        EXPECT_DOUBLE_EQ(dip["fap"].get<double>(), best.falseAlarm);
        EXPECT_DOUBLE_EQ(dip["refinedPeriod"].get<double>(), best.refinedPeriod);
        EXPECT_EQ(dip["typeAgreement"].is_null(), !typed);
        // With types the longest period they agree with is the binary's own; without, none is picked.
        EXPECT_NEAR(json["pick"]["period"].is_null() ? 0.0 : json["pick"]["period"].get<double>(),
                    typed ? period : 0.0, 1e-5);
        EXPECT_FALSE(json["pick"]["reason"].get<std::string>().empty());
        const std::string text = TextReport(report);
        EXPECT_NE(text.find("FAP  refined period (days)  types  family"), std::string::npos) << text;
        EXPECT_NE(text.find("Pick:"), std::string::npos);
    }
}

} // namespace
} // namespace quorix::cli
