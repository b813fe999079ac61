#pragma once

#include "cli/clisearch.h"
#include "cli/ephemeris.h"
#include "ocdiagram/occompute.h"

#include <optional>
#include <string>
#include <vector>

namespace quorix::cli {

// The O-C diagram of a trial period, and the ephemeris its line gives.
struct OCReport {
    OCDiagram diagram;
    std::optional<Ephemeris> ephemeris;
    double baseTime = 0.0;
};

// The O-C report of `period` over the times; empty when ComputeOC refuses the period.
[[nodiscard]] std::optional<OCReport> MakeOCReport(std::span<const double> times, double baseTime,
                                                   double period);

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
