#include "search/ftkernel.h"

#include "search/ftrecurrence.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quorix {

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Grid steps of one run of the recurrence from consistent seeds.
constexpr std::int32_t kSegment = 1024;
// Segments of one task: the first is seeded from directly computed sines and cosines, each later
// one from the earlier seeds rotated by kSegment steps.
constexpr std::int32_t kSegmentsPerTask = 16;
constexpr std::int32_t kTaskPoints = kSegment * kSegmentsPerTask;
// Observations whose recurrence state stays in the first-level cache while a segment is summed.
constexpr std::size_t kTile = 1024;

double LargestOffset(const FTGrid& grid) {
    double largest = 0;
    for (const double time : grid.times) {
        largest = std::max(largest, std::fabs(time - grid.baseTime));
    }
    return largest;
}

double LargestOmega(const FTGrid& grid) {
    // Rounding keeps the grid frequencies monotonic in the index: the largest is at an end.
    return std::max(std::fabs(grid.omegaLow), std::fabs(GridOmega(grid, grid.steps)));
}

// What every task of one evaluation shares, per observation j with offset d = t - baseTime: the
// step angle theta = 2 omegaStep d as 2 cos(theta) (the recurrence's factor) and as cos and sin
// (to step a seed back by one), and the angle of a whole segment as cos and sin. Lanes past the
// observations hold zeros.
struct Observations {
    std::size_t count;
    std::size_t lanes;
    std::vector<double> offsets, twiceCos, cosStep, sinStep, cosSegment, sinSegment;

    explicit Observations(const FTGrid& grid)
        : count(grid.times.size()),
          lanes((count + RecurrenceLanes() - 1) / RecurrenceLanes() * RecurrenceLanes()), offsets(lanes),
          twiceCos(lanes), cosStep(lanes), sinStep(lanes), cosSegment(lanes), sinSegment(lanes) {
        for (std::size_t j = 0; j < count; ++j) {
            offsets[j] = grid.times[j] - grid.baseTime;
            const double step = 2 * (grid.omegaStep * offsets[j]);
            cosStep[j] = std::cos(step);
            sinStep[j] = std::sin(step);
            twiceCos[j] = 2 * cosStep[j];
            // kSegment x omegaStep is exact, so this is kSegment x step exactly.
            const double segment = 2 * ((kSegment * grid.omegaStep) * offsets[j]);
            cosSegment[j] = std::cos(segment);
            sinSegment[j] = std::sin(segment);
        }
    }
};

// One thread's working arrays: the seed of the current segment as a unit vector, the recurrence's
// two latest terms, and the segment's sums.
struct Scratch {
    std::vector<double> cosSeed, sinSeed, prev, cur, sums;

    explicit Scratch(std::size_t lanes)
        : cosSeed(lanes), sinSeed(lanes), prev(lanes), cur(lanes), sums(kSegment + kRecurrenceSlack) {}
};

// Fast values of grid points first..last (at most kTaskPoints) into out[0..last - first]; returns
// the lowest of them, or minus infinity when one is not a number.
double FastTask(const FTGrid& grid, const Observations& obs, Scratch& scratch, std::int32_t first,
                std::int32_t last, double* out) {
    const double omega = GridOmega(grid, first);
    for (std::size_t j = 0; j < obs.count; ++j) {
        // The reference's own argument, doubled exactly.
        const double twice = 2 * (omega * obs.offsets[j]);
        scratch.cosSeed[j] = std::cos(twice);
        scratch.sinSeed[j] = std::sin(twice);
    }
    const double scale = 0.5 / static_cast<double>(obs.count);
    double lowest = kInfinity;
    for (std::int32_t start = first; start <= last; start += kSegment) {
        const int points = std::min(kSegment, last - start + 1);
        for (std::size_t j = 0; j < obs.count; ++j) {
            // The earlier term is the seed itself stepped back by one, so both terms carry the same
            // phase error and the recurrence does not amplify their difference.
            scratch.cur[j] = scratch.cosSeed[j];
            scratch.prev[j] = scratch.cosSeed[j] * obs.cosStep[j] + scratch.sinSeed[j] * obs.sinStep[j];
        }
        std::fill(scratch.sums.begin(), scratch.sums.end(), 0.0);
        for (std::size_t tile = 0; tile < obs.lanes; tile += kTile) {
            SumRecurrence(obs.twiceCos.data() + tile, scratch.prev.data() + tile, scratch.cur.data() + tile,
                          std::min(kTile, obs.lanes - tile), points, scratch.sums.data());
        }
        for (int k = 0; k < points; ++k) {
            const double value = 0.5 - scale * scratch.sums[k];
            out[start - first + k] = value;
            // A non-number makes the whole task doubtful: it is then searched in full.
            lowest = std::isnan(value) ? -kInfinity : std::min(lowest, value);
        }
        for (std::size_t j = 0; j < obs.count; ++j) {
            const double c = scratch.cosSeed[j];
            const double s = scratch.sinSeed[j];
            scratch.cosSeed[j] = c * obs.cosSegment[j] - s * obs.sinSegment[j];
            scratch.sinSeed[j] = s * obs.cosSegment[j] + c * obs.sinSegment[j];
        }
    }
    return lowest;
}

// The reference at grid points first.., into values, with its first strict minimum.
FTMinimum LiteralRange(const FTGrid& grid, std::int32_t first, std::span<double> values) {
    FTMinimum best;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto i = static_cast<std::int32_t>(first + static_cast<std::int64_t>(k));
        values[k] = LiteralFTValue(grid, i);
        if (values[k] < best.value) {
            best = {i, values[k], GridOmega(grid, i)};
        }
    }
    best.reevaluated = static_cast<std::int32_t>(values.size());
    return best;
}

bool BlockFits(const FTGrid& grid, std::int32_t first, std::int32_t last, std::span<double> values) {
    return 0 <= first && first <= last && last <= grid.steps &&
           values.size() == static_cast<std::size_t>(last - first) + 1;
}

// Any grid point whose reference value could be the block's lowest has a fast value within twice
// the bound of the fast minimum; evaluating exactly those in grid order finds the reference's first
// strict minimum. Only tasks whose own lowest value is that close can hold such points. A fast value
// that is not a number is re-evaluated too (its task reports minus infinity), and never is the minimum.
FTMinimum ExactMinimum(const FTGrid& grid, std::int32_t first, std::span<double> values,
                       const std::vector<double>& taskLowest, double bound) {
    double lowest = kInfinity;
    for (std::size_t task = 0; task < taskLowest.size(); ++task) {
        if (taskLowest[task] > -kInfinity) {
            lowest = std::min(lowest, taskLowest[task]);
        }
    }
    const double threshold = lowest + 2 * bound;
    FTMinimum best;
    for (std::size_t task = 0; task < taskLowest.size(); ++task) {
        if (taskLowest[task] > threshold) {
            continue;
        }
        const std::size_t end = std::min(values.size(), (task + 1) * kTaskPoints);
        ReevaluateNotAbove(grid, first, values, {task * kTaskPoints, end}, threshold, best);
    }
    return best;
}

} // namespace

double GridOmega(const FTGrid& grid, std::int32_t index) {
    return grid.omegaLow + grid.omegaStep * index;
}

bool GridSearchable(const FTGrid& grid) {
    if (grid.times.empty()) {
        return false;
    }
    for (const double time : grid.times) {
        if (!std::isfinite(time - grid.baseTime)) {
            return false;
        }
    }
    return std::isfinite(LargestOmega(grid) * LargestOffset(grid));
}

double LiteralFTValue(const FTGrid& grid, std::int32_t index) {
    const double omega = GridOmega(grid, index);
    double sum = 0;
    for (const double time : grid.times) {
        const double sine = std::sin(omega * (time - grid.baseTime));
        sum = sum + sine * sine;
    }
    return sum / static_cast<double>(grid.times.size());
}

void ReevaluateNotAbove(const FTGrid& grid, std::int32_t first, std::span<double> values, PointRange points,
                        double threshold, FTMinimum& best) {
    for (std::size_t k = points.begin; k < points.end; ++k) {
        if (!(values[k] > threshold)) {
            const auto i = static_cast<std::int32_t>(first + static_cast<std::int64_t>(k));
            values[k] = LiteralFTValue(grid, i);
            ++best.reevaluated;
            if (values[k] < best.value) {
                best.index = i;
                best.value = values[k];
                best.omega = GridOmega(grid, i);
            }
        }
    }
}

FTMinimum LiteralFTKernel(const FTGrid& grid, std::span<double> values) {
    if (!GridSearchable(grid)) {
        return {};
    }
    return LiteralRange(grid, 0, values.first(static_cast<std::size_t>(grid.steps) + 1));
}

FTMinimum LiteralFTBlock(const FTGrid& grid, std::int32_t first, std::int32_t last,
                         std::span<double> values) {
    if (!BlockFits(grid, first, last, values) || !GridSearchable(grid)) {
        return {};
    }
    return LiteralRange(grid, first, values);
}

// The fast value is 1/2 - (1/2n) sum_j c_j with c_j approximating cos(2x_j), x_j the reference's
// rounded argument at that grid point, since sin^2 x = (1 - cos 2x) / 2. Write e = kEpsilon and
// u = e/2; |c| <= 1.02 throughout, which holds because each observation's bound E_j below is
// required to stay under 0.01 (otherwise no bound is claimed). Per observation, with d = t - base,
// theta = 2 omegaStep d and Omega the largest grid frequency:
//   - arguments: the reference rounds i x omegaStep, the sum and the product with d (4u Omega|d| in
//     x, 8u in 2x), at the seed point and at the point itself, while the fast phase follows the exact
//     steps from the seed point: 8 e Omega |d|;
//   - seed: cos and sin of the task's first phase (e), then up to kSegmentsPerTask - 1 rotations by
//     psi = kSegment theta, each off by its rounded angle and cos/sin (1.42 (u psi + u) x 1.02) and
//     its rounded product (2.1 e): e (0.75 psi + 3.5) per rotation. The recurrence is linear, so an
//     error of the seed's phase or length reaches c unamplified;
//   - the earlier term: stepping the seed back by the rounded theta and its rounded cos and sin
//     misses the exact step by at most e (0.75 theta + 2.7). With a = 2 cos(theta) exact, an error
//     injected into the recurrence's terms reaches the term k steps later multiplied by
//     U_{k-1}(cos theta) = sin(k theta) / sin theta, at most min(k, 1/|sin theta|) in size;
//   - the steps: the stored factor misses 2 cos(theta) by 2u theta + e, and each step rounds its
//     product and difference (1.53 e without fusion, less with it): at most e (1.02 theta + 2.6) per
//     step, added up over the k < kSegment steps of a segment with the same factors:
//     sum_{n<k} min(n + 1, 1/|sin theta|) <= min(kSegment^2 / 2, kSegment / |sin theta|).
//     Observations with a step angle near 0 or near pi (mod 2 pi) grow like e k^2 here.
// |sin theta| is taken from below as the computed |sin| less its rounding and that of theta.
// The FT value is 1/(2n) times the sum of the E_j, plus the rounding of the fast sum (0.26 n e) and
// of the reference's own sines, squares and sum (0.5 n e + 2 e), within (n + 4) e. The bound is
// doubled for safety.
double FastFTErrorBound(const FTGrid& grid) {
    if (!GridSearchable(grid)) {
        return kInfinity;
    }
    const double omegaMax = LargestOmega(grid);
    constexpr double segment = kSegment;
    double total = 0;
    for (const double time : grid.times) {
        const double offset = std::fabs(time - grid.baseTime);
        const double theta = std::fabs(2 * (grid.omegaStep * offset));
        const double sinBelow = std::fabs(std::sin(theta)) - kEpsilon * (0.5 * theta + 1);
        const double amplification = sinBelow > 0 ? std::min(segment, 1 / sinBelow) : segment;
        const double growth =
            sinBelow > 0 ? std::min(segment * segment / 2, segment / sinBelow) : segment * segment / 2;
        const double arguments = 8 * kEpsilon * omegaMax * offset;
        const double seed = kEpsilon * (1 + (kSegmentsPerTask - 1) * (0.75 * segment * theta + 3.5));
        const double earlier = kEpsilon * (0.75 * theta + 2.7) * amplification;
        const double steps = kEpsilon * (1.02 * theta + 2.6) * growth;
        const double bound = arguments + seed + earlier + steps;
        if (!(bound <= 0.01)) {
            return kInfinity;
        }
        total += bound;
    }
    const double n = static_cast<double>(grid.times.size());
    return 2 * (total / (2 * n) + (n + 4) * kEpsilon);
}

FTMinimum FastFTBlock(const FTGrid& grid, std::int32_t first, std::int32_t last, std::span<double> values,
                      WorkerPool& pool) {
    if (!BlockFits(grid, first, last, values) || !GridSearchable(grid)) {
        return {};
    }
    const double bound = FastFTErrorBound(grid);
    // Past this the fast values say nothing (the doubled phases may even overflow): every point
    // would be re-evaluated anyway.
    if (!(bound < 1)) {
        return LiteralRange(grid, first, values);
    }
    const Observations obs(grid);
    std::vector<Scratch> scratch(pool.Slots(), Scratch(obs.lanes));
    const std::int64_t points = static_cast<std::int64_t>(last) - first + 1;
    std::vector<double> taskLowest(static_cast<std::size_t>((points + kTaskPoints - 1) / kTaskPoints));
    pool.Run(static_cast<std::int64_t>(taskLowest.size()), [&](std::int64_t task, unsigned slot) {
        const auto taskFirst = static_cast<std::int32_t>(first + task * kTaskPoints);
        const std::int32_t taskLast = std::min<std::int32_t>(last, taskFirst + (kTaskPoints - 1));
        taskLowest[static_cast<std::size_t>(task)] =
            FastTask(grid, obs, scratch[slot], taskFirst, taskLast, values.data() + (taskFirst - first));
    });
    return ExactMinimum(grid, first, values, taskLowest, bound);
}

FTMinimum FastFTKernel(const FTGrid& grid, std::span<double> values, WorkerPool& pool) {
    if (grid.steps < 0 || values.size() <= static_cast<std::size_t>(grid.steps)) {
        return {};
    }
    return FastFTBlock(grid, 0, grid.steps, values.first(static_cast<std::size_t>(grid.steps) + 1), pool);
}

} // namespace quorix
