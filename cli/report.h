#pragma once

#include "cli/clisearch.h"
#include "cli/ephemeris.h"

#include <string>
#include <vector>

namespace quorix::cli {

// The desktop's O-C diagram of a trial period, and the ephemeris its line gives.
struct OCReport {
    double period = 0.0;
    std::vector<double> cycles, oc; // one entry per observation, in file order
    bool fitDefined = false;
    double intercept = 0.0, slope = 0.0;
    double rms = 0.0; // as the O-C window shows it
    std::optional<Ephemeris> ephemeris;
    double baseTime = 0.0;
};

// What the program prints: the data, the search and what was asked for besides.
struct Report {
    std::string file;
    std::int32_t observations = 0;
    const CliSearch* search = nullptr;
    std::optional<OCReport> oc;
    std::vector<std::string> aliasLines; // as the alias window shows them
};

// The report for a person: aligned lines, periods at full precision.
[[nodiscard]] std::string TextReport(const Report& report);

// The same report as one JSON object.
[[nodiscard]] std::string JsonReport(const Report& report);

// The warning printed on stderr when the grid is too coarse for the data, or empty.
[[nodiscard]] std::string CoarseGridWarning(const CliSearch& search);

} // namespace quorix::cli
