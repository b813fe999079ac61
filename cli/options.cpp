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
    "3 input fault (unreadable or faulty data file, unwritable output file).";

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
    app.add_option("FILE", options.file, "Times-of-minima file: one time per record, in days")->required();
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
    const std::map<std::string, OutputFormat> formats{{"text", OutputFormat::kText},
                                                      {"json", OutputFormat::kJson}};
    app.add_option("--format", options.format, "Output format: text or json")
        ->transform(CLI::CheckedTransformer(formats))
        ->default_str("text");
    // For timing the fast kernel against the literal formula; not part of the documented interface.
    const std::map<std::string, FTKernelChoice> kernels{{"fast", FTKernelChoice::kFast},
                                                        {"literal", FTKernelChoice::kLiteral}};
    app.add_option("--kernel", options.kernel)->transform(CLI::CheckedTransformer(kernels))->group("");

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
    return outcome;
}

} // namespace quorix::cli
