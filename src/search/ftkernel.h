#pragma once

#include "search/workerpool.h"

#include <cstdint>
#include <span>

namespace quorix {

// The observations and frequency grid one FT evaluation runs over: grid point i has the angular
// frequency omegaLow + omegaStep x i for i = 0..steps, and every time is taken from baseTime.
struct FTGrid {
    std::span<const double> times; // the observations in file order, at least one
    double baseTime = 0.0;
    double omegaLow = 0.0;
    double omegaStep = 0.0;
    std::int32_t steps = 0;
};

// The lowest FT value of a grid and the first grid point that reaches it.
struct FTMinimum {
    std::int32_t index = -1;
    double value = 999999;
    double omega = 0.0;
    std::int32_t reevaluated = 0; // grid points evaluated with the reference formula to settle it
};

// The angular frequency of grid point `index`: omegaLow + omegaStep x index.
[[nodiscard]] double GridOmega(const FTGrid& grid, std::int32_t index);

// Whether every phase argument omega x (t - baseTime) of the grid is a finite number (and there is
// an observation): only then is every FT value finite. The kernels refuse other grids.
[[nodiscard]] bool GridSearchable(const FTGrid& grid);

// The FT value of one grid point exactly as the search defines it: the mean over the observations,
// in file order, of sin^2(omega x (t - baseTime)).
[[nodiscard]] double LiteralFTValue(const FTGrid& grid, std::int32_t index);

// Points begin..end - 1 of a block's values.
struct PointRange {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// What settles a fast block's minimum: every point of `points` whose fast value is not above
// `threshold` (a value that is not a number included) is replaced by the reference value, and the
// first strict minimum among them is kept in `best`. values[k] belongs to grid point first + k.
void ReevaluateNotAbove(const FTGrid& grid, std::int32_t first, std::span<double> values, PointRange points,
                        double threshold, FTMinimum& best);

// The reference evaluation: LiteralFTValue at every grid point, the first strict minimum taken.
// `values` must hold steps + 1 entries. A grid that is not searchable gives index -1 and leaves
// `values` untouched.
FTMinimum LiteralFTKernel(const FTGrid& grid, std::span<double> values);

// The reference over grid points first..last alone, into values[0..last - first], for a caller that
// walks a long grid block by block. Bad bounds and grids that are not searchable give index -1 and
// leave `values` untouched.
FTMinimum LiteralFTBlock(const FTGrid& grid, std::int32_t first, std::int32_t last, std::span<double> values);

// The evaluation "Compute" uses: FastFTBlock over the whole grid. `values` must hold steps + 1 entries.
FTMinimum FastFTKernel(const FTGrid& grid, std::span<double> values, WorkerPool& pool = WorkerPool::Shared());

// Grid points first..last (0 <= first <= last <= steps) into values[0..last - first], each within
// FastFTErrorBound of the reference, for a caller that walks a long grid block by block in bounded
// memory. The result is the reference's first strict minimum within the block, bit for bit, and the
// stored value of every point that could have been it is the reference's. Keeping the first strict
// minimum across blocks in grid order therefore gives the reference's best of the whole grid.
// The work is shared by the threads of `pool`; the values do not depend on how many there are.
// Bad bounds and grids that are not searchable give index -1 and leave `values` untouched.
FTMinimum FastFTBlock(const FTGrid& grid, std::int32_t first, std::int32_t last, std::span<double> values,
                      WorkerPool& pool = WorkerPool::Shared());

// A proven bound on |fast - reference| for any FT value of this grid, from the observations' step
// angles; infinity when none can be given, and then the fast evaluation is the reference.
[[nodiscard]] double FastFTErrorBound(const FTGrid& grid);

} // namespace quorix
