#include "state/errormessages.h"

#include <string_view>
#include <utility>

namespace quorix {

namespace {

constexpr std::pair<int, std::string_view> kMessages[] = {
    {4, "Error: Out of data."},
    {6, "Error: Overflow."},
    {7, "Out of memory."},
    {9, "Subscript out of range."},
    {24, "Device timeout."},
    {25, "Device fault."},
    {27, "Error: Out of paper."},
    {52, "Error: Bad file name or number."},
    {53, "Error: File not found."},
    {54, "Error: Bad file mode."},
    {55, "Error: File already open."},
    {57, "Error: Device I/O error."},
    {58, "Error: File already exists."},
    {61, "Error: Disk full."},
    {62, "Error: Input past end of file."},
    {64, "Error: Bad file name."},
    {67, "Error: Too many files."},
    {68, "Error: Device unavailable."},
    {70, "Error: Permission denied."},
    {71, "Error: Disk not ready."},
    {72, "Error: Disk media error"},
    {74, "Error: Rename across disks"},
    {75, "Error: Path/file access error."},
    {76, "Error: Path not found."},
    {321, "Error: Invalid file format."},
    {708, "Error: File not found."},
    {712, "Error: Device I/O error."},
    {716, "Error: Disk full."},
    {719, "Error: Bad file name."},
    {725, "Error: Permission denied."},
    {730, "Error: Path access error."},
    {731, "Error: Path not found."},
};

} // namespace

void FillErrorMessages(std::vector<std::string>& table) {
    table.assign(1001, std::string());
    for (const auto& [number, text] : kMessages) {
        table[number] = text;
    }
}

std::string ErrorText(const std::vector<std::string>& table, int n) {
    if (n < 0 || static_cast<std::size_t>(n) >= table.size()) {
        return {};
    }
    return table[n];
}

std::string NumberedErrorMessage(const std::vector<std::string>& table, int n) {
    std::string number = std::to_string(n);
    if (n >= 0) {
        number.insert(0, 1, ' ');
    }
    return number + " " + ErrorText(table, n);
}

} // namespace quorix
