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
};

// Whether every phase argument omega x (t - baseTime) of the grid is a finite number (and there is
// an observation): only then is every FT value finite. The kernels refuse other grids.
[[nodiscard]] bool GridSearchable(const FTGrid& grid);

// The FT value of one grid point exactly as the search defines it: the mean over the observations,
// in file order, of sin^2(omega x (t - baseTime)).
[[nodiscard]] double LiteralFTValue(const FTGrid& grid, std::int32_t index);

// The reference evaluation: LiteralFTValue at every grid point, the first strict minimum taken.
// `values` must hold steps + 1 entries. A grid that is not searchable gives index -1 and leaves
// `values` untouched.
FTMinimum LiteralFTKernel(const FTGrid& grid, std::span<double> values);

// The evaluation "Compute" uses. Values agree with the reference within FastFTErrorBound; the minimum
// (index, value and frequency) is the reference's bit for bit, and so is the stored value of every
// grid point that could have been the minimum. Refuses the same grids as the reference, the same way.
// The work is shared by the threads of `pool`; the result does not depend on how many there are.
FTMinimum FastFTKernel(const FTGrid& grid, std::span<double> values, WorkerPool& pool = WorkerPool::Shared());

// A proven bound on |fast - reference| for any FT value of this grid.
[[nodiscard]] double FastFTErrorBound(const FTGrid& grid);

} // namespace quorix
