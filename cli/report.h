#pragma once

#include "cli/clisearch.h"

#include <string>
#include <vector>

namespace quorix::cli {

// What the program prints: the data, the search and what was asked for besides.
struct Report {
    std::string file;
    std::int32_t observations = 0;
    const CliSearch* search = nullptr;
};

// The report for a person: aligned lines, periods at full precision.
[[nodiscard]] std::string TextReport(const Report& report);

// The same report as one JSON object.
[[nodiscard]] std::string JsonReport(const Report& report);

// The warning printed on stderr when the grid is too coarse for the data, or empty.
[[nodiscard]] std::string CoarseGridWarning(const CliSearch& search);

} // namespace quorix::cli
