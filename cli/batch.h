#pragma once

#include "cli/ftwalk.h"
#include "input/tablereader.h"
#include "search/searchentries.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorix::cli {

// What the search of one file of a batch found, or why it found nothing.
struct BatchRow {
    std::string file;
    std::int32_t observations = 0;
    double timeSpan = 0.0;
    double bestPeriod = 0.0;
    double ft = 0.0;
    double resolution = 0.0;
    std::string columns; // the columns a table was read from; empty for a plain file
    std::vector<std::string> warnings;
    std::string error; // empty when the file was searched

    [[nodiscard]] bool Failed() const { return !error.empty(); }
};

// The same search for every file of a batch.
struct BatchSettings {
    SearchEntries entries;
    TableOptions table;
    bool tableAsked = false;
    FTKernelChoice kernel = FTKernelChoice::kAuto;
    unsigned threads = 2;                    // files searched at once, each on one thread
    const std::atomic<bool>* stop = nullptr; // set: the files not yet finished fail as stopped
    std::function<void()> fileDone;          // called once per file, from any of the threads
};

// The text of the error of a file a stopped batch did not finish.
inline constexpr const char* kStoppedError = "stopped";

// Searches the files side by side, one file per thread, so that the threads never compete for a
// file's blocks; one row per file in the order given. A file that cannot be read or searched gives a
// row with its error and does not stop the others.
[[nodiscard]] std::vector<BatchRow> RunBatch(const std::vector<std::string>& files,
                                             const BatchSettings& settings);

struct CliOptions;

// Runs the batch the command line asks for with a progress line on a terminal, prints its rows in the
// format asked for and gives the exit status: 0 when every file was searched, 3 when any failed, 130
// when Ctrl-C stopped it.
[[nodiscard]] int RunBatchCommand(const CliOptions& options, const SearchEntries& entries,
                                  const std::atomic<bool>& stop);

// One row per file: aligned text, CSV (a header line, then CR LF records) or a JSON `files` array.
[[nodiscard]] std::string BatchText(const std::vector<BatchRow>& rows);
[[nodiscard]] std::string BatchCsv(const std::vector<BatchRow>& rows);
[[nodiscard]] std::string BatchJson(const std::vector<BatchRow>& rows);

} // namespace quorix::cli
