#include "search/ftkernel.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using quorix::FTGrid;

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
        const double twoPi = 3.1415926535 * 2;
        grid.times = times;
        grid.baseTime = fullJulianDates ? 99999 : *std::min_element(times.begin(), times.end());
        grid.omegaLow = twoPi / 1.2;
        grid.omegaStep = (twoPi / 0.2 - grid.omegaLow) / steps;
        grid.steps = steps;
    }
};

// The kernel with the process's worker pool, as "Compute" runs it.
quorix::FTMinimum FastKernel(const FTGrid& grid, std::span<double> values) {
    return quorix::FastFTKernel(grid, values);
}

template <auto Kernel> void Run(benchmark::State& state) {
    Workload work(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Kernel(work.grid, work.values));
    }
    state.counters["obs"] = static_cast<double>(state.range(0));
    state.counters["steps"] = static_cast<double>(state.range(1));
}

void Sizes(benchmark::internal::Benchmark* bench) {
    for (const int fullJd : {0, 1}) {
        bench->Args({50, 10000, fullJd})->Args({500, 100000, fullJd})->Args({500, 500000, fullJd});
    }
    bench->ArgNames({"obs", "steps", "fulljd"})->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
}

BENCHMARK(Run<quorix::LiteralFTKernel>)->Name("LiteralFTKernel")->Apply(Sizes);
BENCHMARK(Run<FastKernel>)->Name("FastFTKernel")->Apply(Sizes);

} // namespace
