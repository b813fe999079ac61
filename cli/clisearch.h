#pragma once

#include "cli/ftwalk.h"
#include "search/searchentries.h"

#include <span>
#include <string>
#include <vector>

namespace quorix::cli {

// The command line's steps limit: far beyond the desktop's, since the grid is walked in blocks.
inline constexpr std::int32_t kMostCliSteps = 100'000'000;

// What one command-line search found.
struct CliSearch {
    SearchEntries entries;
    FTGrid grid;
    double timeSpan = 0.0;
    FTMinimum best;
    double bestPeriod = 0.0;
    double resolution = 0.0; // period step of the grid at the best point
    bool coarse = false;     // frequency step above a fifth of 1/T
    double stepsForFine = 0.0;
    std::vector<FTDip> dips;
    bool stopped = false; // the walk was stopped before its end: nothing above means anything
};

// Walks the grid once, collecting the best point, the `top` deepest dips and whatever `also`
// takes from the blocks (the CSV rows, the plot's curve).
[[nodiscard]] CliSearch RunCliSearch(std::span<const double> times, double baseTime,
                                     const SearchEntries& entries, int top, FTKernelChoice kernel,
                                     const FTBlockConsumer& also, const WalkControl& control = {});

// The shortest decimal text that reads back as the same double.
[[nodiscard]] std::string ExactText(double value);

// The CSV file's header line and the rows of one block (RFC 4180: CR LF line ends).
[[nodiscard]] std::string CsvHeader();
[[nodiscard]] std::string CsvRows(const FTGrid& grid, double twoPi, std::int32_t first,
                                  std::span<const double> values);

} // namespace quorix::cli
