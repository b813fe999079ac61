#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quorix::cli {

// An output file that appears whole or not at all: everything goes to a temporary file beside it,
// which replaces the named file only when Commit succeeds and is removed otherwise.
class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Creates the temporary file; false with `error` set when the folder cannot take it.
    [[nodiscard]] bool Open(const std::string& path, std::string& error);
    [[nodiscard]] bool IsOpen() const { return stream_ != nullptr || !temporary_.empty(); }
    // The temporary file's name, for writers that open files by name themselves (close first).
    [[nodiscard]] const std::string& TemporaryPath() const { return temporary_; }
    // Closes the stream so that another writer can take over the temporary file.
    [[nodiscard]] bool CloseStream(std::string& error);
    void Write(std::string_view text);
    // Closes the temporary file and renames it to the final name; false with `error` set on failure.
    [[nodiscard]] bool Commit(std::string& error);

private:
    std::string path_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    bool failed_ = false;
    int writeErrno_ = 0;
};

} // namespace quorix::cli
