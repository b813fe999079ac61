#include "input/minimareader.h"

#include "platform/textfile.h"
#include "state/errormessages.h"
#include "state/numbertext.h"

#include <algorithm>
#include <cmath>

namespace quorix {

namespace {

constexpr std::size_t kLongestFirstLine = 32767;
// Digits beyond this many in one field cannot change what the field reads as in practice.
constexpr std::size_t kLongestKeptField = 1 << 20;
constexpr int kEnd = -1;

const char* const kFaultyFirstLine = "Faulty data or not a text file.  Please try again.";
const char* const kFaultyValue = "Faulty data, or not a text file.  Please try again.";

// Bytes of a text held in memory, read the way a file is read.
class TextSource {
public:
    explicit TextSource(std::string_view bytes) : bytes_(bytes) {}
    int Next() { return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : kEnd; }
    int Peek() const {
        return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_]) : kEnd;
    }
    int Error() const { return 0; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

bool AllowedInFirstLine(int c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ',' || c == 'e' || c == ' ';
}

bool IsLineEnd(int c) {
    return c == '\r' || c == '\n';
}

// Takes a line end: CR LF counts as one, as does a lone CR or LF.
template <typename Source> void TakeLineEnd(Source& source, int taken) {
    if (taken == '\r' && source.Peek() == '\n') {
        source.Next();
    }
}

// Checks the first line; returns the number of commas, or a failure.
template <typename Source> MinimaReadResult CheckFirstLine(Source& source, int& commas) {
    MinimaReadResult result;
    if (source.Peek() == kEnd) {
        result.failure = MinimaFailure::kRunTimeError;
        result.errorNumber = source.Error() != 0 ? source.Error() : kErrInputPastEnd;
        return result;
    }
    std::size_t length = 0;
    bool faulty = false;
    for (int c = source.Next(); c != kEnd && !IsLineEnd(c); c = source.Next()) {
        if (++length > kLongestFirstLine) {
            result.failure = MinimaFailure::kRunTimeError;
            result.errorNumber = kErrOverflow;
            return result;
        }
        commas += c == ',';
        faulty = faulty || !AllowedInFirstLine(c);
    }
    if (source.Error() != 0) {
        result.failure = MinimaFailure::kRunTimeError;
        result.errorNumber = source.Error();
    } else if (faulty) {
        result.failure = MinimaFailure::kFaultyFirstLine;
    }
    return result;
}

// Reads one field up to a comma or line end; false when the text ends before the field starts.
template <typename Source> bool ReadField(Source& source, std::string& field) {
    field.clear();
    if (source.Peek() == kEnd) {
        return false;
    }
    for (int c = source.Next(); c != kEnd && c != ','; c = source.Next()) {
        if (IsLineEnd(c)) {
            TakeLineEnd(source, c);
            break;
        }
        if (field.size() < kLongestKeptField) {
            field += static_cast<char>(c);
        }
    }
    return true;
}

bool IsSoundTime(double time) {
    return std::isfinite(time) && time != 0;
}

template <typename Source> MinimaReadResult ReadRecords(Source& source, int extraFields) {
    MinimaReadResult result;
    MinimaData& data = result.data;
    std::string field;
    const auto fail = [&](int number) {
        result.failure = MinimaFailure::kRunTimeError;
        result.errorNumber = source.Error() != 0 ? source.Error() : number;
        return result;
    };
    int i = 1;
    do {
        if (i > kMaxObservations) {
            return fail(kErrSubscriptOutOfRange);
        }
        if (!ReadField(source, field)) {
            return fail(kErrInputPastEnd);
        }
        data.times[i] = ReadLeadingNumber(field);
        data.baseTime = std::min(data.baseTime, data.times[i]);
        for (int c = 1; c <= extraFields; ++c) {
            if (c >= kExtraColumns) {
                return fail(kErrSubscriptOutOfRange);
            }
            if (!ReadField(source, field)) {
                return fail(kErrInputPastEnd);
            }
            data.extraColumns[i][c] = ReadLeadingNumber(field);
        }
        ++i;
    } while (source.Peek() != kEnd);
    if (source.Error() != 0) {
        return fail(source.Error());
    }
    data.count = static_cast<std::int16_t>(i - 1);
    const auto* first = data.times.begin() + 1;
    if (!std::all_of(first, first + data.count, IsSoundTime)) {
        result.failure = MinimaFailure::kFaultyValue;
    }
    return result;
}

// The two passes over a source that can be read from its start twice.
template <typename Source, typename Reopen> MinimaReadResult ReadMinima(Source& first, Reopen reopen) {
    int commas = 0;
    MinimaReadResult checked = CheckFirstLine(first, commas);
    if (checked.failure != MinimaFailure::kNone) {
        return checked;
    }
    return reopen([commas](auto& source) { return ReadRecords(source, commas); });
}

void Commit(SharedState& state, const MinimaData& data) {
    state.ObsTimes = data.times;
    state.ObsExtraColumns = data.extraColumns;
    state.ObsCount = data.count;
    state.BaseTime = data.baseTime;
}

} // namespace

MinimaReadResult ParseMinimaText(std::string_view bytes) {
    TextSource first(bytes);
    return ReadMinima(first, [bytes](auto read) {
        TextSource again(bytes);
        return read(again);
    });
}

void LoadMinimaFile(SharedState& state, ReaderWindow& window) {
    MinimaReadResult result;
    if (const int folderError = ChangeCurrentFolder(state.DataFolder); folderError != 0) {
        result.failure = MinimaFailure::kRunTimeError;
        result.errorNumber = folderError;
    } else {
        InputFile first(state.DataFileName);
        result = ReadMinima(first, [&state](auto read) {
            InputFile again(state.DataFileName);
            return read(again);
        });
    }
    switch (result.failure) {
    case MinimaFailure::kFaultyFirstLine:
        window.ShowMessage(kFaultyFirstLine);
        return;
    case MinimaFailure::kFaultyValue:
        window.ShowMessage(kFaultyValue);
        return;
    case MinimaFailure::kRunTimeError:
        window.ShowMessage(ErrorText(state.ErrorMessages, result.errorNumber));
        return;
    case MinimaFailure::kNone:
        break;
    }
    Commit(state, result.data);
    window.SetFileNameCaption(state.DataFileName);
    state.FTComputed = kFalse;
    window.EnableCompute();
    window.SetCountCaption(std::string(" ").append(std::to_string(state.ObsCount)));
}

} // namespace quorix
