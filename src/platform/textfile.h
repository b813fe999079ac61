#pragma once

#include <cstdio>
#include <string>

namespace quorix {

// The run-time error number of a failed file operation on `path`, from its errno value.
[[nodiscard]] int ErrorNumberFromErrno(int error, const std::string& path);

// Makes a folder the process's current folder; 0 or a run-time error number.
[[nodiscard]] int ChangeCurrentFolder(const std::string& folder);
[[nodiscard]] std::string CurrentFolder();

// A file opened for reading, byte by byte through a buffer; closed when it goes out of scope.
class InputFile {
public:
    static constexpr int kEnd = -1;

    // Opens `name` relative to the current folder; error() tells whether that failed.
    explicit InputFile(const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The run-time error number of the last failure, or 0.
    [[nodiscard]] int Error() const { return error_; }
    // The next byte (0..255), or kEnd at the end of the file or after a failure.
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

private:
    bool Refill();

    std::string name_;
    int descriptor_ = -1;
    int error_ = 0;
    char buffer_[65536];
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
};

} // namespace quorix
