#include "input/minimareader.h"

#include "platform/textfile.h"
#include "state/errormessages.h"
#include "state/numbertext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorix {

namespace {

constexpr int kEnd = InputFile::kEnd;
constexpr std::size_t kLongestFirstLine = 32767;
// Far more characters than any sensible number needs; a field's later characters are read past but
// not kept, so one enormous line costs no more than reading it.
constexpr std::size_t kLongestKeptField = 4096;

const char* const kFaultyFirstLineText = "Faulty data or not a text file.  Please try again.";
const char* const kFaultyValueText = "Faulty data, or not a text file.  Please try again.";

// Bytes held in memory, read the way a file is read.
class TextSource {
public:
    explicit TextSource(std::string_view bytes) : bytes_(bytes) {}
    int Next() { return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : kEnd; }
    int Peek() const {
        return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_]) : kEnd;
    }
    int Error() const { return 0; }
    void Rewind() { position_ = 0; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

struct Outcome {
    MinimaFailure failure = MinimaFailure::kNone;
    int errorNumber = 0;
};

// A failure of the source itself wins over the condition the reader was about to report.
template <typename Source> Outcome RunTimeError(const Source& source, int otherwise) {
    return {MinimaFailure::kRunTimeError, source.Error() != 0 ? source.Error() : otherwise};
}

bool AllowedInFirstLine(int c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ',' || c == 'e' || c == ' ';
}

// CR, LF and CR LF all end a line, so files from any system read alike.
bool IsLineEnd(int c) {
    return c == '\r' || c == '\n';
}

// Walks the first line, counting its commas. It is read no further than one character past the
// longest allowed line, so a file without line ends is refused without being read whole.
template <typename Source> Outcome CheckFirstLine(Source& source, int& commas) {
    if (source.Peek() == kEnd) {
        return RunTimeError(source, kErrInputPastEnd);
    }
    std::size_t length = 0;
    bool faulty = false;
    for (int c = source.Next(); c != kEnd && !IsLineEnd(c); c = source.Next()) {
        if (++length > kLongestFirstLine) {
            return RunTimeError(source, kErrOverflow);
        }
        commas += c == ',';
        faulty = faulty || !AllowedInFirstLine(c);
    }
    if (source.Error() != 0) {
        return RunTimeError(source, kErrNone);
    }
    return {faulty ? MinimaFailure::kFaultyFirstLine : MinimaFailure::kNone, 0};
}

// Reads one field up to a comma or a line end into `field`, without its leading blanks;
// false when the text ends before the field starts.
template <typename Source> bool ReadField(Source& source, std::string& field) {
    field.clear();
    if (source.Peek() == kEnd) {
        return false;
    }
    for (int c = source.Next(); c != kEnd && c != ','; c = source.Next()) {
        if (IsLineEnd(c)) {
            if (c == '\r' && source.Peek() == '\n') {
                source.Next();
            }
            break;
        }
        if (field.size() < kLongestKeptField && !(field.empty() && IsLeadingBlank(c))) {
            field += static_cast<char>(c);
        }
    }
    return true;
}

bool IsSoundTime(double time) {
    return std::isfinite(time) && time != 0;
}

// Takes records of 1 + extraFields fields until the text ends right after one. The start of a
// record beyond the last one allowed is refused before anything more is read.
template <typename Source>
Outcome ReadRecords(Source& source, int extraFields, std::int32_t capacity, MinimaData& data) {
    std::string field;
    std::int32_t i = 1;
    do {
        if (i > capacity) {
            return RunTimeError(source, kErrSubscriptOutOfRange);
        }
        if (!ReadField(source, field)) {
            return RunTimeError(source, kErrInputPastEnd);
        }
        // A field that is not a number as a whole ("54174. 4301") is kept as NaN, so the check of
        // every time below refuses the file instead of reading 54174.
        data.times.push_back(ReadWholeNumber(field).value_or(std::numeric_limits<double>::quiet_NaN()));
        data.extraColumns.emplace_back();
        data.baseTime = std::min(data.baseTime, data.times[i]);
        for (int c = 1; c <= extraFields; ++c) {
            if (c >= kExtraColumns) {
                return RunTimeError(source, kErrSubscriptOutOfRange);
            }
            if (!ReadField(source, field)) {
                return RunTimeError(source, kErrInputPastEnd);
            }
            data.extraColumns[i][c] = ReadLeadingNumber(field);
        }
        ++i;
    } while (source.Peek() != kEnd);
    if (source.Error() != 0) {
        return RunTimeError(source, kErrNone);
    }
    data.count = i - 1;
    const auto first = data.times.begin() + 1;
    const bool sound = std::all_of(first, first + data.count, IsSoundTime);
    return {sound ? MinimaFailure::kNone : MinimaFailure::kFaultyValue, 0};
}

// The first-line check, then the records read from the start of the same source.
template <typename Source> MinimaReadResult ReadMinima(Source& source, std::int32_t capacity) {
    MinimaReadResult result;
    int commas = 0;
    Outcome outcome = CheckFirstLine(source, commas);
    if (outcome.failure == MinimaFailure::kNone) {
        source.Rewind();
        outcome = ReadRecords(source, commas, capacity, result.data);
    }
    result.failure = outcome.failure;
    result.errorNumber = outcome.errorNumber;
    return result;
}

// The file is closed again when this returns, before any message is shown.
MinimaReadResult ReadStateFile(const SharedState& state) {
    if (const int error = ChangeCurrentFolder(state.DataFolder); error != kErrNone) {
        MinimaReadResult result;
        result.failure = MinimaFailure::kRunTimeError;
        result.errorNumber = error;
        return result;
    }
    return ReadMinimaFile(state.DataFileName);
}

// Copies a list into a fixed array, the entries past the list set to zero.
template <std::size_t N> void CopyPadded(const std::vector<double>& from, std::array<double, N>& to) {
    to.fill(0.0);
    std::copy_n(from.begin(), std::min(from.size(), N), to.begin());
}

} // namespace

MinimaReadResult ParseMinimaText(std::string_view bytes, std::int32_t capacity) {
    TextSource source(bytes);
    return ReadMinima(source, capacity);
}

MinimaReadResult ReadMinimaFile(const std::string& name, std::int32_t capacity) {
    InputFile file(name);
    return ReadMinima(file, capacity);
}

std::string MinimaFailureText(const MinimaReadResult& result, const std::vector<std::string>& errorMessages) {
    switch (result.failure) {
    case MinimaFailure::kFaultyFirstLine:
        return kFaultyFirstLineText;
    case MinimaFailure::kFaultyValue:
        return kFaultyValueText;
    case MinimaFailure::kRunTimeError:
        return ErrorText(errorMessages, result.errorNumber);
    case MinimaFailure::kNone:
        break;
    }
    return {};
}

void ApplyMinimaResult(SharedState& state, ReaderWindow& window, const MinimaReadResult& result) {
    if (result.failure != MinimaFailure::kNone) {
        window.ShowMessage(MinimaFailureText(result, state.ErrorMessages));
        return;
    }
    CopyPadded(result.data.times, state.ObsTimes);
    state.ObsExtraColumns = result.data.extraColumns;
    state.ObsExtraColumns.resize(kMaxObservations + 1);
    // A plain file says nothing of minimum types or timing errors: none survive from an imported table.
    state.ObsTypes.fill(MinimumType::kUnknown);
    state.ObsErrors.fill(0.0);
    state.ObsCount = static_cast<std::int16_t>(result.data.count);
    state.BaseTime = result.data.baseTime;
    window.SetFileNameCaption(state.DataFileName);
    state.FTComputed = kFalse;
    window.EnableCompute();
    window.SetCountCaption(std::string(" ").append(std::to_string(state.ObsCount)));
}

void LoadMinimaFile(SharedState& state, ReaderWindow& window) {
    ApplyMinimaResult(state, window, ReadStateFile(state));
}

} // namespace quorix
