#pragma once

#include "search/ftkernel.h"
#include "search/workerpool.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace quorix::cli {

// Which evaluation the walk runs: the recurrence "Compute" uses (kFast), the non-uniform fast
// Fourier transform, whichever of the two is expected to be faster for the data and grid (kAuto), or
// the literal formula at every point (kept for timing the others against it).
enum class FTKernelChoice { kAuto, kFast, kNufft, kLiteral };

// What a walk shares with the rest of the process: the threads a block is spread over, and a flag
// that, once set (by a signal handler, say), ends the walk before its next block.
struct WalkControl {
    WorkerPool* pool = nullptr; // the process's shared pool when null
    const std::atomic<bool>* stop = nullptr;
};

// Grid points evaluated together: their values are all the walk holds of the curve at a time.
inline constexpr std::int32_t kWalkBlockPoints = 1 << 16;

// Receives the values of grid points first, first + 1, ... in grid order, block after block.
using FTBlockConsumer = std::function<void(std::int32_t first, std::span<const double> values)>;

// Evaluates the whole grid block by block in bounded memory, hands every block to `consume` and
// returns the first strict minimum of the grid, bit for bit the literal formula's. The values handed
// on are those "Compute" stores: within the kernel's error bound, exact wherever the minimum could be.
// A grid that is not searchable (or a block size below 1) gives index -1 and hands nothing on. A walk
// stopped by `control.stop` returns the best of the blocks it finished, which means nothing.
FTMinimum WalkFTGrid(const FTGrid& grid, FTKernelChoice kernel, const FTBlockConsumer& consume,
                     std::int32_t blockPoints = kWalkBlockPoints, const WalkControl& control = {});

// The kernel `choice` comes to for `grid`: kAuto becomes kNufft or kFast by the expected speed.
[[nodiscard]] FTKernelChoice ResolveKernel(FTKernelChoice choice, const FTGrid& grid);

// The time span T of the observations, last minus first, in days.
[[nodiscard]] double TimeSpan(std::span<const double> times);

// The period step between grid point `index` and its neighbour towards higher frequency (towards
// lower at the last point): how finely the grid resolves periods there.
[[nodiscard]] double PeriodResolution(const FTGrid& grid, double twoPi, std::int32_t index);

// Whether the grid's frequency step is coarser than a fifth of 1/T, so that a true dip, about 1/T
// wide in frequency, can fall between grid points; never for a span of zero.
[[nodiscard]] bool GridTooCoarse(const FTGrid& grid, double twoPi, double timeSpan);

// The number of steps that brings the frequency step down to a fifth of 1/T over the same range.
[[nodiscard]] double StepsForFifthOfDipWidth(const FTGrid& grid, double twoPi, double timeSpan);

// One dip of the FT curve: its deepest grid point and the literal FT value there.
struct FTDip {
    std::int32_t index = 0;
    double omega = 0.0;
    double value = 0.0;
};

// Collects the deepest distinct dips of a curve handed over block by block in grid order. A dip is a
// local minimum (an end point counts when it lies below its one neighbour); local minima closer
// than the dip width 1/T in frequency are one dip, and the deeper one stands for it. Memory stays a
// few entries per requested dip whatever the grid's length.
class DipCollector {
public:
    DipCollector(const FTGrid& grid, double twoPi, double timeSpan, int count);

    void Add(std::int32_t first, std::span<const double> values);

    // The dips, deepest first, each at least the dip width from every deeper one, with their literal
    // FT values. The grid's best point `best` always heads the list.
    [[nodiscard]] std::vector<FTDip> Finish(const FTMinimum& best);

private:
    void Offer(std::int32_t index, double value);
    void CloseCell();

    FTGrid grid_;
    double dipWidth_; // in angular frequency; infinite for a span of zero
    int count_;
    std::size_t kept_;
    std::int64_t cell_ = -1;
    FTDip cellBest_{-1, 0.0, 0.0};
    std::vector<FTDip> candidates_; // a heap, the shallowest on top
    std::int32_t seen_ = 0;         // points handed over so far
    double previous_ = 0.0, beforePrevious_ = 0.0;
};

} // namespace quorix::cli
