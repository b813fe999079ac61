#include "candidates/candidates.h"

#include "candidates/candidatedata.h"
#include "candidates/falsealarm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quorix {
namespace {

using testing::CandidatesOf;
using testing::Observed;
using testing::SearchedGrid;

constexpr double kTruePeriod = 1.2345678;

// A binary's minima drawn with `seed` over `years` seasons and searched from pMin to pMax days.
struct Binary {
    unsigned seed;
    double years;
    double pMin, pMax;
    bool secondaries = true;
    double period = kTruePeriod;
    int minima = 40;
    int steps = 200000;
    double seasonDays = 240;
};

struct SearchedBinary {
    Observed observed;
    SearchedGrid grid;

    explicit SearchedBinary(const Binary& b) {
        std::mt19937 random(b.seed);
        const testing::Sky sky{.years = b.years, .seasonDays = b.seasonDays};
        observed = testing::EclipsingBinary(random, sky, b.period, b.minima, b.secondaries);
        grid = testing::SearchGrid(observed.times, b.pMin, b.pMax, b.steps);
    }
    [[nodiscard]] CandidateList List(int count = 5, bool typed = true) const {
        return ListCandidates(
            CandidatesOf(observed.times, typed ? observed.types : std::vector<MinimumType>{}, grid, count));
    }
};

bool Finite(const Candidate& c) {
    return std::isfinite(c.period) && std::isfinite(c.ft) && std::isfinite(c.refinedPeriod) &&
           std::isfinite(c.refinedFT) && std::isfinite(c.falseAlarm) && std::isfinite(c.halfWidth) &&
           (!c.typeAgreement || std::isfinite(*c.typeAgreement));
}

// The method's own zeros at 2P/m (primaries only) or P/m (with secondaries) beat the true period to
// the deepest dip; only the types settle it. A contact binary near half a day keeps its significance
// and its pick: the nightly sampling's window dips lie at 2 and 1 d only.
TEST(CandidatesTest, BinariesGetFamiliesAndTheTypesPickTheTruePeriod) {
    const struct {
        const char* name;
        Binary binary;
        double deepestRatio;      // the deepest dip's period over the true one
        const char* familyOfTrue; // the words the true period's dip gets
    } cases[] = {
        {"primaries only, 0.2 to 10 d",
         {.seed = 7, .years = 12, .pMin = 0.2, .pMax = 10, .secondaries = false},
         2.0,
         "P/2"},
        {"with secondaries, 0.2 to 10 d", {.seed = 7, .years = 12, .pMin = 0.2, .pMax = 10}, 1.0 / 3, "3P"},
        {"half a day", {.seed = 11, .years = 12, .pMin = 0.3, .pMax = 0.8, .period = 0.50012}, 1.0, "P"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SearchedBinary binary(c.binary);
        const CandidateList typed = binary.List();
        ASSERT_EQ(typed.dips.size(), 5u);
        const Candidate& deepest = typed.dips.front();
        const double deepestTruth = c.deepestRatio * c.binary.period;
        EXPECT_NEAR(deepest.refinedPeriod / deepestTruth, 1, 1e-7);
        EXPECT_LT(std::abs(deepest.refinedPeriod - deepestTruth), std::abs(deepest.period - deepestTruth));
        EXPECT_EQ(deepest.family, "P");
        ASSERT_TRUE(typed.pick.candidate.has_value()) << typed.pick.reason;
        EXPECT_NEAR(typed.pick.period.value_or(0), c.binary.period, 1e-6);
        EXPECT_EQ(typed.pick.candidate->family, c.familyOfTrue);
        EXPECT_DOUBLE_EQ(typed.pick.candidate->typeAgreement.value_or(0), 1.0);
        EXPECT_LT(typed.pick.candidate->falseAlarm, 1e-6);
        EXPECT_NE(typed.pick.reason.find("agrees with the minimum types"), std::string::npos);

        const CandidateList untyped = binary.List(5, false);
        EXPECT_FALSE(untyped.pick.period.has_value());
        EXPECT_NE(untyped.pick.reason.find("2P/m cannot be told apart"), std::string::npos);
        EXPECT_FALSE(untyped.dips.front().typeAgreement.has_value());
        EXPECT_NE(FormatCandidateTable(untyped).find("Pick: none."), std::string::npos);
    }
}

// Around the true period the sampling's shadows of it are named: yearly side lobes when the seasons
// are short, half-day aliases of the method's own zeros 2P and 2P/3, and the dip the nightly sampling
// makes at two days whatever the star does, which is never significant.
TEST(CandidatesTest, SamplingAliasesAreNamed) {
    const std::string lobe = "yearly side lobe of P";
    const struct {
        Binary binary;
        std::vector<std::string> families; // of the dips after the best, deepest first
    } cases[] = {
        {{.seed = 3, .years = 12, .pMin = 1.0, .pMax = 1.6, .seasonDays = 60}, {lobe, lobe, lobe, lobe}},
        {{.seed = 3, .years = 12, .pMin = 1.0, .pMax = 1.6, .secondaries = false},
         {"half-day alias of 2P", "half-day alias of 2P/3"}},
        {{.seed = 3, .years = 12, .pMin = 0.8, .pMax = 2.0}, {"half-day alias of P/2", "2-day window alias"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.families.back());
        const CandidateList list = SearchedBinary(c.binary).List(static_cast<int>(c.families.size()) + 1);
        ASSERT_EQ(list.dips.size(), c.families.size() + 1);
        EXPECT_NEAR(list.dips.front().refinedPeriod, kTruePeriod, 1e-6);
        for (std::size_t k = 0; k < c.families.size(); ++k) {
            EXPECT_EQ(list.dips[k + 1].family, c.families[k]) << k;
        }
        if (c.families.back() == "2-day window alias") {
            EXPECT_DOUBLE_EQ(list.dips.back().falseAlarm, 1.0);
        }
    }
}

// At half the period the secondaries fall at whole cycles: only the primaries' share agrees.
TEST(CandidatesTest, TypeAgreementFallsAtTheWrongMultiple) {
    const CandidateList list =
        SearchedBinary({.seed = 3, .years = 8, .pMin = 0.5, .pMax = 3, .minima = 60}).List(8);
    const auto half = std::find_if(list.dips.begin(), list.dips.end(), [](const Candidate& dip) {
        return std::abs(dip.refinedPeriod / (kTruePeriod / 2) - 1) < 1e-5;
    });
    ASSERT_NE(half, list.dips.end());
    EXPECT_LT(half->typeAgreement.value_or(1), kTypeAgreementNeeded);
    EXPECT_NEAR(list.pick.period.value_or(0), kTruePeriod, 1e-6);
}

// A grid step wider than the dips says so; a fine one does not.
TEST(CandidatesTest, CoarseGridIsFlaggedFromTheDipWidth) {
    for (const auto& [steps, coarse] : {std::pair{1000, true}, std::pair{500000, false}}) {
        const CandidateList list =
            SearchedBinary({.seed = 5, .years = 6, .pMin = 0.5, .pMax = 3, .steps = steps}).List();
        ASSERT_FALSE(list.dips.empty());
        EXPECT_EQ(list.gridTooCoarse, coarse) << steps;
        EXPECT_EQ(FormatCandidateTable(list).find("too coarse") != std::string::npos, coarse) << steps;
    }
}

// The saddle-point tail against a direct simulation of random phases, out to the depths where the
// deepest dips of data without a period lie.
TEST(CandidatesTest, SingleFrequencyTailMatchesRandomPhases) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> phase(0, 2 * std::numbers::pi);
    constexpr int kCount = 30;
    constexpr int kSamples = 400000;
    const double threshold = 0.5 - 3.0 / std::sqrt(8.0 * kCount);
    int below = 0;
    for (int k = 0; k < kSamples; ++k) {
        double sum = 0;
        for (int j = 0; j < kCount; ++j) {
            const double s = std::sin(phase(random));
            sum += s * s;
        }
        below += sum / kCount <= threshold;
    }
    EXPECT_NEAR(SingleFrequencyTail(threshold, kCount), static_cast<double>(below) / kSamples, 1.5e-4);
    EXPECT_DOUBLE_EQ(SingleFrequencyTail(0.0, kCount), 0.0);
    EXPECT_GT(FalseAlarmProbability(0.45, kCount, 1e5), 0.99);
    EXPECT_LT(FalseAlarmProbability(1e-6, kCount, 1e5), 1e-30);
}

// Random times in the same seasons, typed at random: the deepest dip is no deeper than chance gives
// and nothing is picked.
TEST(CandidatesTest, DataWithoutAPeriodPickNothing) {
    std::mt19937 random(17);
    const std::vector<double> times = testing::SeasonalTimes(random, {.years = 15}, 50);
    std::vector<MinimumType> types(times.size(), MinimumType::kPrimary);
    for (std::size_t k = 0; k < types.size(); k += 3) {
        types[k] = MinimumType::kSecondary;
    }
    const CandidateList list =
        ListCandidates(CandidatesOf(times, types, testing::SearchGrid(times, 0.5, 3, 200000)));
    ASSERT_FALSE(list.dips.empty());
    for (const Candidate& dip : list.dips) {
        EXPECT_GT(dip.falseAlarm, kSignificantFalseAlarm) << dip.refinedPeriod;
    }
    EXPECT_FALSE(list.pick.period.has_value());
    EXPECT_NE(list.pick.reason.find("No period is significant"), std::string::npos);
}

// Inputs that carry no period, or are malformed, give finite figures and no pick.
TEST(CandidatesTest, DegenerateInputsGiveFiniteFiguresAndNoPick) {
    const std::vector<double> one = {2451234.4321}, equal(5, 2451234.4321);
    const std::vector<double> spread = {2451234.43, 2451300.51, 2451420.38, 2451700.47};
    const std::vector<MinimumType> types(5, MinimumType::kPrimary);
    const std::vector<double> flat(1001, 0.5), tooShort(10, 0.2);
    std::vector<double> withNaN(1001, 0.5);
    withNaN[400] = std::nan("");
    struct Case {
        const char* name;
        const std::vector<double>& times;
        const std::vector<double>& ft;
        bool typed;
    };
    for (const Case& c : {Case{"one time", one, flat, false}, Case{"equal times", equal, flat, true},
                          Case{"flat FT", spread, flat, false}, Case{"NaN in FT", spread, withNaN, false},
                          Case{"wrong size", spread, tooShort, false}}) {
        SCOPED_TRACE(c.name);
        const double omegaLow = 2 * std::numbers::pi / 3,
                     omegaStep = (2 * std::numbers::pi / 0.5 - omegaLow) / 1000;
        const CandidateList list =
            ListCandidates({c.times, c.typed ? std::span(types) : std::span<const MinimumType>{}, omegaLow,
                            omegaStep, 1000, c.ft});
        for (const Candidate& dip : list.dips) {
            EXPECT_TRUE(Finite(dip));
        }
        EXPECT_FALSE(list.pick.period.has_value());
        EXPECT_FALSE(list.pick.reason.empty());
        EXPECT_TRUE(std::isfinite(list.independentFrequencies));
        EXPECT_NE(FormatCandidateTable(list).find("Pick: none."), std::string::npos);
    }
}

} // namespace
} // namespace quorix
