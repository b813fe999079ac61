#include "cli/timesinput.h"

#include "input/minimareader.h"
#include "platform/textfile.h"
#include "state/errormessages.h"

#include <algorithm>

namespace quorix::cli {

namespace {

// Far more than 100,000 rows of any published table take; a bigger file is not read into memory.
constexpr std::size_t kMostFileBytes = std::size_t{64} << 20;

std::string MinimaMessage(const MinimaReadResult& result) {
    std::vector<std::string> messages(kMaxErrorNumber + 1);
    FillErrorMessages(messages);
    return MinimaFailureText(result, messages);
}

struct FileBytes {
    std::string bytes;
    std::string error;
};

// The whole file, through the same reader "Open" uses, so that missing files, folders and devices get
// the desktop's messages.
FileBytes ReadBytes(const std::string& path) {
    InputFile file(path);
    FileBytes read;
    for (int byte = file.Next(); byte != InputFile::kEnd; byte = file.Next()) {
        if (read.bytes.size() == kMostFileBytes) {
            read.error = path + ": the file is larger than " + std::to_string(kMostFileBytes >> 20) + " MiB";
            return read;
        }
        read.bytes.push_back(static_cast<char>(byte));
    }
    if (file.Error() != 0) {
        MinimaReadResult failed;
        failed.failure = MinimaFailure::kRunTimeError;
        failed.errorNumber = file.Error();
        read.error = path + ": " + MinimaMessage(failed);
    }
    return read;
}

TimesInput FromPlain(const MinimaData& data) {
    TimesInput input;
    const auto count = static_cast<std::size_t>(data.count);
    input.times.assign(data.times.begin() + 1, data.times.begin() + 1 + static_cast<std::ptrdiff_t>(count));
    input.types.assign(count, MinimumType::kUnknown);
    input.errors.assign(count, 0.0);
    input.baseTime = data.baseTime;
    return input;
}

TimesInput FromTable(TableReadResult&& table) {
    TimesInput input;
    input.times = std::move(table.times);
    input.types = std::move(table.types);
    input.errors = std::move(table.errors);
    input.baseTime = *std::min_element(input.times.begin(), input.times.end());
    input.columns = DescribeColumns(table);
    input.warnings = std::move(table.warnings);
    return input;
}

TimesInput Refused(std::string error) {
    TimesInput input;
    input.error = std::move(error);
    return input;
}

} // namespace

TimesInput ReadTimesInput(const std::string& path, const TableOptions& table, bool tableAsked) {
    const FileBytes file = ReadBytes(path);
    if (!file.error.empty()) {
        return Refused(file.error);
    }
    std::string plainFailure;
    if (!tableAsked) {
        // Row numbers are never searched as times, nor is a later field taken for them unasked.
        if (FirstFieldCountsRows(file.bytes)) {
            return Refused(path + ": the first field counts the records (a row index, not times); "
                                  "name the column of the times with --time-col");
        }
        const MinimaReadResult plain = ParseMinimaText(file.bytes, kMostCliTimes);
        if (plain.failure == MinimaFailure::kNone) {
            return FromPlain(plain.data);
        }
        // A plain file with too many records is refused as such; only faulty data may be a table.
        if (plain.failure == MinimaFailure::kRunTimeError) {
            return Refused(path + ": " + MinimaMessage(plain));
        }
        plainFailure = MinimaMessage(plain);
    }
    TableOptions options = table;
    options.maxRows = std::min(options.maxRows, kMostCliTimes);
    TableReadResult read = ReadTimesTable(file.bytes, options);
    if (!read.Loaded()) {
        // Without table options the file was first meant to be a plain one: both reasons are given.
        return Refused(path + ": " + (plainFailure.empty() ? "" : plainFailure + " As a table: ") +
                       read.refusal);
    }
    return FromTable(std::move(read));
}

} // namespace quorix::cli
