#pragma once

#include "cli/ftwalk.h"
#include "input/tablereader.h"

#include <optional>
#include <string>
#include <vector>

namespace quorix::cli {

enum class OutputFormat { kText, kJson, kCsv };

// Everything the command line asks for. The search entries stay text, read and checked later by
// the desktop's own rules.
struct CliOptions {
    std::string file;
    std::string minimumText;
    std::string maximumText;
    std::string stepsText;
    int top = 5;
    std::optional<double> ocPeriod;
    std::optional<double> aliasPeriod;
    bool pick = false;
    std::string csvPath;
    std::string plotPath;
    OutputFormat format = OutputFormat::kText;
    FTKernelChoice kernel = FTKernelChoice::kAuto;

    // How tables are read, and the files of a batch (empty for a single search).
    TableOptions table;
    bool tableAsked = false; // a column, separator or lines to skip was given
    std::string convertPath;
    std::vector<std::string> batchFiles;
};

enum class ParseStatus {
    kRun,       // options complete: run the search
    kDone,      // --help or --version: `text` is to be printed, then exit successfully
    kUsageFault // `text` is the one-line reason
};

struct ParseOutcome {
    ParseStatus status = ParseStatus::kRun;
    CliOptions options;
    std::string text;
};

// Reads the command line; never prints and never exits.
[[nodiscard]] ParseOutcome ParseCommandLine(int argc, const char* const* argv);

} // namespace quorix::cli
