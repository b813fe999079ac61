#include "printing/printlayout.h"

#include <algorithm>
#include <cctype>

namespace quorix {

namespace {

constexpr int kTopLines = 5;
constexpr std::size_t kIndent = 19;

} // namespace

std::span<const std::string> AliasLineSpan(const SharedState& state) {
    const int count = std::clamp<int>(state.AliasLineCount, 0, kMaxAliasLines);
    return std::span<const std::string>(state.AliasLines).subspan(1, static_cast<std::size_t>(count));
}

std::vector<std::string> AliasPrintLines(std::span<const std::string> lines) {
    std::vector<std::string> printed(kTopLines);
    for (const std::string& line : lines) {
        printed.push_back(std::string(kIndent, ' ') + line);
    }
    return printed;
}

std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::optional<std::size_t> LastPrinterNamed(const std::vector<std::string>& names,
                                            const std::string& wanted) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (UpperCase(names[i]) == wanted) {
            found = i;
        }
    }
    return found;
}

} // namespace quorix
