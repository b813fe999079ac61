#pragma once

#include "state/minimumtype.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorix {

// A finished FT search and what is known of its times: the input of the candidate list.
struct CandidateSearch {
    std::span<const double> times;      // any order; full Julian dates are fine
    std::span<const MinimumType> types; // one per time; empty (or of another length): no types
    double omegaLow = 0.0;              // grid point i has omegaLow + omegaStep x i, i = 0..steps
    double omegaStep = 0.0;
    std::int32_t steps = 0;
    std::span<const double> ftValues; // steps + 1 values of FT on that grid
    int count = 5;                    // how many distinct dips to list
};

// One dip of FT, as the grid shows it and as the exact formula places it.
struct Candidate {
    double period = 0.0; // of the grid point; for a relative of the best dip, its exact ratio
    double ft = 0.0;
    double refinedPeriod = 0.0; // the lowest FT near the grid point, to sub-grid precision
    double refinedFT = 0.0;
    double falseAlarm = 1.0; // chance of so deep a dip somewhere in the range from data without a period
    double halfWidth = 0.0;  // angular frequency from the bottom to half the depth, both sides' mean; 0: none
    bool gridTooCoarse =
        false;          // the grid step is wider than halfWidth: narrower dips may fall between points
    std::string family; // relation to the best dip in words: "P", "2P", "1-day alias of P", ...
    std::optional<double> typeAgreement; // share of typed minima that fit the period; absent without types
};

// The period the observer's rule picks: the longest significant period whose fit agrees with the
// minimum types. Absent when the types are missing or nothing agrees; the reason says why.
struct CandidatePick {
    std::optional<double> period;
    std::string reason;
    std::optional<Candidate> candidate; // the picked period with its figures, family and agreement
};

struct CandidateList {
    std::vector<Candidate> dips;         // deepest first, at most CandidateSearch::count
    bool gridTooCoarse = false;          // true when any listed dip is narrower than the grid step
    double independentFrequencies = 1.0; // the number of tries the false-alarm probabilities assume
    CandidatePick pick;
};

// A false-alarm probability at or below this makes a period significant for the pick.
inline constexpr double kSignificantFalseAlarm = 0.01;
// The share of typed minima a period must place right to agree with the types.
inline constexpr double kTypeAgreementNeeded = 0.9;

// The exact FT at one angular frequency: the mean of sin^2(omega x (t - origin)) over the times.
[[nodiscard]] double ExactFT(std::span<const double> times, double origin, double omega);

// The K deepest distinct dips of a finished search with their significance, refinement, family and
// type agreement, and the pick. Inputs of the wrong size or without times give an empty list whose
// pick says so; nothing here returns NaN.
[[nodiscard]] CandidateList ListCandidates(const CandidateSearch& search);

// The candidate list as a text table for people, with the pick and its reason below it.
[[nodiscard]] std::string FormatCandidateTable(const CandidateList& list);

} // namespace quorix
