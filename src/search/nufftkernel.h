#pragma once

#include "search/ftkernel.h"
#include "search/workerpool.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quorix {

// The most grid points one transform covers. Its grid of 2^19 complex numbers (8 MiB) is the most a
// thread working on a block holds beyond the observations; longer blocks are cut into pieces, of
// fewer points for fewer observations, where re-spreading them per piece costs little and a smaller
// transform stays in the cache.
inline constexpr std::int32_t kNufftMaxBlockPoints = 1 << 18;

// The FT values of a grid as a non-uniform fast Fourier transform. With d_j = t_j - baseTime and
// omega_i = omegaLow + omegaStep x i, FT_i = 1/2 - (1/2n) Re sum_j exp(2 i omega_i d_j): around a
// block's middle point m this is a type-1 transform of the weights exp(2 i omega_m d_j) at the
// positions 2 omegaStep d_j modulo 2 pi. Each weight is spread onto a periodic grid twice as fine as
// the block with a compact "exponential of semicircle" kernel, the grid transformed with FFTW and
// divided by the kernel's Fourier transform. The cost of a block is O(n w + K log K) for n
// observations, kernel width w and K points, nearly independent of n; the spreading weights are
// worked out once per plan, so a walk over a long grid makes one plan and asks it block by block.
class NufftPlan {
public:
    // A plan for blocks of up to `blockPoints` points (at most kNufftMaxBlockPoints are transformed
    // together) of `grid`, whose times must outlive the plan.
    NufftPlan(const FTGrid& grid, std::int32_t blockPoints);
    NufftPlan(const NufftPlan&) = delete;
    NufftPlan& operator=(const NufftPlan&) = delete;
    ~NufftPlan();

    // Grid points first..last into values[0..last - first], with the same promise as FastFTBlock:
    // each value within ErrorBound() of the reference, the block's first strict minimum the
    // reference's bit for bit, and every point that could have been it holds the reference's value.
    // Pieces of a long block are shared by the threads of `pool`. Bad bounds and grids that are not
    // searchable give index -1 and leave `values` untouched.
    FTMinimum Block(std::int32_t first, std::int32_t last, std::span<double> values,
                    WorkerPool& pool = WorkerPool::Shared()) const;

    // A bound on |fast - reference| for any value of this plan; never above NufftErrorBound(grid).
    [[nodiscard]] double ErrorBound() const { return bound_; }

    // The bytes one transform holds while it runs (one per thread that works on a block), and those
    // the plan keeps for its whole life (the spreading weights of every observation).
    [[nodiscard]] std::size_t TransformBytes() const;
    [[nodiscard]] std::size_t PlanBytes() const;

private:
    struct Transform;

    [[nodiscard]] std::size_t TransformCells() const;
    void Piece(std::int32_t first, std::int32_t last, double* out, Transform& work) const;

    FTGrid grid_;
    bool searchable_ = false;
    double bound_;
    std::int32_t piecePoints_ = 1;      // grid points of one transform
    std::int32_t size_ = 0;             // the fine grid's length
    std::vector<std::int32_t> cells_;   // per observation: the first fine-grid cell it reaches
    std::vector<double> weights_;       // per observation: the kernel at the cells it reaches
    std::vector<double> offsets_;       // per observation: t - baseTime
    std::vector<double> deconvolution_; // per |k|: 1 / (the kernel's Fourier transform at mode k)
    std::shared_ptr<void> fftPlan_;
};

// NufftPlan(grid, last - first + 1).Block(first, last, values, pool): the same contract as FastFTBlock.
FTMinimum NufftFTBlock(const FTGrid& grid, std::int32_t first, std::int32_t last, std::span<double> values,
                       WorkerPool& pool = WorkerPool::Shared());

// A bound on |fast - reference| for every value any plan of this grid gives; infinity when the grid
// is not searchable. It adds up, per value: the kernel's own error (measured once over every
// position and mode a transform uses, doubled), the rounding of the phases (the reference's and the
// transform's), of the spreading, of the transform and of the reference's sum, and is then doubled.
[[nodiscard]] double NufftErrorBound(const FTGrid& grid);

// Whether the transform is expected to be faster than the recurrence (FastFTBlock) for
// `observations` times and `points` grid points, from timings on a two-core machine: from about
// 200 times on grids of a million points and more, 450 from 50,000 points, 700 from 10,000, 2,000
// from 3,000, never below.
[[nodiscard]] bool PreferNufft(std::size_t observations, std::int64_t points);

} // namespace quorix
