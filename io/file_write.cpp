#include "io/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fudeline {
namespace {

bool Fail(std::string* error, const std::string& path, const std::string& why) {
    if (error) *error = path + ": " + why;
    return false;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return Fail(error, path, "is a directory");
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return Fail(error, path, std::strerror(errno));
    // mkstemp makes the file private; a saved file should get the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string why = std::strerror(n < 0 ? errno : ENOSPC);
            close(fd);
            unlink(temp.c_str());
            return Fail(error, path, why);
        }
        written += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0 || close(fd) != 0) {
        const std::string why = std::strerror(errno);
        unlink(temp.c_str());
        return Fail(error, path, why);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        unlink(temp.c_str());
        return Fail(error, path, why);
    }
    return true;
}

}  // namespace fudeline
