#include "cli/pendingfile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quorix::cli {

namespace {

std::string Reason(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

// The permissions a newly created file gets from the user's umask.
mode_t DefaultFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

PendingFile::~PendingFile() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
    }
}

bool PendingFile::Open(const std::string& path, std::string& error) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        error = Reason(path, EISDIR);
        return false;
    }
    std::string pattern = path + ".XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0) {
        error = Reason(path, errno);
        return false;
    }
    fchmod(descriptor, DefaultFileMode());
    path_ = path;
    temporary_ = pattern;
    stream_ = fdopen(descriptor, "wb");
    if (stream_ == nullptr) {
        error = Reason(path, errno);
        close(descriptor);
        return false;
    }
    return true;
}

void PendingFile::Write(std::string_view text) {
    if (stream_ != nullptr && !failed_ && std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) {
        failed_ = true;
        writeErrno_ = errno;
    }
}

bool PendingFile::CloseStream(std::string& error) {
    if (stream_ == nullptr) {
        return true;
    }
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (failed_ || !closed) {
        error = Reason(path_, failed_ ? writeErrno_ : errno);
        return false;
    }
    return true;
}

bool PendingFile::Commit(std::string& error) {
    if (!CloseStream(error)) {
        return false;
    }
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        error = Reason(path_, errno);
        return false;
    }
    temporary_.clear();
    return true;
}

} // namespace quorix::cli
