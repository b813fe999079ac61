#pragma once

#include "state/sharedstate.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorix {

// The main window as the reader sees it.
class ReaderWindow {
public:
    virtual ~ReaderWindow() = default;
    virtual void SetFileNameCaption(const std::string& text) = 0;
    virtual void SetCountCaption(const std::string& text) = 0;
    virtual void EnableCompute() = 0;
    // A modal message with an OK button and the program's title.
    virtual void ShowMessage(const std::string& text) = 0;
};

// A complete data set as read from one file.
struct MinimaData {
    std::array<double, kMaxObservations + 1> times{}; // entries 1..count
    std::vector<std::array<double, kExtraColumns>> extraColumns =
        std::vector<std::array<double, kExtraColumns>>(kMaxObservations + 1);
    std::int16_t count = 0;
    double baseTime = 99999;
};

enum class MinimaFailure {
    kNone,
    kFaultyFirstLine, // a character other than digits, sign, point, comma, "e" and blank
    kFaultyValue,     // a time that is not a non-zero number
    kRunTimeError,    // see errorNumber
};

struct MinimaReadResult {
    MinimaFailure failure = MinimaFailure::kNone;
    int errorNumber = 0;
    MinimaData data;
};

// Reads a whole times-of-minima text from its bytes.
[[nodiscard]] MinimaReadResult ParseMinimaText(std::string_view bytes);

// Reads the file named by DataFileName in DataFolder (made the current folder first, whatever the
// outcome) and replaces the observations only when the whole file is sound; any failure leaves the
// previous data set, labels and "Compute" exactly as they were and tells the user why.
void LoadMinimaFile(SharedState& state, ReaderWindow& window);

} // namespace quorix
