#include "search/ftkernel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace quorix {

namespace {

// Grid steps between re-seeds of the rotated phases from directly computed sines and cosines.
constexpr std::int32_t kReseedInterval = 1024;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

double GridOmega(const FTGrid& grid, std::int32_t index) {
    return grid.omegaLow + grid.omegaStep * index;
}

// Grid points advanced together per pass over the observations, so each observation's phase stays
// in registers across them and only the running sums go through memory.
constexpr int kBlock = 16;
// Observations handled side by side in one vector, and vectors rotated together so that their
// independent rotations overlap in the processor. The phase arrays are padded with zero vectors,
// which add nothing to the sums.
constexpr std::size_t kWidth = 4;
constexpr std::size_t kGroups = 2;
constexpr std::size_t kStride = kWidth * kGroups;
using Lanes = double __attribute__((vector_size(kWidth * sizeof(double))));

// Clones for processors with AVX2 and FMA and for any other x86-64, chosen when the program is
// loaded; one plain build on other processors, or when QUORIX_NO_CLONES asks for it.
#if defined(__x86_64__) && !defined(QUORIX_NO_CLONES)
#define QUORIX_CLONES __attribute__((target_clones("arch=haswell", "default")))
#else
#define QUORIX_CLONES
#endif

// Sums of cos(2 omega dt) over the observations for `count` consecutive grid points, advancing every
// phase by one step after each.
QUORIX_CLONES void SumBlock(double* __restrict c, double* __restrict s, const double* __restrict cd,
                            const double* __restrict sd, std::size_t padded, int count,
                            double* __restrict sums) {
    Lanes totals[kBlock] = {};
    for (std::size_t j = 0; j < padded; j += kStride) {
        Lanes cosPhase[kGroups], sinPhase[kGroups], cosStep[kGroups], sinStep[kGroups];
        std::memcpy(cosPhase, c + j, sizeof cosPhase);
        std::memcpy(sinPhase, s + j, sizeof sinPhase);
        std::memcpy(cosStep, cd + j, sizeof cosStep);
        std::memcpy(sinStep, sd + j, sizeof sinStep);
        for (int b = 0; b < count; ++b) {
            Lanes total = totals[b];
            for (std::size_t g = 0; g < kGroups; ++g) {
                total += cosPhase[g];
                const Lanes cosNext = cosPhase[g] * cosStep[g] - sinPhase[g] * sinStep[g];
                sinPhase[g] = cosPhase[g] * sinStep[g] + sinPhase[g] * cosStep[g];
                cosPhase[g] = cosNext;
            }
            totals[b] = total;
        }
        std::memcpy(c + j, cosPhase, sizeof cosPhase);
        std::memcpy(s + j, sinPhase, sizeof sinPhase);
    }
    for (int b = 0; b < count; ++b) {
        double sum = 0;
        for (std::size_t k = 0; k < kWidth; ++k) {
            sum += totals[b][k];
        }
        sums[b] = sum;
    }
}

// Per-observation state of one thread: the phase 2 omega dt as a unit vector, and its step rotation.
struct Phases {
    std::size_t count;
    std::size_t padded;
    std::vector<double> offsets, cosPhase, sinPhase, cosStep, sinStep;

    explicit Phases(const FTGrid& grid)
        : count(grid.times.size()), padded((count + kStride - 1) / kStride * kStride), offsets(padded),
          cosPhase(padded), sinPhase(padded), cosStep(padded), sinStep(padded) {
        for (std::size_t j = 0; j < count; ++j) {
            offsets[j] = grid.times[j] - grid.baseTime;
            const double step = 2 * grid.omegaStep * offsets[j];
            cosStep[j] = std::cos(step);
            sinStep[j] = std::sin(step);
        }
    }

    // Phases of grid point `index` from the same rounded argument the reference uses.
    void Seed(const FTGrid& grid, std::int32_t index) {
        const double omega = GridOmega(grid, index);
        for (std::size_t j = 0; j < count; ++j) {
            const double twice = 2 * (omega * offsets[j]);
            cosPhase[j] = std::cos(twice);
            sinPhase[j] = std::sin(twice);
        }
    }

    void Sum(int points, double* sums) {
        SumBlock(cosPhase.data(), sinPhase.data(), cosStep.data(), sinStep.data(), padded, points, sums);
    }
};

void FastRange(const FTGrid& grid, std::span<double> values, std::int32_t first, std::int32_t last) {
    Phases phases(grid);
    const double scale = 0.5 / static_cast<double>(grid.times.size());
    double sums[kBlock];
    for (std::int32_t i = first; i <= last;) {
        const std::int32_t sinceSeed = (i - first) % kReseedInterval;
        if (sinceSeed == 0) {
            phases.Seed(grid, i);
        }
        const int points = std::min({kBlock, last - i + 1, kReseedInterval - sinceSeed});
        phases.Sum(points, sums);
        for (int b = 0; b < points; ++b) {
            values[i + b] = 0.5 - scale * sums[b];
        }
        i += points;
    }
}

// Grid points per task: a whole number of re-seed intervals, so the values do not depend on how
// many threads share the work.
constexpr std::int32_t kTaskPoints = 16 * kReseedInterval;

void FastValues(const FTGrid& grid, std::span<double> values, WorkerPool& pool) {
    const std::int32_t points = grid.steps + 1;
    pool.Run((points + kTaskPoints - 1) / kTaskPoints, [&](std::int64_t task, unsigned) {
        const auto first = static_cast<std::int32_t>(task * kTaskPoints);
        FastRange(grid, values, first, std::min(points - 1, first + kTaskPoints - 1));
    });
}

} // namespace

bool GridSearchable(const FTGrid& grid) {
    if (grid.times.empty()) {
        return false;
    }
    double offsetMax = 0;
    for (const double time : grid.times) {
        const double offset = std::fabs(time - grid.baseTime);
        if (!std::isfinite(offset)) {
            return false;
        }
        offsetMax = std::max(offsetMax, offset);
    }
    // The grid frequencies rise or fall monotonically with the index even after rounding, so the
    // largest argument belongs to one of the two ends.
    const double omegaMax = std::max(std::fabs(grid.omegaLow), std::fabs(GridOmega(grid, grid.steps)));
    return std::isfinite(omegaMax * offsetMax);
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

FTMinimum LiteralFTKernel(const FTGrid& grid, std::span<double> values) {
    FTMinimum best;
    if (!GridSearchable(grid)) {
        return best;
    }
    for (std::int32_t i = 0; i <= grid.steps; ++i) {
        values[i] = LiteralFTValue(grid, i);
        if (values[i] < best.value) {
            best = {i, values[i], GridOmega(grid, i)};
        }
    }
    return best;
}

// Each term differs from the reference by at most the difference of their sine arguments, since
// sin^2 and (1 - cos 2x) / 2 change by at most |dx| per radian. The arguments differ by
//   - the reference's rounding of omega (two roundings) and of omega x dt: 3 eps omegaMax dtMax,
//     counted twice, since the fast phases start from a reference argument and are compared with another;
//   - the rotation over at most kReseedInterval steps: each step rounds the step angle (eps |step|)
//     and the complex product (at most 4 eps in angle and length);
// and the sum of n terms and its scaling add (n + 4) eps. The bound is doubled for safety.
double FastFTErrorBound(const FTGrid& grid) {
    double offsetMax = 0;
    for (const double time : grid.times) {
        offsetMax = std::max(offsetMax, std::fabs(time - grid.baseTime));
    }
    const double omegaMax = std::max(std::fabs(grid.omegaLow), std::fabs(GridOmega(grid, grid.steps)));
    const double stepAngle = 2 * std::fabs(grid.omegaStep) * offsetMax;
    const double arguments = 6 * kEpsilon * omegaMax * offsetMax;
    const double rotation = kReseedInterval * kEpsilon * (stepAngle + 4);
    const double summation = (static_cast<double>(grid.times.size()) + 4) * kEpsilon;
    return 2 * (arguments + rotation + summation);
}

FTMinimum FastFTKernel(const FTGrid& grid, std::span<double> values, WorkerPool& pool) {
    if (!GridSearchable(grid)) {
        return {};
    }
    const double bound = FastFTErrorBound(grid);
    // Past this the fast values say nothing (the phases may even overflow when doubled): every
    // point would be re-evaluated anyway.
    if (!(bound < 1)) {
        return LiteralFTKernel(grid, values);
    }
    FastValues(grid, values, pool);
    double fastMinimum = std::numeric_limits<double>::infinity();
    for (std::int32_t i = 0; i <= grid.steps; ++i) {
        fastMinimum = std::min(fastMinimum, values[i]);
    }
    // Any grid point whose reference value could be the lowest lies within twice the bound of the
    // fast minimum; evaluating those exactly in grid order finds the reference's first minimum. A
    // value that is not a number is re-evaluated too, and is never the minimum.
    const double threshold = fastMinimum + 2 * bound;
    FTMinimum best;
    for (std::int32_t i = 0; i <= grid.steps; ++i) {
        if (!(values[i] > threshold)) {
            values[i] = LiteralFTValue(grid, i);
            if (values[i] < best.value) {
                best = {i, values[i], GridOmega(grid, i)};
            }
        }
    }
    return best;
}

} // namespace quorix
