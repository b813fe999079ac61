#include "aliases/aliaslist.h"
#include "cli/batch.h"
#include "cli/candidatereport.h"
#include "cli/clisearch.h"
#include "cli/options.h"
#include "cli/plotcurve.h"
#include "cli/plotexport.h"
#include "cli/progress.h"
#include "cli/report.h"
#include "cli/timesinput.h"
#include "platform/textfile.h"
#include "search/periodsearch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iostream>
#include <memory>

namespace quorix::cli {

namespace {

constexpr int kUsageFault = 2;
constexpr int kInputFault = 3;
// Plot columns of the picture: the frame's width at the picture's 192 dots per inch.
constexpr std::int32_t kPlotColumns = (14900 - 915) * 2 / 15;

int Fail(int status, const std::string& message) {
    std::cerr << "quorix-search: " << message << "\n";
    return status;
}

// A run stopped by Ctrl-C: whatever it was writing is dropped as it unwinds.
int Interrupted() {
    return Fail(kInterruptedStatus, "interrupted");
}

std::string CannotWrite(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

// Opens the new file for `path` when one is asked for; the reason it cannot be written, or empty.
std::string Claim(const std::string& path, std::unique_ptr<PendingFile>& file) {
    if (path.empty()) {
        return {};
    }
    file = std::make_unique<PendingFile>(path);
    return file->Error() != 0 ? CannotWrite(path, file->Error()) : std::string();
}

// Puts every claimed file in place of its name; the reason one could not be, or empty.
std::string CommitAll(std::initializer_list<std::pair<PendingFile*, const std::string*>> files) {
    for (const auto& [file, path] : files) {
        if (file == nullptr) {
            continue;
        }
        if (const int failure = file->Commit(); failure != 0) {
            return CannotWrite(*path, failure);
        }
    }
    return {};
}

// Tells on stderr which columns of a table were read and what was noticed on the way.
void AnnounceInput(const std::string& file, const TimesInput& input) {
    if (!input.columns.empty()) {
        std::cerr << "quorix-search: " << file << ": " << input.columns << "\n";
    }
    for (const std::string& warning : input.warnings) {
        std::cerr << "quorix-search: " << file << ": " << warning << "\n";
    }
}

// One file searched, and what was asked for besides, written and printed.
int SearchFile(const CliOptions& options, const SearchEntries& entries, const std::atomic<bool>& stop,
               const char* program) {
    const TimesInput input = ReadTimesInput(options.file, options.table, options.tableAsked);
    if (!input.Loaded()) {
        return Fail(kInputFault, input.error);
    }
    AnnounceInput(options.file, input);
    const std::span<const double> times(input.times);
    const double baseTime = input.baseTime;
    // Types and timing errors count only when the file gave some: a plain file gives none.
    const auto anyType = std::any_of(input.types.begin(), input.types.end(),
                                     [](MinimumType type) { return type != MinimumType::kUnknown; });
    const auto anyError =
        std::any_of(input.errors.begin(), input.errors.end(), [](double error) { return error != 0; });
    const std::span<const MinimumType> types =
        anyType ? std::span(input.types) : std::span<const MinimumType>();
    const std::span<const double> errors = anyError ? std::span(input.errors) : std::span<const double>();
    const FTGrid grid = MakeGrid(times, baseTime, entries);
    // The desktop refuses such times with this message rather than show a meaningless best period.
    if (!GridSearchable(grid)) {
        return Fail(kInputFault, options.file + ": " + kTimesTooLargeMessage);
    }
    const bool plotting = !options.plotPath.empty();
    // The picture's O-C diagram is drawn by the O-C window's routines, which hold no more times.
    if (plotting && options.ocPeriod && times.size() > static_cast<std::size_t>(kMaxObservations)) {
        return Fail(kInputFault,
                    "the picture's O-C diagram takes at most " + std::to_string(kMaxObservations) + " times");
    }

    // Output files are claimed before the search, so an unwritable one costs no waiting.
    std::unique_ptr<PendingFile> csv, plot, converted;
    for (const std::string& error : {Claim(options.convertPath, converted), Claim(options.csvPath, csv),
                                     Claim(options.plotPath, plot)}) {
        if (!error.empty()) {
            return Fail(kInputFault, error);
        }
    }
    if (converted) {
        converted->Write(PlainMinimaText(input.times));
    }
    ExportPlotsFunction exportPlots = nullptr;
    if (plotting) {
        std::string error;
        if (exportPlots = LoadPlotExport(error); exportPlots == nullptr) {
            return Fail(kInputFault, error);
        }
    }

    Report report{
        options.file, static_cast<std::int32_t>(times.size()), nullptr, std::nullopt, {}, std::nullopt,
        options.pick};
    if (options.ocPeriod) {
        report.oc = MakeOCReport(times, baseTime, *options.ocPeriod, types, errors);
        if (!report.oc) {
            return Fail(kInputFault, "no O-C diagram for " + ExactText(*options.ocPeriod) +
                                         " days: it takes a period whose cycle counts fit");
        }
    }
    if (options.aliasPeriod) {
        const auto aliases =
            BuildAliasList(*options.aliasPeriod, {entries.twoPi, grid.omegaLow, OmegaHigh(entries)});
        if (aliases) {
            report.aliasLines = aliases->lines;
        }
    }

    std::unique_ptr<PlotCurve> curve;
    if (plotting) {
        curve = std::make_unique<PlotCurve>(entries.steps + 1, kMaxSteps + 1, kPlotColumns);
    }
    std::unique_ptr<KeptCurve> kept;
    if (options.top > 0 || options.pick) {
        kept = std::make_unique<KeptCurve>(grid);
    }
    if (csv) {
        csv->Write(CsvHeader());
    }
    Progress progress(std::int64_t{grid.steps} + 1, "points", ErrorStreamIsTerminal());
    const CliSearch search = RunCliSearch(times, baseTime, entries, options.top, options.kernel,
                                          [&](std::int32_t first, std::span<const double> values) {
                                              if (csv) {
                                                  csv->Write(CsvRows(grid, entries.twoPi, first, values));
                                              }
                                              if (curve) {
                                                  curve->Add(first, values);
                                              }
                                              if (kept) {
                                                  kept->Add(first, values);
                                              }
                                              progress.Advance(static_cast<std::int64_t>(values.size()));
                                          },
                                          {nullptr, &stop});
    progress.Finish();
    if (search.stopped) {
        return Interrupted();
    }
    report.search = &search;
    if (kept) {
        report.candidates = WorkOutCandidates(search, *kept, times, types);
        kept.reset();
    }

    if (plotting) {
        const std::vector<double> values = curve->Values();
        const PlotRequest request{&search,
                                  times,
                                  baseTime,
                                  values,
                                  report.oc ? &report.oc->diagram : nullptr,
                                  report.oc ? &report.oc->ephemeris : nullptr,
                                  types,
                                  errors,
                                  options.file,
                                  options.plotPath,
                                  plot->TemporaryPath(),
                                  program};
        std::string error;
        if (!exportPlots(request, error)) {
            return Fail(kInputFault, error);
        }
    }
    if (stop.load()) {
        return Interrupted();
    }
    if (const std::string error = CommitAll({{plot.get(), &options.plotPath},
                                             {csv.get(), &options.csvPath},
                                             {converted.get(), &options.convertPath}});
        !error.empty()) {
        return Fail(kInputFault, error);
    }

    if (const std::string warning = CoarseGridWarning(search); !warning.empty()) {
        std::cerr << "quorix-search: " << warning << "\n";
    }
    std::cout << (options.format == OutputFormat::kJson ? JsonReport(report) : TextReport(report));
    return EXIT_SUCCESS;
}

int Run(int argc, char** argv) {
    const ParseOutcome parsed = ParseCommandLine(argc, argv);
    if (parsed.status == ParseStatus::kDone) {
        std::cout << parsed.text;
        return EXIT_SUCCESS;
    }
    if (parsed.status == ParseStatus::kUsageFault) {
        return Fail(kUsageFault, parsed.text + " (see quorix-search --help)");
    }
    const CliOptions& options = parsed.options;
    const EntryCheck check =
        CheckSearchEntries({options.minimumText, options.maximumText, options.stepsText}, kMostCliSteps);
    if (!check.entries) {
        return Fail(kUsageFault, check.message);
    }
    const SearchEntries& entries = *check.entries;
    const std::atomic<bool>& stop = StopOnInterrupt();
    if (!options.batchFiles.empty()) {
        return RunBatchCommand(options, entries, stop);
    }
    return SearchFile(options, entries, stop, argv[0]);
}

} // namespace

} // namespace quorix::cli

int main(int argc, char** argv) {
    return quorix::cli::Run(argc, argv);
}
