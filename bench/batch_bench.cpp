#include "cli/batch.h"
#include "cli/clisearch.h"
#include "input/tablereader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// A catalogue searched one file per star: in one process with --batch against one process per file,
// the same files and the same grid (500 times, 100,001 points) in the same run.
constexpr int kCatalogueFiles = 200;
constexpr int kTimesPerFile = 500;
const char* const kSteps = "100000";

// The catalogue's files, written once into a temporary folder that goes at the end of the run.
class Catalogue {
public:
    Catalogue() {
        std::random_device seed;
        folder_ = std::filesystem::temp_directory_path() / ("quorix-bench-" + std::to_string(seed()));
        std::filesystem::create_directories(folder_);
        std::mt19937 random(17);
        std::uniform_real_distribution<double> period(0.25, 1.1);
        std::uniform_int_distribution<int> cycle(0, 3000);
        std::normal_distribution<double> jitter(0, 0.0005);
        for (int f = 0; f < kCatalogueFiles; ++f) {
            const auto path = folder_ / ("star" + std::to_string(f) + ".txt");
            std::ofstream out(path, std::ios::binary);
            const double p = period(random);
            for (int k = 0; k < kTimesPerFile; ++k) {
                out << quorix::cli::ExactText(2455000.1 + (cycle(random) + 0.5 * (k % 2)) * p +
                                              jitter(random))
                    << "\r\n";
            }
            files_.push_back(path.string());
        }
    }
    ~Catalogue() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    [[nodiscard]] const std::vector<std::string>& Files() const { return files_; }
    // A shell command running the program on every file: one after another, or `parallel` at a time.
    [[nodiscard]] std::string Command(int parallel) const {
        const std::string program = "'" QUORIX_SEARCH "' --min 0.2 --max 1.2 --steps " + std::string(kSteps);
        if (parallel > 1) {
            return "ls '" + folder_.string() + "'/*.txt | xargs -P " + std::to_string(parallel) + " -n 1 " +
                   program + " >/dev/null 2>&1";
        }
        return "for f in '" + folder_.string() + "'/*.txt; do " + program + " \"$f\"; done >/dev/null 2>&1";
    }

private:
    std::filesystem::path folder_;
    std::vector<std::string> files_;
};

const Catalogue& TheCatalogue() {
    static const Catalogue catalogue;
    return catalogue;
}

void BM_CatalogueInOneProcess(benchmark::State& state) {
    const auto check = quorix::CheckSearchEntries({"0.2", "1.2", kSteps}, quorix::cli::kMostCliSteps);
    quorix::cli::BatchSettings settings;
    settings.entries = *check.entries;
    settings.threads = 2;
    for (auto _ : state) {
        const auto rows = quorix::cli::RunBatch(TheCatalogue().Files(), settings);
        benchmark::DoNotOptimize(rows.data());
        if (rows.back().Failed()) {
            state.SkipWithError(rows.back().error.c_str());
        }
    }
    state.counters["files"] = kCatalogueFiles;
}

void BM_CatalogueProcessPerFile(benchmark::State& state) {
    const std::string command = TheCatalogue().Command(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("a search failed");
        }
    }
    state.counters["files"] = kCatalogueFiles;
}

BENCHMARK(BM_CatalogueInOneProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
// One process after another (each search on both cores), and two at a time.
BENCHMARK(BM_CatalogueProcessPerFile)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
