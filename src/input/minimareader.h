#pragma once

#include "state/sharedstate.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace quorix {

// The main window as the reader sees it, so the reader runs without a real window.
class ReaderWindow {
public:
    virtual ~ReaderWindow() = default;
    // Label6: the name of the file loaded last.
    virtual void SetFileNameCaption(const std::string& text) = 0;
    // Label8: the number of observations with its leading space, e.g. " 500".
    virtual void SetCountCaption(const std::string& text) = 0;
    // Command2: "Compute" becomes usable once data are loaded.
    virtual void EnableCompute() = 0;
    // A modal message with an OK button and the program's title.
    virtual void ShowMessage(const std::string& text) = 0;
};

// A complete data set as read from one file, laid out as the shared state holds it: entry 0 of each
// list is not used, entries 1..count hold the records.
struct MinimaData {
    std::vector<double> times = std::vector<double>(1);
    std::vector<std::array<double, kExtraColumns>> extraColumns =
        std::vector<std::array<double, kExtraColumns>>(1); // columns 1..5 of rows 1..count
    std::int32_t count = 0;
    // The time origin of every phase: the lowest time read, so that a constant offset of the times
    // (full Julian dates or JD - 2400000) changes no result.
    double baseTime = std::numeric_limits<double>::infinity();
};

// Why a file was not loaded.
enum class MinimaFailure {
    kNone,
    kFaultyFirstLine, // a first-line character other than digits, sign, point, comma, "e" and blank
    kFaultyValue,     // a time that is not a finite non-zero number
    kRunTimeError,    // errorNumber tells which
};

// Either a complete data set (failure kNone) or the reason there is none; after a failure `data`
// holds whatever was read before it and means nothing.
struct MinimaReadResult {
    MinimaFailure failure = MinimaFailure::kNone;
    int errorNumber = 0;
    MinimaData data;
};

// Reads a whole times-of-minima text from its bytes; nothing outside the bytes is touched. A record
// beyond `capacity` is refused as the desktop program refuses its 501st.
[[nodiscard]] MinimaReadResult ParseMinimaText(std::string_view bytes,
                                               std::int32_t capacity = kMaxObservations);

// Reads the file `name` (relative to the current folder) in the same two passes; the file is closed
// again when this returns.
[[nodiscard]] MinimaReadResult ReadMinimaFile(const std::string& name,
                                              std::int32_t capacity = kMaxObservations);

// The message a failed read shows the user: one of the two faulty-data texts or the run-time error's
// text from `errorMessages`; empty for a complete data set.
[[nodiscard]] std::string MinimaFailureText(const MinimaReadResult& result,
                                            const std::vector<std::string>& errorMessages);

// Hands a read result to the program: a complete data set replaces the observations and updates the
// main window; a failure shows its message and leaves the state and the window exactly as they were.
// The result must come from a read with the desktop's capacity.
void ApplyMinimaResult(SharedState& state, ReaderWindow& window, const MinimaReadResult& result);

// Reads the file named by DataFileName in DataFolder (made the current folder first, whatever the
// outcome) and applies what it found.
void LoadMinimaFile(SharedState& state, ReaderWindow& window);

} // namespace quorix
