#include "search/searchentries.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace {

using quorix::FTGrid;
using quorix::FTMinimum;

// The kernel the search used before the recurrence: each observation's phase as a unit vector,
// rotated by its step (four multiplications and two additions per observation and grid point),
// re-seeded directly every 1024 steps, split over a thread per core. Kept here as the second
// reference the recurrence is measured against.
namespace rotation {

constexpr std::int32_t kReseedInterval = 1024;
constexpr int kBlock = 16;
constexpr std::size_t kWidth = 4;
constexpr std::size_t kGroups = 2;
constexpr std::size_t kStride = kWidth * kGroups;
using Lanes = double __attribute__((vector_size(kWidth * sizeof(double))));

#if defined(__x86_64__) && !defined(QUORIX_NO_CLONES)
#define QUORIX_BENCH_CLONES __attribute__((target_clones("arch=haswell", "default")))
#else
#define QUORIX_BENCH_CLONES
#endif

QUORIX_BENCH_CLONES void SumBlock(double* __restrict c, double* __restrict s, const double* __restrict cd,
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

void Range(const FTGrid& grid, std::span<double> values, std::int32_t first, std::int32_t last) {
    const std::size_t count = grid.times.size();
    const std::size_t padded = (count + kStride - 1) / kStride * kStride;
    std::vector<double> offsets(padded), c(padded), s(padded), cd(padded), sd(padded);
    for (std::size_t j = 0; j < count; ++j) {
        offsets[j] = grid.times[j] - grid.baseTime;
        cd[j] = std::cos(2 * grid.omegaStep * offsets[j]);
        sd[j] = std::sin(2 * grid.omegaStep * offsets[j]);
    }
    const double scale = 0.5 / static_cast<double>(count);
    double sums[kBlock];
    for (std::int32_t i = first; i <= last;) {
        const std::int32_t sinceSeed = (i - first) % kReseedInterval;
        if (sinceSeed == 0) {
            const double omega = grid.omegaLow + grid.omegaStep * i;
            for (std::size_t j = 0; j < count; ++j) {
                c[j] = std::cos(2 * (omega * offsets[j]));
                s[j] = std::sin(2 * (omega * offsets[j]));
            }
        }
        const int points = std::min({kBlock, last - i + 1, kReseedInterval - sinceSeed});
        SumBlock(c.data(), s.data(), cd.data(), sd.data(), padded, points, sums);
        for (int b = 0; b < points; ++b) {
            values[i + b] = 0.5 - scale * sums[b];
        }
        i += points;
    }
}

// Its bound: argument roundings, the rotation's roundings over a re-seed interval, the sums.
double Bound(const FTGrid& grid) {
    constexpr double eps = std::numeric_limits<double>::epsilon();
    double offsetMax = 0;
    for (const double time : grid.times) {
        offsetMax = std::max(offsetMax, std::fabs(time - grid.baseTime));
    }
    const double omegaMax =
        std::max(std::fabs(grid.omegaLow), std::fabs(grid.omegaLow + grid.omegaStep * grid.steps));
    const double stepAngle = 2 * std::fabs(grid.omegaStep) * offsetMax;
    return 2 * (6 * eps * omegaMax * offsetMax + kReseedInterval * eps * (stepAngle + 4) +
                (static_cast<double>(grid.times.size()) + 4) * eps);
}

FTMinimum RotationFTKernel(const FTGrid& grid, std::span<double> values) {
    const std::int32_t points = grid.steps + 1;
    const std::int32_t half = (points + 1) / 2;
    std::thread second(Range, std::cref(grid), values, half, points - 1);
    Range(grid, values, 0, half - 1);
    second.join();
    const double threshold = *std::min_element(values.begin(), values.begin() + points) + 2 * Bound(grid);
    FTMinimum best;
    for (std::int32_t i = 0; i < points; ++i) {
        if (values[i] <= threshold) {
            values[i] = quorix::LiteralFTValue(grid, i);
            if (values[i] < best.value) {
                best = {i, values[i], grid.omegaLow + grid.omegaStep * i, 0};
            }
        }
    }
    return best;
}

} // namespace rotation

// Synthetic minima over about three years, reduced (base = earliest time) or full Julian dates.
struct Workload {
    std::vector<double> times;
    std::vector<double> values;
    FTGrid grid;

    Workload(int observations, int steps, bool fullJulianDates) : values(steps + 1) {
        std::mt19937 random(42);
        std::uniform_real_distribution<double> offset(0, 1100);
        const double start = fullJulianDates ? 2452345.6789 : 52345.6789;
        for (int k = 0; k < observations; ++k) {
            times.push_back(start + offset(random));
        }
        grid = quorix::MakeGrid(times, *std::min_element(times.begin(), times.end()),
                                {quorix::kSearchTwoPi, 0.2, 1.2, steps});
    }
};

FTMinimum FastKernel(const FTGrid& grid, std::span<double> values) {
    return quorix::FastFTKernel(grid, values);
}

template <auto Kernel> void Run(benchmark::State& state) {
    Workload work(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
    FTMinimum best;
    for (auto _ : state) {
        best = Kernel(work.grid, work.values);
        benchmark::DoNotOptimize(best);
    }
    state.counters["best"] = best.index;
    state.counters["reeval"] = best.reevaluated;
}

void Sizes(benchmark::internal::Benchmark* bench) {
    for (const int fullJd : {0, 1}) {
        bench->Args({50, 10000, fullJd})->Args({500, 100000, fullJd})->Args({500, 500000, fullJd});
    }
    bench->ArgNames({"obs", "steps", "fulljd"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(Run<quorix::LiteralFTKernel>)->Name("LiteralFTKernel")->Apply(Sizes)->Iterations(1);
BENCHMARK(Run<rotation::RotationFTKernel>)->Name("RotationFTKernel")->Apply(Sizes)->MinTime(0.5);
BENCHMARK(Run<FastKernel>)->Name("FastFTKernel")->Apply(Sizes)->MinTime(0.5);

} // namespace
