#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorix::cli {

// The command line's steps limit: far beyond the desktop's, since the grid is walked in blocks.
inline constexpr std::int32_t kMostCliSteps = 100'000'000;

// The search range and grid size as checked and read.
struct SearchEntries {
    double twoPi = 0.0;
    double periodMin = 0.0;
    double periodMax = 0.0;
    std::int32_t steps = 0;
};

// Either checked entries or the message of the first entry that fails.
struct EntryCheck {
    std::optional<SearchEntries> entries;
    std::string message;
};

// Checks the three entries as the main window's "Compute" does, in the same order and with the same
// messages (the period checks are the desktop's own); only the steps limit is the command line's.
[[nodiscard]] EntryCheck CheckSearchEntries(const std::string& minimumText, const std::string& maximumText,
                                            const std::string& stepsText);

} // namespace quorix::cli
