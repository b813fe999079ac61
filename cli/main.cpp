#include "cli/clisearch.h"
#include "cli/desktopstate.h"
#include "cli/options.h"
#include "cli/pendingfile.h"
#include "cli/plotcurve.h"
#include "cli/plotexport.h"
#include "cli/report.h"
#include "input/minimareader.h"
#include "search/periodsearch.h"
#include "state/errormessages.h"

#include <QGuiApplication>

#include <cstdlib>
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
    const EntryCheck check = CheckSearchEntries(options.minimumText, options.maximumText, options.stepsText);
    if (!check.entries) {
        return Fail(kUsageFault, check.message);
    }

    const MinimaReadResult read = ReadMinimaFile(options.file, kMostCliTimes);
    if (read.failure != MinimaFailure::kNone) {
        std::vector<std::string> messages(kMaxErrorNumber + 1);
        FillErrorMessages(messages);
        return Fail(kInputFault, options.file + ": " + MinimaFailureText(read, messages));
    }

    const std::span<const double> times(read.data.times.data() + 1,
                                        static_cast<std::size_t>(read.data.count));
    const FTGrid grid = SearchGrid(times, read.data.baseTime, *check.entries);
    // The desktop refuses such times with this message rather than show a meaningless best period.
    if (!GridSearchable(grid)) {
        return Fail(kInputFault, options.file + ": " + kTimesTooLargeMessage);
    }

    // Output files are claimed before the search, so an unwritable one costs no waiting.
    std::string error;
    PendingFile csv, plot;
    if (!options.csvPath.empty() && !csv.Open(options.csvPath, error)) {
        return Fail(kInputFault, error);
    }
    if (!options.plotPath.empty() && (!plot.Open(options.plotPath, error) || !plot.CloseStream(error))) {
        return Fail(kInputFault, error);
    }

    std::unique_ptr<PlotCurve> curve;
    if (!options.plotPath.empty()) {
        curve = std::make_unique<PlotCurve>(check.entries->steps + 1, kMaxSteps + 1, kPlotColumns);
    }
    if (csv.IsOpen()) {
        csv.Write(CsvHeader());
    }
    const CliSearch search =
        RunCliSearch(times, read.data.baseTime, *check.entries, options.top, options.kernel,
                     [&](std::int32_t first, std::span<const double> values) {
                         if (csv.IsOpen()) {
                             csv.Write(CsvRows(grid, check.entries->twoPi, first, values));
                         }
                         if (curve) {
                             curve->Add(first, values);
                         }
                     });

    auto state = DesktopState(search, times, read.data.baseTime,
                              curve ? curve->Values() : std::vector<double>{}, options.file);
    Report report{options.file, read.data.count, &search, std::nullopt, {}};
    if (options.ocPeriod) {
        report.oc = DesktopOC(*state, *options.ocPeriod);
        if (!report.oc) {
            return Fail(kInputFault,
                        "no O-C diagram for " + ExactText(*options.ocPeriod) +
                            " days: it takes at most 500 times and a period whose cycle counts fit");
        }
    }
    if (options.aliasPeriod) {
        report.aliasLines = DesktopAliasLines(*state, *options.aliasPeriod);
    }
    if (curve) {
        // Pictures are drawn off screen, with no display needed; Qt's own notes about the desktop
        // session would only clutter the program's one line of diagnostics.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        int qtArgc = 1;
        QGuiApplication qtApp(qtArgc, argv);
        if (!ExportPlots(*state, report.oc.has_value(), options.plotPath, plot.TemporaryPath(), error) ||
            !plot.Commit(error)) {
            return Fail(kInputFault, error);
        }
    }
    if (csv.IsOpen() && !csv.Commit(error)) {
        return Fail(kInputFault, error);
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
