#include "aliases/aliaslist.h"

#include "ftplot/ftrender.h"
#include "support/fakeplotview.h"
#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace quorix {
namespace {

using Lines = std::vector<std::string>;

Lines EntryLines(const SharedState& state) {
    return Lines(state.AliasLines.begin() + 7, state.AliasLines.begin() + 7 + state.AliasCount);
}

TEST(AliasListTest, ListsTheAliasesStrictlyInsideTheSearchedRangeInOrder) {
    const struct {
        double trial, pMin, pMax;
        Lines entries;
    } cases[] = {
        // clang-format off
        {1.1, 0.6, 1.3, {"  0.6111111  (0.556)", "  0.6600000  (0.600)", "  0.7096774  (+0.5 )",
                         "  0.7333333  (0.667)", "  0.7857143  (0.714)", "  0.8555555  (0.778)"}},
        // k = -2 and 2P are both exactly 1 day: the half-day alias is built and scanned first ...
        {0.5, 0.95, 1.05, {"  1.0000000  (-1.0 )", "  1.0000000  (2.000)"}},
        // ... until the exchange with 9P/5, built last, moves it behind 2P.
        {0.5, 0.85, 1.05, {"  0.9000000  (1.800)", "  1.0000000  (2.000)", "  1.0000000  (-1.0 )"}},
        // k = -2 and 2P now fall exactly on the longest period and are left out.
        {0.5, 0.42, 1.0, {"  0.6428571  (1.286)", "  0.6666667  (-0.5 )", "  0.7000000  (1.400)",
                          "  0.7500000  (1.500)", "  0.8333333  (1.667)", "  0.9000000  (1.800)"}},
        {10.0, 0.2, 0.21, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pMin);
        SharedState state;
        testing::FillSearched(state, c.pMin, c.pMax);
        state.TrialPeriod = c.trial;
        ASSERT_TRUE(BuildAliasList(state) && BuildAliasList(state)) << "a second build starts afresh";
        EXPECT_EQ(EntryLines(state), c.entries);
        EXPECT_EQ(state.AliasLineCount, static_cast<int>(c.entries.size()) + 6);
    }
}

// An alias window that records the lines it was asked to open for and to show.
struct FakeAliasWindow : AliasListView, LazyView<AliasListView> {
    explicit FakeAliasWindow(const SharedState& s) : state(s) {}
    AliasListView& Loaded() override { return *this; }
    void OpenAliasList() override { calls.push_back("open " + std::to_string(state.AliasLineCount)); }
    void ShowAliasLines() override { calls.push_back("show " + state.AliasLines[1]); }
    const SharedState& state;
    Lines calls;
};

TEST(ListAliasPeriodsTest, ShowsTheListAndMarksThePlotButRefusesUnusableTrialPeriods) {
    SharedState state;
    testing::FillSearched(state, 0.6, 1.3);
    FakeAliasWindow window(state);
    testing::FakePlotView plot;
    ComputeFTGeometry(state, plot.width, plot.height);
    state.TrialPeriod = 1.1;
    ASSERT_TRUE(ListAliasPeriods(state, window, plot));
    EXPECT_EQ(window.calls, (Lines{"open 12", "show  For Trial Period = 1.100000"}));
    EXPECT_EQ(plot.drawing.Ops().size(), 2u * 6) << "two strokes for each alias";
    const Lines before = EntryLines(state);
    for (double trial :
         {0.0, -1.1, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        state.TrialPeriod = trial;
        EXPECT_FALSE(ListAliasPeriods(state, window, plot)) << trial;
        EXPECT_EQ(EntryLines(state), before);
        EXPECT_EQ(state.AliasLines[1], " For Trial Period = 1.100000");
    }
    EXPECT_EQ(window.calls.size(), 2u) << "a refused period neither opens nor shows the list";
    EXPECT_EQ(plot.drawing.Ops().size(), 2u * 6);

    SharedState unsearched; // Pi, TwoPi and the frequency range are all 0
    InitialiseSharedState(unsearched);
    unsearched.TrialPeriod = 1.1; // as "Update O-C plot" can set it
    ASSERT_TRUE(BuildAliasList(unsearched));
    EXPECT_EQ(std::make_tuple(unsearched.AliasCount, unsearched.AliasRangeLow), std::make_tuple(0, 0.0));
}

} // namespace
} // namespace quorix
