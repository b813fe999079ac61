#pragma once

#include "state/sharedstate.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorix {

// The captions of a window's printer-setup and print menu entries.
struct PrintMenuCaptions {
    const char* setup;
    const char* print;
};
inline constexpr PrintMenuCaptions kFTPrintMenu{"Print Setup ...", "Print"};
inline constexpr PrintMenuCaptions kOCPrintMenu{"Printer Setup ...", "Print"};
inline constexpr PrintMenuCaptions kAliasPrintMenu{"Print Setup ...", "Print"};

// The option flags the plot windows give the setup dialog: no selection (4), no page range (8),
// return a device context (256).
inline constexpr std::int32_t kPlotSetupFlags = 4 + 8 + 256;

// The lines of the alias list as the window shows them, 1..AliasLineCount, held to the table.
[[nodiscard]] std::span<const std::string> AliasLineSpan(const SharedState& state);

// The printed alias list: five empty lines, then every line after 19 spaces, so the list stands
// clear of the paper's top and left edges.
[[nodiscard]] std::vector<std::string> AliasPrintLines(std::span<const std::string> lines);

// The text with its ASCII letters in upper case.
[[nodiscard]] std::string UpperCase(std::string text);

// The index of the last name whose upper case equals `wanted`, when any does.
[[nodiscard]] std::optional<std::size_t> LastPrinterNamed(const std::vector<std::string>& names,
                                                          const std::string& wanted);

} // namespace quorix
