#include "platform/textfile.h"

#include "state/errormessages.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quorix {

namespace {

bool FolderOfExists(const std::string& path) {
    std::error_code ignored;
    auto folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return std::filesystem::is_directory(folder, ignored);
}

} // namespace

int ErrorNumberFromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT:
        return FolderOfExists(path) ? kErrFileNotFound : kErrPathNotFound;
    case ENOTDIR:
        return kErrPathNotFound;
    case EACCES:
    case EPERM:
        return kErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return kErrDiskFull;
    case EIO:
        return kErrDeviceIO;
    case EMFILE:
    case ENFILE:
        return kErrTooManyFiles;
    case ENAMETOOLONG:
        return kErrBadFileName;
    case EEXIST:
        return kErrFileAlreadyExists;
    case ENOMEM:
        return kErrOutOfMemory;
    case ENXIO:
    case ENODEV:
        return kErrDeviceUnavailable;
    case EXDEV:
        return kErrRenameAcrossDisks;
    default: // EISDIR, ELOOP, EROFS, ETXTBSY and the rest: the file cannot be used as asked
        return kErrPathFileAccess;
    }
}

int ChangeCurrentFolder(const std::string& folder) {
    if (::chdir(folder.c_str()) == 0) {
        return 0;
    }
    const int error = errno;
    return error == ENOENT ? kErrPathNotFound : ErrorNumberFromErrno(error, folder);
}

std::string CurrentFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored).string();
}

InputFile::InputFile(const std::string& name) : name_(name) {
    descriptor_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        error_ = ErrorNumberFromErrno(errno, name);
        return;
    }
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0 || S_ISDIR(info.st_mode)) {
        error_ = kErrPathFileAccess;
    }
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool InputFile::Refill() {
    if (error_ != 0 || descriptor_ < 0) {
        return false;
    }
    ssize_t got = 0;
    do {
        got = ::read(descriptor_, buffer_, sizeof buffer_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        error_ = ErrorNumberFromErrno(errno, name_);
        return false;
    }
    position_ = 0;
    filled_ = static_cast<std::size_t>(got);
    return got > 0;
}

} // namespace quorix
