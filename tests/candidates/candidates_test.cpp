#include "candidates/candidates.h"

#include "candidates/candidatedata.h"
#include "candidates/falsealarm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace quorix {
namespace {

using testing::CandidatesOf;
using testing::EclipsingBinary;
using testing::Observed;
using testing::SearchedGrid;
using testing::SearchGrid;
using testing::Sky;

constexpr double kTruePeriod = 1.2345678;

// The listed dip at `period` (relative 1e-5), or nullptr.
const Candidate* DipAt(const CandidateList& list, double period) {
    for (const Candidate& dip : list.dips) {
        if (std::abs(dip.refinedPeriod / period - 1) < 1e-5) {
            return &dip;
        }
    }
    return nullptr;
}

bool Finite(const Candidate& c) {
    return std::isfinite(c.period) && std::isfinite(c.ft) && std::isfinite(c.refinedPeriod) &&
           std::isfinite(c.refinedFT) && std::isfinite(c.falseAlarm) && std::isfinite(c.halfWidth) &&
           (!c.typeAgreement || std::isfinite(*c.typeAgreement));
}

struct BinaryCase {
    bool secondaries;
    double deepestRatio;      // the deepest dip's period over the true one
    const char* familyOfTrue; // the words the true period's dip gets
};

// Forty minima over twelve seasons, searched over 0.2 to 10 days: the method's own zeros at 2P/m
// (primaries only) or P/m (with secondaries) beat the true period to the deepest dip.
TEST(CandidatesTest, WideRangeBinariesGetFamiliesAndTheTypesPickTheTruePeriod) {
    for (const BinaryCase& c : {BinaryCase{false, 2.0, "P/2"}, BinaryCase{true, 1.0 / 3, "3P"}}) {
        SCOPED_TRACE(c.secondaries ? "primaries and secondaries" : "primaries only");
        std::mt19937 random(7);
        Sky sky;
        sky.years = 12;
        const Observed observed = EclipsingBinary(random, sky, kTruePeriod, 40, c.secondaries);
        ASSERT_EQ(observed.times.size(), 40u);
        const SearchedGrid grid = SearchGrid(observed.times, 0.2, 10, 200000);

        const CandidateList typed = ListCandidates(CandidatesOf(observed.times, observed.types, grid));
        ASSERT_EQ(typed.dips.size(), 5u);
        const Candidate& deepest = typed.dips.front();
        const double deepestTruth = c.deepestRatio * kTruePeriod;
        EXPECT_NEAR(deepest.refinedPeriod / deepestTruth, 1, 1e-7);
        EXPECT_LT(std::abs(deepest.refinedPeriod - deepestTruth), std::abs(deepest.period - deepestTruth));
        EXPECT_EQ(deepest.family, "P");
        ASSERT_TRUE(typed.pick.period.has_value());
        EXPECT_NEAR(*typed.pick.period, kTruePeriod, 1e-6);
        const Candidate& truth = *typed.pick.candidate;
        EXPECT_EQ(truth.family, c.familyOfTrue);
        EXPECT_DOUBLE_EQ(*truth.typeAgreement, 1.0);
        EXPECT_LT(truth.falseAlarm, 1e-6);
        EXPECT_NE(typed.pick.reason.find("agrees with the minimum types"), std::string::npos);

        const CandidateList untyped = ListCandidates(CandidatesOf(observed.times, {}, grid));
        EXPECT_FALSE(untyped.pick.period.has_value());
        EXPECT_NE(untyped.pick.reason.find("2P/m cannot be told apart"), std::string::npos);
        EXPECT_FALSE(untyped.dips.front().typeAgreement.has_value());
        EXPECT_NE(FormatCandidateTable(untyped).find("Pick: none."), std::string::npos);
    }
}

// Contact binaries near half a day are common; the nightly sampling's window dips lie at 2 and 1 d
// only, so such a star keeps its significance and its pick.
TEST(CandidatesTest, APeriodNearHalfADayIsNotTakenForTheNightlyWindow) {
    const double period = 0.50012;
    std::mt19937 random(11);
    Sky sky;
    sky.years = 12;
    const Observed observed = EclipsingBinary(random, sky, period, 40, true);
    const SearchedGrid grid = SearchGrid(observed.times, 0.3, 0.8, 200000);
    const CandidateList list = ListCandidates(CandidatesOf(observed.times, observed.types, grid));
    const Candidate* truth = DipAt(list, period);
    ASSERT_NE(truth, nullptr);
    EXPECT_LT(truth->falseAlarm, 1e-6);
    EXPECT_EQ(truth->family.find("window"), std::string::npos) << truth->family;
    ASSERT_TRUE(list.pick.period.has_value()) << list.pick.reason;
    EXPECT_NEAR(*list.pick.period, period, 1e-6);
}

struct AliasCase {
    double seasonDays;
    bool secondaries;
    double pMin;
    double pMax;
    std::vector<std::string> families; // of the dips after the best, deepest first
};

// Around the true period the sampling's shadows of it are named: yearly side lobes when the seasons
// are short, half-day aliases of the method's own zeros 2P and 2P/3, and the dip the nightly sampling
// makes at two days whatever the star does, which is never significant.
TEST(CandidatesTest, SamplingAliasesAreNamed) {
    const std::string lobe = "yearly side lobe of P";
    for (const AliasCase& c :
         {AliasCase{60, true, 1.0, 1.6, {lobe, lobe, lobe, lobe}},
          AliasCase{240, false, 1.0, 1.6, {"half-day alias of 2P", "half-day alias of 2P/3"}},
          AliasCase{240, true, 0.8, 2.0, {"half-day alias of P/2", "2-day window alias"}}}) {
        SCOPED_TRACE(c.families.back());
        std::mt19937 random(3);
        Sky sky;
        sky.years = 12;
        sky.seasonDays = c.seasonDays;
        const Observed observed = EclipsingBinary(random, sky, kTruePeriod, 40, c.secondaries);
        const SearchedGrid grid = SearchGrid(observed.times, c.pMin, c.pMax, 200000);
        const CandidateList list = ListCandidates(
            CandidatesOf(observed.times, observed.types, grid, static_cast<int>(c.families.size()) + 1));
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
    std::mt19937 random(3);
    Sky sky;
    sky.years = 8;
    const Observed observed = EclipsingBinary(random, sky, kTruePeriod, 60, true);
    const SearchedGrid grid = SearchGrid(observed.times, 0.5, 3, 200000);
    const CandidateList list = ListCandidates(CandidatesOf(observed.times, observed.types, grid, 8));
    const Candidate* half = DipAt(list, kTruePeriod / 2);
    ASSERT_NE(half, nullptr);
    EXPECT_LT(*half->typeAgreement, kTypeAgreementNeeded);
    ASSERT_TRUE(list.pick.period.has_value());
    EXPECT_NEAR(*list.pick.period, kTruePeriod, 1e-6);
}

// A grid step wider than the dips says so; a fine one does not.
TEST(CandidatesTest, CoarseGridIsFlaggedFromTheDipWidth) {
    std::mt19937 random(5);
    Sky sky;
    sky.years = 6;
    const Observed observed = EclipsingBinary(random, sky, kTruePeriod, 40, true);
    for (const auto& [steps, coarse] : {std::pair{1000, true}, std::pair{500000, false}}) {
        const SearchedGrid grid = SearchGrid(observed.times, 0.5, 3, steps);
        const CandidateList list = ListCandidates(CandidatesOf(observed.times, observed.types, grid));
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
    Sky sky;
    sky.years = 15;
    const std::vector<double> times = testing::SeasonalTimes(random, sky, 50);
    std::vector<MinimumType> types;
    for (std::size_t k = 0; k < times.size(); ++k) {
        types.push_back(k % 3 == 0 ? MinimumType::kSecondary : MinimumType::kPrimary);
    }
    const SearchedGrid grid = SearchGrid(times, 0.5, 3, 200000);
    const CandidateList list = ListCandidates(CandidatesOf(times, types, grid));
    ASSERT_FALSE(list.dips.empty());
    for (const Candidate& dip : list.dips) {
        EXPECT_GT(dip.falseAlarm, kSignificantFalseAlarm) << dip.refinedPeriod;
    }
    EXPECT_FALSE(list.pick.period.has_value());
    EXPECT_NE(list.pick.reason.find("No period is significant"), std::string::npos);
}

// Inputs that carry no period, or are malformed, give finite figures and no pick.
TEST(CandidatesTest, DegenerateInputsGiveFiniteFiguresAndNoPick) {
    const std::vector<double> one = {2451234.4321};
    const std::vector<double> equal(5, 2451234.4321);
    const std::vector<double> spread = {2451234.43, 2451300.51, 2451420.38, 2451700.47};
    const std::vector<MinimumType> types(5, MinimumType::kPrimary);
    const std::vector<double> flat(1001, 0.5);
    std::vector<double> withNaN(1001, 0.5);
    withNaN[400] = std::nan("");
    const std::vector<double> tooShort(10, 0.2);
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
        CandidateSearch search;
        search.times = c.times;
        if (c.typed) {
            search.types = types;
        }
        search.omegaLow = 2 * std::numbers::pi / 3;
        search.omegaStep = (2 * std::numbers::pi / 0.5 - search.omegaLow) / 1000;
        search.steps = 1000;
        search.ftValues = c.ft;
        const CandidateList list = ListCandidates(search);
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
