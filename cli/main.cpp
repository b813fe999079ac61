#include "cli/clisearch.h"
#include "cli/options.h"
#include "cli/pendingfile.h"
#include "cli/plotcurve.h"
#include "cli/plotexport.h"
#include "cli/report.h"
#include "input/minimareader.h"
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

// The shared state the FT window's drawing reads, filled as a completed search over `curve` leaves it.
void FillPlotState(SharedState& state, const CliSearch& search, const std::vector<double>& curve,
                   const std::string& file) {
    InitialiseSharedState(state);
    const SearchEntries& entries = search.entries;
    const auto steps = static_cast<std::int32_t>(curve.size()) - 1;
    state.Pi = entries.twoPi / 2;
    state.TwoPi = entries.twoPi;
    state.PeriodMin = entries.periodMin;
    state.PeriodMax = entries.periodMax;
    state.OmegaLow = search.grid.omegaLow;
    state.OmegaHigh = entries.twoPi / entries.periodMin;
    state.OmegaStep = (state.OmegaHigh - state.OmegaLow) / steps;
    state.StepCount = state.CompletedStepCount = steps;
    std::copy(curve.begin(), curve.end(), state.FTValues.begin());
    state.BestFT = search.best.value;
    state.BestOmega = search.best.omega;
    state.FTComputed = kTrue;
    state.ViewStartIndex = 1;
    state.ViewEndIndex = steps;
    state.ViewOmegaStart = state.FullOmegaStart = state.OmegaLow;
    state.ViewOmegaEnd = state.FullOmegaEnd = state.OmegaHigh;
    state.DataFileName = file;
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

    // Output files are claimed before the search, so an unwritable one costs no waiting.
    std::string error;
    PendingFile csv, plot;
    if (!options.csvPath.empty() && !csv.Open(options.csvPath, error)) {
        return Fail(kInputFault, error);
    }
    if (!options.plotPath.empty() && (!plot.Open(options.plotPath, error) || !plot.CloseStream(error))) {
        return Fail(kInputFault, error);
    }

    const std::span<const double> times(read.data.times.data() + 1,
                                        static_cast<std::size_t>(read.data.count));
    std::unique_ptr<PlotCurve> curve;
    if (!options.plotPath.empty()) {
        curve = std::make_unique<PlotCurve>(check.entries->steps + 1, kMaxSteps + 1, kPlotColumns);
    }
    const FTGrid grid = SearchGrid(times, read.data.baseTime, *check.entries);
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

    if (curve) {
        // Pictures are drawn off screen, with no display needed; Qt's own notes about the desktop
        // session would only clutter the program's one line of diagnostics.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        int qtArgc = 1;
        QGuiApplication qtApp(qtArgc, argv);
        auto state = std::make_unique<SharedState>();
        FillPlotState(*state, search, curve->Values(), options.file);
        if (!ExportFTPlot(*state, options.plotPath, plot.TemporaryPath(), error) || !plot.Commit(error)) {
            return Fail(kInputFault, error);
        }
    }
    if (csv.IsOpen() && !csv.Commit(error)) {
        return Fail(kInputFault, error);
    }

    if (const std::string warning = CoarseGridWarning(search); !warning.empty()) {
        std::cerr << "quorix-search: " << warning << "\n";
    }
    const Report report{options.file, read.data.count, &search};
    std::cout << (options.format == OutputFormat::kJson ? JsonReport(report) : TextReport(report));
    return EXIT_SUCCESS;
}

} // namespace

} // namespace quorix::cli

int main(int argc, char** argv) {
    return quorix::cli::Run(argc, argv);
}
