#include "cli/clisearch.h"

#include <charconv>

namespace quorix::cli {

CliSearch RunCliSearch(std::span<const double> times, double baseTime, const SearchEntries& entries, int top,
                       FTKernelChoice kernel, const FTBlockConsumer& also, const WalkControl& control) {
    CliSearch search;
    search.entries = entries;
    search.grid = MakeGrid(times, baseTime, entries);
    search.timeSpan = TimeSpan(times);
    const double twoPi = entries.twoPi;
    DipCollector dips(search.grid, twoPi, search.timeSpan, top);
    search.best = WalkFTGrid(
        search.grid, kernel,
        [&](std::int32_t first, std::span<const double> values) {
            dips.Add(first, values);
            if (also) {
                also(first, values);
            }
        },
        kWalkBlockPoints, control);
    search.stopped = control.stop != nullptr && control.stop->load();
    search.bestPeriod = twoPi / search.best.omega;
    search.resolution = PeriodResolution(search.grid, twoPi, search.best.index);
    search.coarse = GridTooCoarse(search.grid, twoPi, search.timeSpan);
    search.stepsForFine = StepsForFifthOfDipWidth(search.grid, twoPi, search.timeSpan);
    search.dips = dips.Finish(search.best);
    return search;
}

std::string ExactText(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string CsvHeader() {
    return "index,omega,period,ft\r\n";
}

std::string CsvRows(const FTGrid& grid, double twoPi, std::int32_t first, std::span<const double> values) {
    std::string rows;
    rows.reserve(values.size() * 72);
    char buffer[32];
    const auto append = [&](auto value, char after) {
        rows.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        rows += after;
    };
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto index = first + static_cast<std::int32_t>(k);
        const double omega = GridOmega(grid, index);
        append(index, ',');
        append(omega, ',');
        append(twoPi / omega, ',');
        append(values[k], '\r');
        rows += '\n';
    }
    return rows;
}

} // namespace quorix::cli
