#pragma once

#include "candidates/candidates.h"
#include "cli/clisearch.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorix::cli {

// The most FT values the candidate list keeps of one search: a grid of up to this many points is
// kept whole; a longer one is kept as the lowest value of each run of neighbouring points.
inline constexpr std::int32_t kMostKeptFTValues = 10'000'001;

// What the candidate list is given of the FT curve walked block by block, in bounded memory. Point
// j of the kept curve sits at grid point j x `stride` and holds the lowest value of the grid points
// nearest to it (those within half a stride), so that every dip keeps its depth and its grid point
// lies within one kept step of the kept point that stands for it.
class KeptCurve {
public:
    KeptCurve(const FTGrid& grid, std::int32_t mostKept = kMostKeptFTValues);

    void Add(std::int32_t first, std::span<const double> values);

    [[nodiscard]] std::int32_t Stride() const { return stride_; }
    [[nodiscard]] double OmegaLow() const { return omegaLow_; }
    [[nodiscard]] double OmegaStep() const { return omegaStep_; }
    [[nodiscard]] std::int32_t Steps() const { return static_cast<std::int32_t>(values_.size()) - 1; }
    [[nodiscard]] std::span<const double> Values() const { return values_; }

private:
    double omegaLow_ = 0.0;
    double omegaStep_ = 0.0;
    std::int32_t stride_ = 1;
    std::vector<double> values_;
};

// The candidate columns of the search's dips, and the pick.
struct CandidateColumns {
    // One per dip of the search, in its order: the candidate that is the same dip, or empty when
    // the candidate list holds none (it merges dips of one sampling window, which the walk lists
    // apart, and lists dips closer than 1/T, so a far shallow dip may lie beyond its length).
    std::vector<std::optional<Candidate>> dips;
    CandidatePick pick;
    double independentFrequencies = 1.0;
    bool gridTooCoarse = false; // some listed dip is narrower than the kept curve's step
    std::int32_t stride = 1;    // grid points per kept point; 1 when every value was kept
};

// Lists the candidates of the kept curve by the exact formula around each of its dips (types may
// be empty: unknown) and gives each dip of the search its own.
[[nodiscard]] CandidateColumns WorkOutCandidates(const CliSearch& search, const KeptCurve& curve,
                                                 std::span<const double> times,
                                                 std::span<const MinimumType> types = {});

} // namespace quorix::cli
