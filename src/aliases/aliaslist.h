#pragma once

#include "state/sharedstate.h"

#include <optional>
#include <string>
#include <vector>

namespace quorix {

// What "Mark" tells the user when there is no trial period to list aliases for.
inline constexpr const char* kNoTrialPeriodMessage = "Hey, you need to select a period first!";

// Height of one line of the alias list window, in twips; the window is sized by it.
inline constexpr int kAliasLineHeight = 260;

// The searched range the aliases are listed in, as angular frequencies, with the search's 2 pi.
struct AliasRange {
    double twoPi = 0.0;
    double omegaLow = 0.0;
    double omegaHigh = 0.0;
};

// The alias periods of one trial period and the text lines the alias window shows of them.
struct AliasList {
    double basePeriod = 0.0;
    double rangeLow = 0.0;           // the shortest period of the range, or 0 when it has none
    double rangeHigh = 0.0;          // the longest
    std::vector<AliasEntry> entries; // ordered by period, ascending
    std::vector<std::string> lines;
};

// The aliases of `period` strictly inside the range: the frequency 1/P shifted by k/2 cycles per day
// (k = -10..10 without 0), then fifteen fractional multiples m·P/d and their reciprocals, at most
// kMaxAliases of them. Of equal periods the one built first is taken first; the ordering's exchanges
// may still move an equal entry behind another, so the order is fixed by the build order, not kept
// from it. Empty when `period` is not a positive finite number.
[[nodiscard]] std::optional<AliasList> BuildAliasList(double period, const AliasRange& range);

// Builds the alias list and its text lines for the current TrialPeriod over the range of the last
// search into the state. False, with nothing changed, when there is no usable trial period.
[[nodiscard]] bool BuildAliasList(SharedState& state);

} // namespace quorix
