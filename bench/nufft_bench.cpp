#include "search/ftkernel.h"
#include "search/nufftkernel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace {

using quorix::FTGrid;
using quorix::FTMinimum;

// A catalogue-sized star: `observations` minima over thirty years as full Julian dates, searched from
// 0.2 to 1.2 days in `points` grid points, the time origin the earliest minimum.
struct Workload {
    std::vector<double> times;
    std::vector<double> values;
    FTGrid grid;

    Workload(std::int64_t observations, std::int64_t points) : values(static_cast<std::size_t>(points)) {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> offset(0, 30 * 365.25);
        for (std::int64_t k = 0; k < observations; ++k) {
            times.push_back(2440000.5 + offset(random));
        }
        const double twoPi = 3.1415926535 * 2;
        grid.times = times;
        grid.baseTime = *std::min_element(times.begin(), times.end());
        grid.omegaLow = twoPi / 1.2;
        grid.omegaStep = (twoPi / 0.2 - grid.omegaLow) / static_cast<double>(points - 1);
        grid.steps = static_cast<std::int32_t>(points - 1);
    }
};

FTMinimum Recurrence(const FTGrid& grid, std::span<double> values) {
    return quorix::FastFTBlock(grid, 0, grid.steps, values);
}

FTMinimum Nufft(const FTGrid& grid, std::span<double> values) {
    return quorix::NufftFTBlock(grid, 0, grid.steps, values);
}

template <auto Kernel> void Run(benchmark::State& state) {
    Workload work(state.range(0), state.range(1));
    FTMinimum best;
    for (auto _ : state) {
        best = Kernel(work.grid, work.values);
        benchmark::DoNotOptimize(best);
    }
    state.counters["best"] = best.index;
    state.counters["reeval"] = best.reevaluated;
    state.counters["bound"] = quorix::NufftErrorBound(work.grid);
}

// The crossover table. The recurrence's cost is observations x points: 100,000 x 10,000,001 would
// take over a minute of both cores, so that cell is measured for the transform only.
void Table(benchmark::internal::Benchmark* bench, bool recurrence) {
    for (const std::int64_t observations : {500, 2000, 10000, 100000}) {
        for (const std::int64_t points : {100001, 1000001, 10000001}) {
            if (!recurrence || observations * points <= std::int64_t{100000} * 1000001) {
                bench->Args({observations, points});
            }
        }
    }
    bench->ArgNames({"obs", "points"})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.2);
}

BENCHMARK(Run<Recurrence>)->Name("RecurrenceFT")->Apply([](auto* bench) { Table(bench, true); });
BENCHMARK(Run<Nufft>)->Name("NufftFT")->Apply([](auto* bench) { Table(bench, false); });

// The two targets, each kernel timed right after the other on the same workload so that both see the
// same load on the machine: "speedup" is the recurrence's time over the transform's.
void Versus(benchmark::State& state) {
    Workload work(state.range(0), state.range(1));
    double recurrenceSeconds = 0, nufftSeconds = 0;
    bool sameBest = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const FTMinimum slow = Recurrence(work.grid, work.values);
        const auto middle = std::chrono::steady_clock::now();
        const FTMinimum fast = Nufft(work.grid, work.values);
        const auto end = std::chrono::steady_clock::now();
        recurrenceSeconds += std::chrono::duration<double>(middle - start).count();
        nufftSeconds += std::chrono::duration<double>(end - middle).count();
        sameBest = sameBest && slow.index == fast.index && slow.value == fast.value;
    }
    state.counters["recurrence_s"] = recurrenceSeconds / static_cast<double>(state.iterations());
    state.counters["nufft_s"] = nufftSeconds / static_cast<double>(state.iterations());
    state.counters["speedup"] = recurrenceSeconds / nufftSeconds;
    state.counters["same_best"] = sameBest ? 1 : 0;
}

BENCHMARK(Versus)
    ->Name("NufftVersusRecurrence")
    ->Args({100000, 1000001})
    ->Args({10000, 10000001})
    ->ArgNames({"obs", "points"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
