#pragma once

#include <string>
#include <vector>

namespace quorix {

// Run-time error numbers that file, printer and device operations report.
enum ErrorNumber : int {
    kErrNone = 0,
    kErrOutOfData = 4,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscriptOutOfRange = 9,
    kErrDeviceTimeout = 24,
    kErrDeviceFault = 25,
    kErrOutOfPaper = 27,
    kErrBadFileNameOrNumber = 52,
    kErrFileNotFound = 53,
    kErrBadFileMode = 54,
    kErrFileAlreadyOpen = 55,
    kErrDeviceIO = 57,
    kErrFileAlreadyExists = 58,
    kErrDiskFull = 61,
    kErrInputPastEnd = 62,
    kErrBadFileName = 64,
    kErrTooManyFiles = 67,
    kErrDeviceUnavailable = 68,
    kErrPermissionDenied = 70,
    kErrDiskNotReady = 71,
    kErrDiskMedia = 72,
    kErrRenameAcrossDisks = 74,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
    kErrInvalidFileFormat = 321,
};

// Fills the message table (entries 0..1000) with the program's texts; unlisted entries stay empty.
void FillErrorMessages(std::vector<std::string>& table);

// The text of error number n, or the empty text when n has none or lies outside the table.
[[nodiscard]] std::string ErrorText(const std::vector<std::string>& table, int n);

// The message the print commands show: the number with one leading space (a minus sign in its
// place when negative), one space, then the text, e.g. " 25 Device fault." or " 482 ".
[[nodiscard]] std::string NumberedErrorMessage(const std::vector<std::string>& table, int n);

} // namespace quorix
