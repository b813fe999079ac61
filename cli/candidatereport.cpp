#include "cli/candidatereport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quorix::cli {

namespace {

// The candidate list is denser than the walk's dips (it keeps dips closer than 1/T apart), so it is
// asked for more of them, enough that the walk's listed dips are among them.
int CandidatesWanted(std::size_t walkDips) {
    return 4 * static_cast<int>(walkDips) + 10;
}

double CandidateOmega(const Candidate& candidate) {
    return 2 * std::numbers::pi / candidate.refinedPeriod;
}

} // namespace

KeptCurve::KeptCurve(const FTGrid& grid, std::int32_t mostKept) : omegaLow_(grid.omegaLow) {
    const std::int64_t points = static_cast<std::int64_t>(grid.steps) + 1;
    const std::int64_t kept = std::max<std::int32_t>(mostKept, 1);
    stride_ = static_cast<std::int32_t>((points + kept - 1) / kept);
    omegaStep_ = grid.omegaStep * stride_;
    values_.assign(static_cast<std::size_t>(grid.steps / stride_) + 1,
                   std::numeric_limits<double>::infinity());
}

void KeptCurve::Add(std::int32_t first, std::span<const double> values) {
    const std::int64_t half = stride_ / 2;
    const std::size_t last = values_.size() - 1;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::int64_t index = first + static_cast<std::int64_t>(k);
        const auto kept = std::min(static_cast<std::size_t>((index + half) / stride_), last);
        values_[kept] = std::min(values_[kept], values[k]);
    }
}

CandidateColumns WorkOutCandidates(const CliSearch& search, const KeptCurve& curve,
                                   std::span<const double> times, std::span<const MinimumType> types) {
    const CandidateList list =
        ListCandidates({times, types, curve.OmegaLow(), curve.OmegaStep(), curve.Steps(), curve.Values(),
                        CandidatesWanted(search.dips.size())});
    CandidateColumns columns;
    columns.pick = list.pick;
    columns.independentFrequencies = list.independentFrequencies;
    columns.gridTooCoarse = list.gridTooCoarse;
    columns.stride = curve.Stride();
    // A candidate is a dip of the walk when its refined frequency lies within the dip width 1/T of
    // the dip's grid point, or its grid point within one kept step of it; each is given once, to
    // the deepest dip it fits.
    const double dipWidth = search.timeSpan > 0 ? search.entries.twoPi / search.timeSpan
                                                : std::numeric_limits<double>::infinity();
    std::vector<bool> taken(list.dips.size(), false);
    for (const FTDip& dip : search.dips) {
        std::optional<Candidate> match;
        for (std::size_t k = 0; k < list.dips.size() && !match; ++k) {
            const Candidate& candidate = list.dips[k];
            const double gridOmega = 2 * std::numbers::pi / candidate.period;
            const bool same = std::abs(CandidateOmega(candidate) - dip.omega) <= dipWidth ||
                              std::abs(gridOmega - dip.omega) <= curve.OmegaStep();
            if (!taken[k] && same) {
                taken[k] = true;
                match = candidate;
            }
        }
        columns.dips.push_back(match);
    }
    return columns;
}

} // namespace quorix::cli
