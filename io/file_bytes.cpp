#include "io/file_bytes.h"

#include <fcntl.h>
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
            return Error{name, "larger than " + std::to_string(maxBytes >> 20) + " MB"};
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

Status WriteFileBytes(const std::string& path, std::string_view bytes) {
    const std::string name = OutputName(path);
    const bool standard = IsStandardStream(path);
    OwnedDescriptor fd(standard
                           ? STDOUT_FILENO
                           : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666),
                       !standard);
    if (fd.get() < 0) return SystemError(name, errno);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemError(name, errno);
        // A write that makes no progress would loop forever; treat it as a full device.
        if (n == 0) return SystemError(name, ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    // Delayed write errors (network file systems, quotas) surface at close.
    if (const int why = fd.Close(); why != 0) return SystemError(name, why);
    return {};
}

}  // namespace fudeline
