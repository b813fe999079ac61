#include "aliases/aliaslist.h"

#include "ftplot/ftrender.h"
#include "support/fakeplotview.h"
#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace quorix {
namespace {

using testing::FakePlotView;
using testing::FillSearched;

// The listed entries as the window shows them: period text and type text.
using Listing = std::vector<std::pair<std::string, std::string>>;

Listing ListedEntries(const SharedState& state) {
    Listing listing;
    for (int j = 1; j <= state.AliasCount; ++j) {
        const std::string& line = state.AliasLines[6 + j];
        EXPECT_EQ(line.size(), 2 + 9 + 3 + 5 + 1u) << line;
        EXPECT_EQ(line.substr(0, 2), "  ") << line;
        listing.emplace_back(line.substr(2, 9), line.substr(14, 5));
        EXPECT_EQ(line.substr(11, 3), "  (");
        EXPECT_EQ(line.back(), ')');
        EXPECT_EQ(state.AliasPeriods[j].TypeText, listing.back().second);
    }
    return listing;
}

TEST(AliasListTest, ListsTheAliasesInsideTheSearchedRangeInOrder) {
    struct Case {
        const char* name;
        double trial, pMin, pMax;
        Listing expected;
    };
    const Case cases[] = {
        {"one half-day alias and five multiples",
         1.1,
         0.6,
         1.3,
         {{"0.6111111", "0.556"},
          {"0.6600000", "0.600"},
          {"0.7096774", "+0.5 "},
          {"0.7333333", "0.667"},
          {"0.7857143", "0.714"},
          {"0.8555555", "0.778"}}},
        // k = -2 and 2P are both exactly 1 day: the half-day alias is built first and scanned first.
        {"equal periods in build order", 0.5, 0.95, 1.05, {{"1.0000000", "-1.0 "}, {"1.0000000", "2.000"}}},
        // The exchange with the shorter 9P/5 built last moves the half-day alias behind 2P.
        {"equal periods after an exchange",
         0.5,
         0.85,
         1.05,
         {{"0.9000000", "1.800"}, {"1.0000000", "2.000"}, {"1.0000000", "-1.0 "}}},
        {"nothing inside the range", 10.0, 0.2, 0.21, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SharedState state;
        FillSearched(state, c.pMin, c.pMax);
        state.TrialPeriod = c.trial;
        ASSERT_TRUE(BuildAliasList(state));
        EXPECT_EQ(ListedEntries(state), c.expected);
        EXPECT_EQ(state.AliasLineCount, static_cast<int>(c.expected.size()) + 6);
        EXPECT_DOUBLE_EQ(state.AliasRangeLow, c.pMin);
        EXPECT_DOUBLE_EQ(state.AliasRangeHigh, c.pMax);
    }
}

TEST(AliasListTest, CandidatesOnTheRangeBoundsAreLeftOut) {
    SharedState state;
    FillSearched(state);
    state.TrialPeriod = 0.5;
    // k = -2 lands exactly on the lowest frequency and k = +1 on the highest, and 2P on the longest
    // period: all three are on a bound and left out.
    const double trialOmega = state.TwoPi / 0.5;
    state.OmegaLow = trialOmega - 2 * state.Pi;
    state.OmegaHigh = trialOmega + state.Pi;
    ASSERT_TRUE(BuildAliasList(state));
    ASSERT_DOUBLE_EQ(state.AliasRangeHigh, 1.0);
    const Listing expected = {{"0.6428571", "1.286"}, {"0.6666667", "-0.5 "}, {"0.7000000", "1.400"},
                              {"0.7500000", "1.500"}, {"0.8333333", "1.667"}, {"0.9000000", "1.800"}};
    EXPECT_EQ(ListedEntries(state), expected);
}

TEST(AliasListTest, WithoutAUsableTrialPeriodNothingChanges) {
    SharedState state;
    FillSearched(state, 0.6, 1.3);
    state.TrialPeriod = 1.1;
    ASSERT_TRUE(BuildAliasList(state));
    const SharedState before = state;
    for (double trial :
         {0.0, -1.1, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(trial);
        state.TrialPeriod = trial;
        EXPECT_FALSE(BuildAliasList(state));
        EXPECT_EQ(state.AliasCount, before.AliasCount);
        EXPECT_EQ(state.AliasLineCount, before.AliasLineCount);
        EXPECT_EQ(state.AliasLines, before.AliasLines);
        EXPECT_EQ(state.AliasBasePeriod, 1.1);
    }
}

TEST(AliasListTest, BeforeAnySearchTheListIsEmptyAndHasNoNaN) {
    SharedState state;
    InitialiseSharedState(state); // no search: Pi, TwoPi and the frequency range are all 0
    state.TrialPeriod = 1.1;      // typed in and applied with "Update O-C plot"
    ASSERT_TRUE(BuildAliasList(state));
    EXPECT_EQ(state.AliasCount, 0);
    EXPECT_EQ(state.AliasLines[1], " For Trial Period = 1.100000");
    EXPECT_EQ(state.AliasRangeLow, 0.0);
    EXPECT_EQ(state.AliasRangeHigh, 0.0);
}

// An alias window of plain data that records what it was asked to do.
class FakeAliasWindow : public AliasListView, public LazyView<AliasListView> {
public:
    explicit FakeAliasWindow(const SharedState& state) : state_(state) {}
    AliasListView& Loaded() override {
        ++loads;
        return *this;
    }
    void OpenAliasList() override { calls.push_back("open " + std::to_string(state_.AliasLineCount)); }
    void ShowAliasLines() override { calls.push_back("show " + state_.AliasLines[1]); }

    int loads = 0;
    std::vector<std::string> calls;

private:
    const SharedState& state_;
};

int MarkStrokes(const DisplayList& drawing, Colour colour) {
    int strokes = 0;
    for (const auto& op : drawing.Ops()) {
        strokes += op.kind == DrawKind::kLine && op.colour == colour;
    }
    return strokes;
}

TEST(ListAliasPeriodsTest, OpensTheWindowShowsTheLinesAndMarksThePlot) {
    SharedState state;
    FillSearched(state, 0.6, 1.3);
    FakeAliasWindow window(state);
    FakePlotView plot;
    ComputeFTGeometry(state, plot.width, plot.height);

    state.TrialPeriod = 0.0;
    EXPECT_FALSE(ListAliasPeriods(state, window, plot));
    EXPECT_EQ(window.loads, 0) << "without a trial period the window is not even loaded";
    EXPECT_TRUE(plot.drawing.Ops().empty());

    state.TrialPeriod = 1.1;
    EXPECT_TRUE(ListAliasPeriods(state, window, plot));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"open 12", "show  For Trial Period = 1.100000"}))
        << "the lines are ready when the window opens";
    EXPECT_EQ(MarkStrokes(plot.drawing, state.MarkColour), 2 * 6);
    const std::string header[] = {
        " Alias periods are indicated first, followed by (type).",
        " To determine the type in brackets:",
        " Fourier half-day alias periods are +/- half integers.",
        " Simple fractional multiples, by decimal fraction.",
        "",
        "  0.6111111  (0.556)",
    };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(state.AliasLines[i + 2], header[i]);
    }
}

} // namespace
} // namespace quorix
