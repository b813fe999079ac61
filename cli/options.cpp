#include "cli/options.h"

#include "cli/clisearch.h"
#include "state/sharedstate.h"

#include <CLI/CLI.hpp>

#include <map>

namespace quorix::cli {

namespace {

// A plot file's type comes from its name.
std::string CheckPlotName(const std::string& path) {
    for (const char* extension : {".png", ".svg", ".pdf"}) {
        const std::string ending(extension);
        if (path.size() > ending.size() &&
            path.compare(path.size() - ending.size(), ending.size(), ending) == 0) {
            return {};
        }
    }
    return "the plot file's name must end in .png, .svg or .pdf";
}

const char* const kDescription =
    "Searches a file of times of minimum light for the period of an eclipsing binary with the modified\n"
    "Fourier function FT, the mean of sin^2(omega (t - t0)) over the observations, on an evenly spaced\n"
    "grid of angular frequencies from 2 pi/MAX to 2 pi/MIN, as the desktop program Quorix Period Search\n"
    "does, with the same file checks, entry checks, kernel and drawing. Files may hold up to 100000\n"
    "times and grids up to 100000000 steps; the grid is evaluated in blocks, so memory stays bounded.";

const char* const kFooter =
    "Prints the best period at full precision, its FT value and the period step of the grid there, and\n"
    "the deepest distinct dips of FT (local minima at least 1/T apart in frequency, T being the data's\n"
    "time span). Warns on stderr when the frequency step exceeds a fifth of 1/T.\n"
    "--plot draws the FT plot (and with --oc the O-C diagram) with the desktop windows' drawing code;\n"
    "a grid of more than 500001 points is drawn as a reduced curve that keeps each plot column's\n"
    "lowest and highest value. Output files are written whole or not at all.\n\n"
    "Exit status: 0 success, 2 usage fault (unknown option, missing or bad value, entry out of range),\n"
    "3 input fault (unreadable or faulty data file, unwritable output file; in a batch, any file that\n"
    "failed), 130 stopped by Ctrl-C with nothing written.";

// Tables, conversion and batches.
void AddInputOptions(CLI::App& app, CliOptions& options) {
    TableOptions& table = options.table;
    const auto column = [&](const char* name, ColumnChoice& choice, const char* what) {
        app.add_option_function<std::string>(
               name,
               [&choice, &options](const std::string& text) {
                   choice = ParseColumnChoice(text);
                   options.tableAsked = true;
               },
               what)
            ->option_text("COLUMN");
    };
    column("--time-col", table.timeColumn, "Read the times from COLUMN of a table (number or header name)");
    column("--type-col", table.typeColumn, "Read the minimum types from COLUMN, or none");
    column("--error-col", table.errorColumn, "Read the timing errors (days) from COLUMN, or none");
    app.add_option_function<std::string>(
           "--separator",
           [&](const std::string& text) {
               table.separator = ParseSeparator(text);
               options.tableAsked = true;
           },
           "The table's separator: , tab blanks | & ; (or its name)")
        ->check(
            [](const std::string& text) { return ParseSeparator(text) ? "" : "unknown separator " + text; },
            "", "")
        ->option_text("SEP");
    app.add_option_function<int>(
           "--skip-lines",
           [&](int lines) {
               table.skipLines = lines;
               options.tableAsked = true;
           },
           "Skip N lines at the start of a table")
        ->check(CLI::NonNegativeNumber)
        ->option_text("N");
    app.add_option("--convert", options.convertPath, "Write the times read as a plain file \"Open\" reads")
        ->option_text("PATH");
    app.add_option("--batch", options.batchFiles, "Search every FILE with the same options, one row each")
        ->option_text("FILE...");
}

void CheckInputOptions(ParseOutcome& outcome) {
    const CliOptions& options = outcome.options;
    const bool batch = !options.batchFiles.empty();
    std::string fault;
    if (!batch && options.file.empty()) {
        fault = "FILE is required";
    } else if (batch && !options.file.empty()) {
        fault = "give either FILE or --batch FILE..., not both";
    } else if (batch && (options.ocPeriod || options.aliasPeriod || !options.csvPath.empty() ||
                         !options.plotPath.empty() || !options.convertPath.empty())) {
        fault = "--batch takes no --oc, --aliases, --ft-csv, --plot or --convert";
    } else if (!batch && options.format == OutputFormat::kCsv) {
        fault = "--format csv is for --batch";
    }
    if (!fault.empty()) {
        outcome.status = ParseStatus::kUsageFault;
        outcome.text = fault;
    }
}

} // namespace

ParseOutcome ParseCommandLine(int argc, const char* const* argv) {
    ParseOutcome outcome;
    CliOptions& options = outcome.options;
    options.minimumText = ExactText(kDefaultPeriodMin);
    options.maximumText = ExactText(kDefaultPeriodMax);
    options.stepsText = std::to_string(kDefaultStepCount);

    CLI::App app(kDescription, "quorix-search");
    app.footer(kFooter);
    app.get_formatter()->column_width(28);
    app.set_version_flag("--version", "quorix-search " QUORIX_VERSION);
    app.add_option("FILE", options.file, "Times-of-minima file: plain times or a table, in days");
    app.add_option("--min", options.minimumText, "Shortest trial period, days (0.05 to 100)")
        ->check(CLI::Number)
        ->capture_default_str();
    app.add_option("--max", options.maximumText, "Longest trial period, days (0.05 to 100)")
        ->check(CLI::Number)
        ->capture_default_str();
    app.add_option("--steps", options.stepsText, "Number of frequency steps (1000 to 100000000)")
        ->check(CLI::Number)
        ->capture_default_str();
    app.add_option("--top", options.top, "Number of distinct dips to list")
        ->check(CLI::Range(0, 1000))
        ->capture_default_str();
    app.add_option("--oc", options.ocPeriod,
                   "Print the O-C table and the linear and quadratic ephemeris fits for PERIOD days")
        ->check(CLI::PositiveNumber)
        ->option_text("PERIOD");
    app.add_option("--aliases", options.aliasPeriod, "Print the alias periods of PERIOD days")
        ->check(CLI::PositiveNumber)
        ->option_text("PERIOD");
    app.add_flag("--pick", options.pick,
                 "Print the period the minimum types pick among the significant candidates, or why none");
    app.add_option("--ft-csv", options.csvPath, "Write index, omega, period and FT of every grid point")
        ->option_text("PATH");
    app.add_option("--plot", options.plotPath, "Draw the FT plot to PATH (.png, .svg or .pdf)")
        ->check(CheckPlotName, "", "")
        ->option_text("PATH");
    const std::map<std::string, OutputFormat> formats{
        {"text", OutputFormat::kText}, {"json", OutputFormat::kJson}, {"csv", OutputFormat::kCsv}};
    app.add_option("--format", options.format, "Output format: text or json (with --batch also csv)")
        ->transform(CLI::CheckedTransformer(formats))
        ->default_str("text");
    const std::map<std::string, FTKernelChoice> kernels{{"auto", FTKernelChoice::kAuto},
                                                        {"recurrence", FTKernelChoice::kFast},
                                                        {"fast", FTKernelChoice::kFast},
                                                        {"nufft", FTKernelChoice::kNufft},
                                                        {"literal", FTKernelChoice::kLiteral}};
    app.add_option("--kernel", options.kernel, "FT kernel: auto, recurrence, nufft or literal")
        ->transform(CLI::CheckedTransformer(kernels))
        ->option_text("NAME")
        ->default_str("auto");
    AddInputOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        outcome.status = ParseStatus::kDone;
        outcome.text = app.help();
    } catch (const CLI::CallForVersion& version) {
        outcome.status = ParseStatus::kDone;
        outcome.text = std::string(version.what()) + "\n";
    } catch (const CLI::ParseError& fault) {
        outcome.status = ParseStatus::kUsageFault;
        outcome.text = fault.what();
    }
    if (outcome.status == ParseStatus::kRun) {
        CheckInputOptions(outcome);
    }
    return outcome;
}

} // namespace quorix::cli
