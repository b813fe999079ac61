#pragma once

#include "search/searchentries.h"
#include "state/sharedstate.h"

#include <string>

namespace quorix {

// The main window as the search sees it: its three entries, its buttons, its read-out, its messages.
class SearchWindow {
public:
    virtual ~SearchWindow() = default;
    // The entries as typed: shortest and longest trial period in days, number of frequency steps.
    [[nodiscard]] virtual std::string MinimumPeriodText() const = 0;
    [[nodiscard]] virtual std::string MaximumPeriodText() const = 0;
    [[nodiscard]] virtual std::string StepCountText() const = 0;
    // "Open Data File", "Compute" and "Quit" together: off while the search runs.
    virtual void SetSearchButtonsEnabled(bool enabled) = 0;
    // The read-out beside "Best Period:".
    virtual void SetBestPeriodText(const std::string& text) = 0;
    // A modal message with an OK button and the program's title.
    virtual void ShowMessage(const std::string& text) = 0;
};

// What the search says of times whose phases would overflow: no meaningful best period exists.
inline constexpr const char* kTimesTooLargeMessage = "The times of minima are too large to search.";

// "Compute": checks the entries (the first failure is reported and ends the run, leaving the last
// result as it was), evaluates the FT over the frequency grid, shows the best period and sets the
// view to the whole grid. The state keeps each entry as it was read, and the result.
void RunPeriodSearch(SharedState& state, SearchWindow& window);

// The text shown for the best period: the first six characters of its short number text.
[[nodiscard]] std::string BestPeriodText(double period);

} // namespace quorix
