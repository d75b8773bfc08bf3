#include "io/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

std::string SizeText(std::size_t bytes) {
    return bytes >= (std::size_t{1} << 20) ? std::to_string(bytes >> 20) + " MB"
                                           : std::to_string(bytes) + " bytes";
}

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

// Writes a temporary file beside `path` and renames it over `path`, so a
// failure part-way (a full disk, a size limit) leaves the old content whole.
Status ReplaceRegularFile(const std::string& path, mode_t mode, std::string_view bytes) {
    std::string temporary = path + ".XXXXXX";
    OwnedDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC), true);
    if (fd.get() < 0) return SystemError(path, errno);
    int why = ::fchmod(fd.get(), mode & 07777) == 0 ? 0 : errno;
    if (why == 0) why = WriteAll(fd.get(), bytes);
    // Delayed write errors (network file systems, quotas) surface at close.
    if (why == 0) why = fd.Close();
    if (why == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) why = errno;
    if (why != 0) {
        ::unlink(temporary.c_str());
        return SystemError(path, why);
    }
    return {};
}

}  // namespace

std::string InputName(const std::string& path) {
    return IsStandardStream(path) ? "standard input" : path;
}

std::string OutputName(const std::string& path) {
    return IsStandardStream(path) ? "standard output" : path;
}

Result<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
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
            return Error{name, "larger than " + SizeText(maxBytes)};
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

Status WriteFileBytes(const std::string& path, std::string_view bytes) {
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

}  // namespace fudeline
