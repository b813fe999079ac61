#pragma once

#include "state/sharedstate.h"

#include <string>
#include <vector>

namespace quorix {

// The file the program leaves in its current folder when it ends through the main window. Nothing
// reads it back: it is there for the user and for other tools.
inline constexpr const char* kSettingsFileName = "Quorix15.ini";

// How the minimum period stands on its line: closing the main window writes it as the second field,
// after an empty one; File > Exit writes the value alone. Readers of the file rely on both forms.
enum class PeriodLine { kSecondField, kValueAlone };

// The 17 lines of the settings file, without their line ends: the main window's top and left
// (rounded, halves to even, and held to 16 bits like every window measure), the stored places of the
// FT, O-C and alias windows (top, left, height, width each), the minimum period, a line that carries
// no value, and the number of steps.
[[nodiscard]] std::vector<std::string> SettingsFileLines(const SharedState& state, double mainTop,
                                                         double mainLeft, PeriodLine periodLine);

} // namespace quorix
