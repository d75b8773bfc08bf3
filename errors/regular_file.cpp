#include "errors/regular_file.h"

#include <cerrno>
#include <sys/stat.h>

#include "errors/common_errors.h"

namespace fudeline {

Status CheckRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return SystemError(path, errno);
    if (S_ISDIR(info.st_mode)) return SystemError(path, EISDIR);
    if (!S_ISREG(info.st_mode)) return NotRegularFileError(path, info.st_mode);
    return {};
}

Error NotRegularFileError(const std::string& name, mode_t mode) {
    const ErrorKind& kind = S_ISFIFO(mode)   ? kinds::NamedPipe
                            : S_ISCHR(mode)  ? kinds::CharacterDevice
                            : S_ISBLK(mode)  ? kinds::BlockDevice
                            : S_ISSOCK(mode) ? kinds::Socket
                                             : kinds::SpecialFile;
    return Error{name, kind};
}

}  // namespace fudeline
