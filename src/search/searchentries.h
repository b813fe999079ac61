#pragma once

#include "search/ftkernel.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorix {

// The search's pi, to the ten digits its grids have always been built with.
inline constexpr double kSearchPi = 3.1415926535;
inline constexpr double kSearchTwoPi = kSearchPi * 2;

// The limits of the entries, whoever types them.
inline constexpr double kShortestPeriod = 0.05;
inline constexpr double kLongestPeriod = 100;
inline constexpr std::int32_t kFewestSteps = 1000;

// The three search entries as typed: shortest and longest trial period in days, number of steps.
struct SearchEntryTexts {
    std::string minimum;
    std::string maximum;
    std::string steps;
};

// The search range and grid size as checked and read.
struct SearchEntries {
    double twoPi = kSearchTwoPi;
    double periodMin = 0.0;
    double periodMax = 0.0;
    std::int32_t steps = 0;
};

// The outcome of reading the entries in order. Each value is there once read, up to and including
// the first entry that fails (the steps as the nearest value a 32-bit field holds); `entries` only
// when all three pass, `message` only when one fails.
struct EntryCheck {
    std::optional<double> periodMin;
    std::optional<double> periodMax;
    std::optional<std::int32_t> steps;
    std::optional<SearchEntries> entries;
    std::string message;
};

// Checks the entries in order, the first failure giving the message; `mostSteps` is the caller's
// largest grid.
[[nodiscard]] EntryCheck CheckSearchEntries(const SearchEntryTexts& texts, std::int32_t mostSteps);

// The highest angular frequency of the entries' grid, 2 pi / periodMin.
[[nodiscard]] double OmegaHigh(const SearchEntries& entries);

// The frequency grid of the entries over `times` (which must outlive it): omegaLow = 2 pi / periodMax,
// the step (omegaHigh - omegaLow) / steps.
[[nodiscard]] FTGrid MakeGrid(std::span<const double> times, double baseTime, const SearchEntries& entries);

} // namespace quorix
