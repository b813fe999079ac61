#include "cli/ftwalk.h"

#include "search/nufftkernel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace quorix::cli {

FTKernelChoice ResolveKernel(FTKernelChoice choice, const FTGrid& grid) {
    if (choice != FTKernelChoice::kAuto) {
        return choice;
    }
    return PreferNufft(grid.times.size(), std::int64_t{grid.steps} + 1) ? FTKernelChoice::kNufft
                                                                        : FTKernelChoice::kFast;
}

FTMinimum WalkFTGrid(const FTGrid& grid, FTKernelChoice kernel, const FTBlockConsumer& consume,
                     std::int32_t blockPoints, const WalkControl& control) {
    // Phases that overflow make every value meaningless: nothing is handed on.
    if (!GridSearchable(grid) || blockPoints < 1) {
        return {};
    }
    WorkerPool& pool = control.pool != nullptr ? *control.pool : WorkerPool::Shared();
    const std::int32_t bufferPoints = std::min(blockPoints, grid.steps + 1);
    kernel = ResolveKernel(kernel, grid);
    // The transform's spreading weights are worked out once for the whole walk.
    std::unique_ptr<NufftPlan> plan;
    if (kernel == FTKernelChoice::kNufft) {
        plan = std::make_unique<NufftPlan>(grid, bufferPoints);
    }
    std::vector<double> buffer(static_cast<std::size_t>(bufferPoints));
    FTMinimum best;
    for (std::int32_t first = 0; first <= grid.steps; first += blockPoints) {
        if (control.stop != nullptr && control.stop->load()) {
            break;
        }
        const std::int32_t last = first + std::min(blockPoints - 1, grid.steps - first);
        const std::span<double> values(buffer.data(), static_cast<std::size_t>(last - first) + 1);
        // Each block's minimum is the literal formula's first strict one within it, so keeping the
        // first strict minimum across the blocks in grid order gives the literal best of the grid.
        FTMinimum block;
        switch (kernel) {
        case FTKernelChoice::kLiteral:
            block = LiteralFTBlock(grid, first, last, values);
            break;
        case FTKernelChoice::kNufft:
            block = plan->Block(first, last, values, pool);
            break;
        default:
            block = FastFTBlock(grid, first, last, values, pool);
            break;
        }
        if (block.value < best.value) {
            best = block;
        }
        consume(first, values);
    }
    return best;
}

double TimeSpan(std::span<const double> times) {
    if (times.empty()) {
        return 0.0;
    }
    const auto [lowest, highest] = std::minmax_element(times.begin(), times.end());
    return *highest - *lowest;
}

double PeriodResolution(const FTGrid& grid, double twoPi, std::int32_t index) {
    const std::int32_t neighbour = index < grid.steps ? index + 1 : index - 1;
    return std::fabs(twoPi / GridOmega(grid, index) - twoPi / GridOmega(grid, neighbour));
}

bool GridTooCoarse(const FTGrid& grid, double twoPi, double timeSpan) {
    return timeSpan > 0 && grid.omegaStep / twoPi > 0.2 / timeSpan;
}

double StepsForFifthOfDipWidth(const FTGrid& grid, double twoPi, double timeSpan) {
    const double frequencyRange = grid.omegaStep * grid.steps / twoPi;
    return std::ceil(frequencyRange * 5 * timeSpan);
}

DipCollector::DipCollector(const FTGrid& grid, double twoPi, double timeSpan, int count)
    : grid_(grid), dipWidth_(timeSpan > 0 ? twoPi / timeSpan : std::numeric_limits<double>::infinity()),
      count_(std::max(count, 0)), kept_(static_cast<std::size_t>(std::max(64, 8 * count_))) {}

namespace {

// Deeper first, the earlier point first among equals.
bool Deeper(const FTDip& a, const FTDip& b) {
    return a.value < b.value || (a.value == b.value && a.index < b.index);
}

} // namespace

void DipCollector::Add(std::int32_t first, std::span<const double> values) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        const double value = values[k];
        if (seen_ > 0) {
            // The previous point is a local minimum when it lies below its left neighbour (or has
            // none) and not above this one; a flat bottom counts once, at its left end.
            const bool belowLeft = seen_ == 1 || previous_ < beforePrevious_;
            if (belowLeft && previous_ <= value) {
                Offer(seen_ - 1, previous_);
            }
        }
        beforePrevious_ = previous_;
        previous_ = value;
        seen_ = first + static_cast<std::int32_t>(k) + 1;
    }
}

// Neighbouring dips of one cell of the dip width are one dip, of which the deepest is kept; the
// cells' deepest points compete for a bounded number of places.
void DipCollector::Offer(std::int32_t index, double value) {
    const double offset = grid_.omegaStep * index;
    const auto cell =
        std::isfinite(dipWidth_) ? static_cast<std::int64_t>(std::floor(offset / dipWidth_)) : 0;
    if (cell != cell_) {
        CloseCell();
        cell_ = cell;
    }
    const FTDip dip{index, GridOmega(grid_, index), value};
    if (cellBest_.index < 0 || Deeper(dip, cellBest_)) {
        cellBest_ = dip;
    }
}

void DipCollector::CloseCell() {
    if (cellBest_.index < 0) {
        return;
    }
    candidates_.push_back(cellBest_);
    std::push_heap(candidates_.begin(), candidates_.end(), Deeper);
    if (candidates_.size() > kept_) {
        std::pop_heap(candidates_.begin(), candidates_.end(), Deeper);
        candidates_.pop_back();
    }
    cellBest_.index = -1;
}

std::vector<FTDip> DipCollector::Finish(const FTMinimum& best) {
    if (seen_ > 0 && (seen_ == 1 || previous_ < beforePrevious_)) {
        Offer(seen_ - 1, previous_);
    }
    CloseCell();
    for (FTDip& dip : candidates_) {
        dip.value = LiteralFTValue(grid_, dip.index);
    }
    if (best.index >= 0) {
        candidates_.push_back({best.index, best.omega, best.value});
    }
    std::sort(candidates_.begin(), candidates_.end(), Deeper);
    std::vector<FTDip> dips;
    for (const FTDip& candidate : candidates_) {
        if (dips.size() == static_cast<std::size_t>(count_)) {
            break;
        }
        const bool sameDip = std::any_of(dips.begin(), dips.end(), [&](const FTDip& taken) {
            return std::fabs(taken.omega - candidate.omega) < dipWidth_;
        });
        if (!sameDip) {
            dips.push_back(candidate);
        }
    }
    candidates_.clear();
    return dips;
}

} // namespace quorix::cli
