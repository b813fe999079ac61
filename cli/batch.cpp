#include "cli/batch.h"

#include "cli/clisearch.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/report.h"
#include "cli/timesinput.h"
#include "search/periodsearch.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <thread>

namespace quorix::cli {

namespace {

BatchRow SearchFile(const std::string& file, const BatchSettings& settings, WorkerPool& pool) {
    BatchRow row;
    row.file = file;
    TimesInput input = ReadTimesInput(file, settings.table, settings.tableAsked);
    if (!input.Loaded()) {
        row.error = input.error;
        return row;
    }
    row.observations = static_cast<std::int32_t>(input.times.size());
    row.columns = input.columns;
    row.warnings = std::move(input.warnings);
    if (!GridSearchable(MakeGrid(input.times, input.baseTime, settings.entries))) {
        row.error = file + ": " + kTimesTooLargeMessage;
        return row;
    }
    const CliSearch search = RunCliSearch(input.times, input.baseTime, settings.entries, 0, settings.kernel,
                                          nullptr, {&pool, settings.stop});
    if (search.stopped) {
        row.error = kStoppedError;
        return row;
    }
    row.timeSpan = search.timeSpan;
    row.bestPeriod = search.bestPeriod;
    row.ft = search.best.value;
    row.resolution = search.resolution;
    if (std::string warning = CoarseGridWarning(search); !warning.empty()) {
        row.warnings.push_back(std::move(warning));
    }
    return row;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : "; ") + text;
    }
    return joined;
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

// The numbers of a row, empty texts for a file that failed.
std::vector<std::string> Figures(const BatchRow& row) {
    if (row.Failed()) {
        return {row.observations > 0 ? std::to_string(row.observations) : "", "", "", "", ""};
    }
    return {std::to_string(row.observations), ExactText(row.timeSpan), ExactText(row.bestPeriod),
            ExactText(row.ft), ExactText(row.resolution)};
}

} // namespace

std::vector<BatchRow> RunBatch(const std::vector<std::string>& files, const BatchSettings& settings) {
    std::vector<BatchRow> rows(files.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        // No workers: each file's blocks stay on this thread, the other files keep the other cores.
        WorkerPool alone(0);
        for (std::size_t k = next++; k < files.size(); k = next++) {
            if (settings.stop != nullptr && settings.stop->load()) {
                rows[k] = {files[k], 0, 0, 0, 0, 0, {}, {}, kStoppedError};
            } else {
                rows[k] = SearchFile(files[k], settings, alone);
            }
            if (settings.fileDone) {
                settings.fileDone();
            }
        }
    };
    const std::size_t threads =
        std::clamp<std::size_t>(settings.threads, 1, std::max<std::size_t>(files.size(), 1));
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    return rows;
}

int RunBatchCommand(const CliOptions& options, const SearchEntries& entries, const std::atomic<bool>& stop) {
    Progress progress(static_cast<std::int64_t>(options.batchFiles.size()), "files", ErrorStreamIsTerminal());
    BatchSettings settings{entries,
                           options.table,
                           options.tableAsked,
                           options.kernel,
                           std::max(1u, std::thread::hardware_concurrency()),
                           &stop,
                           [&progress] { progress.Advance(1); }};
    const std::vector<BatchRow> rows = RunBatch(options.batchFiles, settings);
    progress.Finish();
    if (stop.load()) {
        std::cerr << "quorix-search: interrupted\n";
        return kInterruptedStatus;
    }
    switch (options.format) {
    case OutputFormat::kCsv:
        std::cout << BatchCsv(rows);
        break;
    case OutputFormat::kJson:
        std::cout << BatchJson(rows);
        break;
    default:
        std::cout << BatchText(rows);
        break;
    }
    const bool anyFailed =
        std::any_of(rows.begin(), rows.end(), [](const BatchRow& row) { return row.Failed(); });
    return anyFailed ? 3 : 0;
}

std::string BatchText(const std::vector<BatchRow>& rows) {
    const std::vector<std::string> headings{
        "file", "N", "span (days)", "best period (days)", "FT", "resolution (days)"};
    std::vector<std::vector<std::string>> lines{headings};
    for (const BatchRow& row : rows) {
        std::vector<std::string> line{row.file};
        for (std::string& figure : Figures(row)) {
            line.push_back(std::move(figure));
        }
        lines.push_back(std::move(line));
    }
    std::vector<std::size_t> widths(headings.size(), 0);
    for (const auto& line : lines) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], line[c].size());
        }
    }
    std::string text;
    for (std::size_t r = 0; r < lines.size(); ++r) {
        for (std::size_t c = 0; c < lines[r].size(); ++c) {
            text += Padded(lines[r][c], widths[c] + 2);
        }
        if (r > 0) {
            const BatchRow& row = rows[r - 1];
            text += row.Failed() ? "error: " + row.error : Joined(row.warnings);
        } else {
            text += "notes";
        }
        text.erase(text.find_last_not_of(' ') + 1);
        text += '\n';
    }
    return text;
}

std::string BatchCsv(const std::vector<BatchRow>& rows) {
    std::string csv = "file,observations,timeSpan,bestPeriod,ft,resolution,columns,warnings,error\r\n";
    for (const BatchRow& row : rows) {
        csv += CsvField(row.file);
        for (const std::string& figure : Figures(row)) {
            csv += "," + figure;
        }
        csv += "," + CsvField(row.columns) + "," + CsvField(Joined(row.warnings)) + "," +
               CsvField(row.error) + "\r\n";
    }
    return csv;
}

std::string BatchJson(const std::vector<BatchRow>& rows) {
    nlohmann::json files = nlohmann::json::array();
    for (const BatchRow& row : rows) {
        nlohmann::json entry = {{"file", row.file}, {"observations", row.observations}};
        if (row.Failed()) {
            entry["error"] = row.error;
        } else {
            entry["timeSpan"] = row.timeSpan;
            entry["bestPeriod"] = row.bestPeriod;
            entry["ft"] = row.ft;
            entry["resolution"] = row.resolution;
            entry["error"] = nullptr;
        }
        entry["columns"] = row.columns;
        entry["warnings"] = row.warnings;
        files.push_back(std::move(entry));
    }
    return nlohmann::json{{"files", files}}.dump(2) + "\n";
}

} // namespace quorix::cli
