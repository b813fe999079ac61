#pragma once

#include "aliases/aliaslistview.h"
#include "ftplot/ftplotview.h"
#include "platform/lazyview.h"
#include "state/sharedstate.h"

namespace quorix {

// What "Mark" tells the user when there is no trial period to list aliases for.
inline constexpr const char* kNoTrialPeriodMessage = "Hey, you need to select a period first!";

// Height of one line of the alias list window, in twips; the window is sized by it.
inline constexpr int kAliasLineHeight = 260;

// Appends an entry for a fractional multiple of AliasBasePeriod when it lies strictly inside
// (AliasRangeLow, AliasRangeHigh); its type text is the ratio to the base period.
void AddAliasCandidate(SharedState& state, double candidate);

// Orders entries 1..AliasCount by period, ascending. Of equal periods the one scanned first is taken
// first; the exchanges may still move an equal entry behind another, so the order is fixed by the
// entries' build order, not kept from it.
void SortAliasPeriods(SharedState& state);

// Builds the alias list and its text lines for the current TrialPeriod over the range of the last
// search. False, with nothing changed, when there is no usable trial period (zero, negative or not
// finite).
[[nodiscard]] bool BuildAliasList(SharedState& state);

// "Mark": builds the list, brings up the alias window with the new lines and marks the aliases on the
// FT plot. False, with nothing changed or drawn, when there is no trial period; the caller then shows
// kNoTrialPeriodMessage.
[[nodiscard]] bool ListAliasPeriods(SharedState& state, LazyView<AliasListView>& aliasWindow,
                                    FTPlotView& plot);

} // namespace quorix
