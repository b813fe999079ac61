#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorix {

// The run-time error number of a failed file operation on `path`, from its errno value. A missing
// entry is "file not found" when the folder part of `path` exists and "path not found" otherwise.
[[nodiscard]] int ErrorNumberFromErrno(int error, const std::string& path);

// Makes a folder the process's current folder, so that later names are relative to it; 0 or a
// run-time error number. A missing folder is always "path not found".
[[nodiscard]] int ChangeCurrentFolder(const std::string& folder);

// An open file descriptor that is closed exactly once, however the owner leaves.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
    ~FileHandle() { static_cast<void>(Close()); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    [[nodiscard]] int Descriptor() const { return descriptor_; }
    [[nodiscard]] bool IsOpen() const { return descriptor_ >= 0; }
    // Closes now; the errno value of a failed close (which can carry a late write error), or 0.
    [[nodiscard]] int Close();

private:
    int descriptor_ = -1;
};

// A regular file opened for reading relative to the current folder and read byte by byte through a
// fixed buffer, so a reader takes no more of a file than it asks for. Anything that is not a
// regular file (a folder, a pipe, a device) is refused rather than read or waited on.
class InputFile {
public:
    static constexpr int kEnd = -1;

    explicit InputFile(const std::string& name);

    // The run-time error number of the first failure (opening, reading, rewinding), or 0.
    [[nodiscard]] int Error() const { return error_; }
    // The next byte (0..255), or kEnd at the end of the file or once a failure has happened.
    int Next() {
        if (position_ == filled_ && !Refill()) {
            return kEnd;
        }
        return static_cast<unsigned char>(buffer_[position_++]);
    }
    // The next byte without taking it.
    [[nodiscard]] int Peek() {
        if (position_ == filled_ && !Refill()) {
            return kEnd;
        }
        return static_cast<unsigned char>(buffer_[position_]);
    }
    // Goes back to the first byte, for a second pass over the very same file.
    void Rewind();

private:
    bool Refill();
    void Fail(int errnoValue);

    std::string name_;
    FileHandle file_;
    int error_ = 0;
    bool atEnd_ = false;
    std::unique_ptr<char[]> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
};

// A file that appears whole or not at all: everything goes to a new file beside `name`, which takes
// the place of `name` in one step, flushed to the disk, when Commit succeeds, and is removed
// otherwise. A failure on the way (a full disk, a folder that cannot be written, a folder of that
// name) leaves `name` as it was and no half-written file behind.
class PendingFile {
public:
    // Creates the new file; Error tells whether that worked.
    explicit PendingFile(std::string name);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // The errno value of the first failure so far, or 0.
    [[nodiscard]] int Error() const { return error_; }
    // The new file's name, for writers that open files by name themselves.
    [[nodiscard]] const std::string& TemporaryPath() const { return temporary_; }
    void Write(std::string_view bytes);
    // Flushes and closes the new file and renames it to `name`; 0 or the errno value of the first
    // failure, after which the new file is gone.
    [[nodiscard]] int Commit();

private:
    std::string name_;
    std::string temporary_;
    int error_ = 0;
    FileHandle file_;
};

// Writes `lines` to the file `name` relative to the current folder, each line ended by CR LF, first
// into a new file beside `name`, flushed to the disk, which then takes the place of `name` in one
// step: a failure on the way (a full disk, a folder that cannot be written, a folder of that name)
// leaves `name` as it was and no half-written file behind. 0 or the run-time error number of the
// first failure (opening, writing, closing or renaming).
[[nodiscard]] int ReplaceTextFile(const std::string& name, const std::vector<std::string>& lines);

} // namespace quorix
