#include "aliases/aliaslist.h"
#include "cli/candidatereport.h"
#include "cli/clisearch.h"
#include "cli/options.h"
#include "cli/plotcurve.h"
#include "cli/plotexport.h"
#include "cli/report.h"
#include "input/minimareader.h"
#include "platform/textfile.h"
#include "search/periodsearch.h"
#include "state/errormessages.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

namespace quorix::cli {

namespace {

constexpr int kUsageFault = 2;
constexpr int kInputFault = 3;
constexpr std::int32_t kMostCliTimes = 100'000;
// Plot columns of the picture: the frame's width at the picture's 192 dots per inch.
constexpr std::int32_t kPlotColumns = (14900 - 915) * 2 / 15;

int Fail(int status, const std::string& message) {
    std::cerr << "quorix-search: " << message << "\n";
    return status;
}

std::string CannotWrite(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
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

    const MinimaReadResult read = ReadMinimaFile(options.file, kMostCliTimes);
    if (read.failure != MinimaFailure::kNone) {
        std::vector<std::string> messages(kMaxErrorNumber + 1);
        FillErrorMessages(messages);
        return Fail(kInputFault, options.file + ": " + MinimaFailureText(read, messages));
    }

    const std::span<const double> times(read.data.times.data() + 1,
                                        static_cast<std::size_t>(read.data.count));
    const double baseTime = read.data.baseTime;
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
    std::unique_ptr<PendingFile> csv, plot;
    if (!options.csvPath.empty()) {
        csv = std::make_unique<PendingFile>(options.csvPath);
        if (csv->Error() != 0) {
            return Fail(kInputFault, CannotWrite(options.csvPath, csv->Error()));
        }
    }
    ExportPlotsFunction exportPlots = nullptr;
    if (plotting) {
        plot = std::make_unique<PendingFile>(options.plotPath);
        if (plot->Error() != 0) {
            return Fail(kInputFault, CannotWrite(options.plotPath, plot->Error()));
        }
        std::string error;
        if (exportPlots = LoadPlotExport(error); exportPlots == nullptr) {
            return Fail(kInputFault, error);
        }
    }

    Report report{options.file, read.data.count, nullptr, std::nullopt, {}, std::nullopt, options.pick};
    if (options.ocPeriod) {
        report.oc = MakeOCReport(times, baseTime, *options.ocPeriod);
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
                                          });
    report.search = &search;
    if (kept) {
        report.candidates = WorkOutCandidates(search, *kept, times);
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
                                  {},
                                  {},
                                  options.file,
                                  options.plotPath,
                                  plot->TemporaryPath(),
                                  argv[0]};
        std::string error;
        if (!exportPlots(request, error)) {
            return Fail(kInputFault, error);
        }
        if (const int failure = plot->Commit(); failure != 0) {
            return Fail(kInputFault, CannotWrite(options.plotPath, failure));
        }
    }
    if (csv) {
        if (const int failure = csv->Commit(); failure != 0) {
            return Fail(kInputFault, CannotWrite(options.csvPath, failure));
        }
    }

    if (const std::string warning = CoarseGridWarning(search); !warning.empty()) {
        std::cerr << "quorix-search: " << warning << "\n";
    }
    std::cout << (options.format == OutputFormat::kJson ? JsonReport(report) : TextReport(report));
    return EXIT_SUCCESS;
}

} // namespace

} // namespace quorix::cli

int main(int argc, char** argv) {
    return quorix::cli::Run(argc, argv);
}
