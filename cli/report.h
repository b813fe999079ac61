#pragma once

#include "cli/clisearch.h"
#include "cli/candidatereport.h"
#include "ocdiagram/ephemerisfit.h"
#include "ocdiagram/occompute.h"

#include <optional>
#include <string>
#include <vector>

namespace quorix::cli {

// The O-C diagram of a trial period as the O-C window draws it, and the ephemeris fits.
struct OCReport {
    OCDiagram diagram;
    EphemerisReport ephemeris;
    double baseTime = 0.0;
};

// The O-C report of `period` over the times, cycle 0 at the base time; types and timing errors may
// be empty (unknown). Empty when ComputeOC refuses the period.
[[nodiscard]] std::optional<OCReport> MakeOCReport(std::span<const double> times, double baseTime,
                                                   double period, std::span<const MinimumType> types = {},
                                                   std::span<const double> errors = {});

// What the program prints: the data, the search and what was asked for besides.
struct Report {
    std::string file;
    std::int32_t observations = 0;
    const CliSearch* search = nullptr;
    std::optional<OCReport> oc;
    std::vector<std::string> aliasLines;        // as the alias window shows them
    std::optional<CandidateColumns> candidates; // the dips' candidate columns, when worked out
    bool pickAsked = false;                     // --pick: say the period the rule picks
};

// The report for a person: aligned lines, periods at full precision.
[[nodiscard]] std::string TextReport(const Report& report);

// The same report as one JSON object.
[[nodiscard]] std::string JsonReport(const Report& report);

// The warning printed on stderr when the grid is too coarse for the data, or empty.
[[nodiscard]] std::string CoarseGridWarning(const CliSearch& search);

} // namespace quorix::cli
