#pragma once

#include "cli/clisearch.h"
#include "cli/report.h"
#include "state/sharedstate.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorix::cli {

// The desktop program's shared state as its "Compute" leaves it after this search, so that its own
// O-C, alias and drawing routines run on the command line's result: FT values from `curve` (the
// plot's, at most the desktop's capacity; may be empty), the observations when they fit the
// desktop's 500.
[[nodiscard]] std::unique_ptr<SharedState> DesktopState(const CliSearch& search,
                                                        std::span<const double> times, double baseTime,
                                                        const std::vector<double>& curve,
                                                        const std::string& file);

// The desktop's O-C diagram of `period` over the state's observations; empty when the desktop refuses
// the period or the observations exceed its capacity.
[[nodiscard]] std::optional<OCReport> DesktopOC(SharedState& state, double period);

// The alias list lines the desktop shows for `period` over the search's range.
[[nodiscard]] std::vector<std::string> DesktopAliasLines(SharedState& state, double period);

} // namespace quorix::cli
