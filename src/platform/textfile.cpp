#include "platform/textfile.h"

#include "state/errormessages.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quorix {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

bool FolderPartExists(const std::string& path) {
    std::error_code ignored;
    auto folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return std::filesystem::is_directory(folder, ignored);
}

// Retries a system call that a signal interrupted.
template <typename Call> auto Retrying(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

int WriteAll(int descriptor, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t got =
            Retrying([&] { return ::write(descriptor, bytes.data() + written, bytes.size() - written); });
        if (got < 0) {
            return errno;
        }
        written += static_cast<std::size_t>(got);
    }
    return 0;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes.append(line).append("\r\n");
    }
    return bytes;
}

// Creates a file of a name no other entry has, in the folder of `name`, for writing: its descriptor
// (or -1 with errno set), its name in `created`. The name starts with a dot so that a left-over
// never looks like the real file.
int CreateSibling(const std::string& name, std::string& created) {
    const std::filesystem::path target(name);
    std::string stem(1, '.');
    stem.append(target.filename().string()).append(".").append(std::to_string(::getpid())).append(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = (target.parent_path() / (stem + std::to_string(attempt))).string();
        const int descriptor =
            Retrying([&] { return ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1;
}

// The new file of a PendingFile for `name`: its descriptor, or -1 with `error` set. A folder of that
// name is refused at once, as the rename would refuse it at the end.
int CreatePending(const std::string& name, std::string& created, int& error) {
    struct stat status {};
    if (::stat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        error = EISDIR;
        return -1;
    }
    const int descriptor = CreateSibling(name, created);
    if (descriptor < 0) {
        error = errno;
        created.clear();
    }
    return descriptor;
}

// Makes a finished rename survive a crash; a folder that cannot be synchronised changes nothing.
void SyncFolderOf(const std::string& name) {
    auto folder = std::filesystem::path(name).parent_path();
    FileHandle handle(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.IsOpen()) {
        static_cast<void>(::fsync(handle.Descriptor()));
    }
}

} // namespace

int ErrorNumberFromErrno(int error, const std::string& path) {
    switch (error) {
    case 0:
        return kErrNone;
    case ENOENT:
        return FolderPartExists(path) ? kErrFileNotFound : kErrPathNotFound;
    case ENOTDIR:
        return kErrPathNotFound;
    case EACCES:
    case EPERM:
        return kErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return kErrDiskFull;
    case EIO:
        return kErrDeviceIO;
    case EMFILE:
    case ENFILE:
        return kErrTooManyFiles;
    case ENAMETOOLONG:
    case EILSEQ:
        return kErrBadFileName;
    case EBADF:
        return kErrBadFileNameOrNumber;
    case EEXIST:
        return kErrFileAlreadyExists;
    case ENOMEM:
        return kErrOutOfMemory;
    case ENXIO:
    case ENODEV:
        return kErrDeviceUnavailable;
    case ENOMEDIUM:
        return kErrDiskNotReady;
    case ETIMEDOUT:
        return kErrDeviceTimeout;
    case EXDEV:
        return kErrRenameAcrossDisks;
    default: // EISDIR, ELOOP, EROFS, EBUSY, ETXTBSY, EINVAL and the rest: the entry cannot be used as asked
        return kErrPathFileAccess;
    }
}

int ChangeCurrentFolder(const std::string& folder) {
    if (::chdir(folder.c_str()) == 0) {
        return kErrNone;
    }
    const int error = errno;
    return error == ENOENT ? kErrPathNotFound : ErrorNumberFromErrno(error, folder);
}

int FileHandle::Close() {
    if (descriptor_ < 0) {
        return 0;
    }
    // The descriptor is gone after close() whatever it returns, so it is never closed twice.
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0 || errno == EINTR ? 0 : errno;
}

InputFile::InputFile(const std::string& name)
    // Without O_NONBLOCK, opening a named pipe would wait for a writer; regular files ignore it.
    : name_(name), file_(Retrying([&] { return ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); })) {
    if (!file_.IsOpen()) {
        Fail(errno);
        return;
    }
    struct stat info {};
    if (::fstat(file_.Descriptor(), &info) != 0) {
        Fail(errno);
    } else if (!S_ISREG(info.st_mode)) {
        Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    } else {
        buffer_ = std::make_unique<char[]>(kBufferSize);
    }
}

void InputFile::Fail(int errnoValue) {
    if (error_ == 0) {
        error_ = ErrorNumberFromErrno(errnoValue, name_);
    }
}

bool InputFile::Refill() {
    if (error_ != 0 || atEnd_) {
        return false;
    }
    const ssize_t got = Retrying([&] { return ::read(file_.Descriptor(), buffer_.get(), kBufferSize); });
    if (got < 0) {
        Fail(errno);
        return false;
    }
    position_ = 0;
    filled_ = static_cast<std::size_t>(got);
    atEnd_ = got == 0;
    return !atEnd_;
}

void InputFile::Rewind() {
    if (error_ != 0) {
        return;
    }
    if (::lseek(file_.Descriptor(), 0, SEEK_SET) != 0) {
        Fail(errno);
    }
    position_ = 0;
    filled_ = 0;
    atEnd_ = false;
}

PendingFile::PendingFile(std::string name)
    : name_(std::move(name)), file_(CreatePending(name_, temporary_, error_)) {}

PendingFile::~PendingFile() {
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

void PendingFile::Write(std::string_view bytes) {
    if (error_ == 0) {
        error_ = WriteAll(file_.Descriptor(), bytes);
    }
}

int PendingFile::Commit() {
    if (error_ == 0 && Retrying([&] { return ::fsync(file_.Descriptor()); }) != 0) {
        error_ = errno;
    }
    if (const int closing = file_.Close(); error_ == 0) {
        error_ = closing;
    }
    if (error_ == 0 && ::rename(temporary_.c_str(), name_.c_str()) != 0) {
        error_ = errno;
    }
    if (error_ == 0) {
        temporary_.clear();
        SyncFolderOf(name_);
    }
    return error_;
}

int ReplaceTextFile(const std::string& name, const std::vector<std::string>& lines) {
    PendingFile file(name);
    file.Write(CrLfLines(lines));
    return ErrorNumberFromErrno(file.Commit(), name);
}

} // namespace quorix
