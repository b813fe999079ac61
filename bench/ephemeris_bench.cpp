#include "ocdiagram/ephemerisfit.h"
#include "ocdiagram/occompute.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

using quorix::EphemerisInput;
using quorix::MinimumType;

// 100,000 minima over 60 years of a short-period binary with a slowly changing period, in random
// order, with timing errors from 1e-5 to 1e-3 days and a quarter of them secondaries.
EphemerisInput ManyMinima() {
    constexpr int kMinima = 100000;
    constexpr double kT0 = 2440000.3127, kPeriod = 0.3726541, kQ = 2e-12, kLastCycle = 58000;
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> cycle(0.0, kLastCycle);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 1.0);
    const double sigmas[] = {1e-5, 1e-4, 1e-3};
    EphemerisInput input;
    for (int i = 0; i < kMinima; ++i) {
        const bool secondary = unit(random) < 0.25;
        const double e = std::floor(cycle(random)) + (secondary ? 0.5 : 0.0);
        const double sigma = sigmas[i % 3];
        input.times.push_back(kT0 + kPeriod * e + kQ * e * e + sigma * noise(random));
        input.types.push_back(secondary ? MinimumType::kSecondary : MinimumType::kPrimary);
        input.errors.push_back(sigma);
    }
    input.period = kPeriod * (1 + 1e-7);
    input.origin = *std::min_element(input.times.begin(), input.times.end());
    return input;
}

// Counting, the four fits and the comparison, as the ephemeris window and the command line run them.
void BM_FitEphemeris100k(benchmark::State& state) {
    const EphemerisInput input = ManyMinima();
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorix::FitEphemeris(input));
    }
}
BENCHMARK(BM_FitEphemeris100k)->Unit(benchmark::kMillisecond);

// The counting alone, with the fits its refinement needs.
void BM_CountCycles100k(benchmark::State& state) {
    const EphemerisInput input = ManyMinima();
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorix::CountCycles(input));
    }
}
BENCHMARK(BM_CountCycles100k)->Unit(benchmark::kMillisecond);

// The reference the fits are measured against: the O-C diagram's straight line by its sums, over
// the same counts.
void BM_StraightLineReference100k(benchmark::State& state) {
    const EphemerisInput input = ManyMinima();
    const quorix::CycleCounts counts = quorix::CountCycles(input);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            quorix::FitStraightLine(counts.cycles, counts.oc, 0, static_cast<int>(counts.cycles.size()) - 1));
    }
}
BENCHMARK(BM_StraightLineReference100k)->Unit(benchmark::kMillisecond);

} // namespace
