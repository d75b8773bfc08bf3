#include "io/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace fudeline {
namespace {

bool IsStandardStream(const std::string& path) {
    return path == kStandardStreamName;
}

// Closes a descriptor this module opened, unless it is a standard stream.
class OwnedDescriptor {
  public:
    OwnedDescriptor(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~OwnedDescriptor() {
        if (owned_ && fd_ >= 0) ::close(fd_);
    }
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now and reports the system's errno, or 0.
    int Close() {
        if (!owned_ || fd_ < 0) return 0;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int fd_;
    bool owned_;
};

// Writes all of `bytes`; returns 0 or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        // A write that makes no progress would loop forever; treat it as a full device.
        if (n == 0) return ENOSPC;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

// Why a temporary beside `path` could not be made: the target itself may be
// fine (a file in /proc, a folder without write permission), so the message
// says which file failed.
Error TemporaryError(const std::string& path, const std::string& temporary, int why) {
    return Error{path, ErrorKind::TemporaryFile, temporary, why};
}

// Writes `bytes` to a new temporary file beside `path` with `mode`, and
// returns its name; nothing is left behind on failure. When `path` does not
// exist yet, a temporary that cannot be made fails for the reason the file
// itself would (a missing folder), so the message names the file alone.
Result<std::string> WriteTemporaryBeside(const std::string& path, bool exists, mode_t mode,
                                         std::string_view bytes) {
    std::string temporary = path + ".XXXXXX";
    OwnedDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC), true);
    if (fd.get() < 0) {
        return exists ? TemporaryError(path, path + ".XXXXXX", errno) : SystemError(path, errno);
    }
    int why = ::fchmod(fd.get(), mode & 07777) == 0 ? 0 : errno;
    if (why == 0) why = WriteAll(fd.get(), bytes);
    // Delayed write errors (network file systems, quotas) surface at close.
    if (why == 0) why = fd.Close();
    if (why != 0) {
        ::unlink(temporary.c_str());
        return SystemError(path, why);
    }
    return temporary;
}

Status RenameInto(const std::string& temporary, const std::string& path) {
    if (::rename(temporary.c_str(), path.c_str()) == 0) return {};
    const int why = errno;
    ::unlink(temporary.c_str());
    return SystemError(path, why);
}

// Writes a temporary file beside `path` and renames it over `path`, so a
// failure part-way (a full disk, a size limit) leaves the old content whole.
Status ReplaceRegularFile(const std::string& path, mode_t mode, std::string_view bytes) {
    Result<std::string> temporary = WriteTemporaryBeside(path, true, mode, bytes);
    if (!temporary) return std::move(temporary).error();
    return RenameInto(*temporary, path);
}

// The mode a new file gets from open(2) with 0666.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

Error EmptyNameError() {
    return Error{"\"\"", "a file name cannot be empty"};
}

}  // namespace

std::string InputName(const std::string& path) {
    return IsStandardStream(path) ? "standard input" : path.empty() ? "\"\"" : path;
}

std::string OutputName(const std::string& path) {
    return IsStandardStream(path) ? "standard output" : path.empty() ? "\"\"" : path;
}

Result<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return EmptyNameError();
    const std::string name = InputName(path);
    const bool standard = IsStandardStream(path);
    OwnedDescriptor fd(standard ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC),
                       !standard);
    if (fd.get() < 0) return SystemError(name, errno);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        // A directory opens fine and fails here with "Is a directory".
        if (n < 0) return SystemError(name, errno);
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            return TooLargeError(name, maxBytes);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

Status WriteFileBytes(const std::string& path, std::string_view bytes) {
    if (path.empty()) return EmptyNameError();
    if (IsStandardStream(path)) {
        const int why = WriteAll(STDOUT_FILENO, bytes);
        return why == 0 ? Status() : SystemError(OutputName(path), why);
    }
    struct stat info {};
    const bool exists = ::lstat(path.c_str(), &info) == 0;
    // A plain file with one name is replaced whole; links, devices and pipes
    // must be written where they are.
    if (exists && S_ISREG(info.st_mode) && info.st_nlink == 1) {
        return ReplaceRegularFile(path, info.st_mode, bytes);
    }
    OwnedDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666), true);
    if (fd.get() < 0) return SystemError(path, errno);
    int why = WriteAll(fd.get(), bytes);
    if (why == 0) why = fd.Close();
    if (why != 0) {
        // A new file cut short is not left behind looking like an output.
        if (!exists) ::unlink(path.c_str());
        return SystemError(path, why);
    }
    return {};
}

StagedFile::StagedFile(std::string path, std::string temporary, std::string bytes)
    : path_(std::move(path)), temporary_(std::move(temporary)), bytes_(std::move(bytes)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)),
      temporary_(std::exchange(other.temporary_, {})),
      bytes_(std::move(other.bytes_)),
      committed_(other.committed_) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Discard();
        path_ = std::move(other.path_);
        temporary_ = std::exchange(other.temporary_, {});
        bytes_ = std::move(other.bytes_);
        committed_ = other.committed_;
    }
    return *this;
}

StagedFile::~StagedFile() {
    Discard();
}

void StagedFile::Discard() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

Result<StagedFile> StagedFile::Stage(const std::string& path, std::string bytes) {
    if (path.empty()) return EmptyNameError();
    struct stat info {};
    const bool exists = !IsStandardStream(path) && ::lstat(path.c_str(), &info) == 0;
    const bool plain = exists && S_ISREG(info.st_mode) && info.st_nlink == 1;
    if (IsStandardStream(path) || (exists && !plain)) return StagedFile(path, {}, std::move(bytes));
    Result<std::string> temporary =
        WriteTemporaryBeside(path, exists, plain ? info.st_mode : NewFileMode(), bytes);
    if (!temporary) return std::move(temporary).error();
    return StagedFile(path, std::move(*temporary), {});
}

Status StagedFile::Commit() {
    if (std::exchange(committed_, true)) return {};
    if (temporary_.empty()) return WriteFileBytes(path_, bytes_);
    return RenameInto(std::exchange(temporary_, {}), path_);
}

}  // namespace fudeline
