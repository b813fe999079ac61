#include "aliases/aliaslist.h"

#include "support/searchedstate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace quorix {
namespace {

using Lines = std::vector<std::string>;

Lines EntryLines(const SharedState& state) {
    return Lines(state.AliasLines.begin() + 7, state.AliasLines.begin() + 7 + state.AliasCount);
}

TEST(AliasListTest, ListsTheAliasesStrictlyInsideTheSearchedRangeInOrderAndKeepsThemForUnusablePeriods) {
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
        SharedState state;
        testing::FillSearched(state, c.pMin, c.pMax);
        state.TrialPeriod = c.trial;
        ASSERT_TRUE(BuildAliasList(state) && BuildAliasList(state)) << "a second build starts afresh";
        EXPECT_EQ(EntryLines(state), c.entries) << c.pMin;
        EXPECT_EQ(state.AliasLineCount, static_cast<int>(c.entries.size()) + 6);
        for (double unusable : {0.0, -1.1, std::nan(""), HUGE_VAL}) {
            state.TrialPeriod = unusable;
            EXPECT_FALSE(BuildAliasList(state)) << unusable;
            EXPECT_EQ(EntryLines(state), c.entries) << "the list stays as it was";
        }
    }
}

} // namespace
} // namespace quorix
