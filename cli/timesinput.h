#pragma once

#include "input/tablereader.h"
#include "state/minimumtype.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorix::cli {

// The most times the command line reads from one file.
inline constexpr std::int32_t kMostCliTimes = 100'000;

// The times of one file as the command line searches them, or the reason there are none.
struct TimesInput {
    std::vector<double> times;      // in file order
    std::vector<MinimumType> types; // one per time, kUnknown where the file says nothing
    std::vector<double> errors;     // one per time, days, 0 where the file says nothing
    double baseTime = 0.0;          // the lowest time: the origin of every phase
    std::string columns;            // the columns a table was read from; empty for a plain file
    std::vector<std::string> warnings;
    std::string error; // empty when the times were read; else the one-line reason, file name first

    [[nodiscard]] bool Loaded() const { return error.empty(); }
};

// Reads the file `path`: a plain file of times exactly as "Open" reads it, any other table through
// the table reader. `table` holds the user's column, separator and skipped-line choices; `tableAsked`
// says the user gave one, and then even a plain file is read as a table. A plain file whose first
// field only counts its records is refused, since its times are in a later field.
[[nodiscard]] TimesInput ReadTimesInput(const std::string& path, const TableOptions& table, bool tableAsked);

} // namespace quorix::cli
