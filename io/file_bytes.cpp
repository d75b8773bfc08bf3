#include "io/file_bytes.h"
#include "io/io_errors.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

#include "errors/regular_file.h"

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
    int Release() { return std::exchange(fd_, -1); }
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

Result<std::string> ReadAll(int fd, const std::string& name, std::size_t maxBytes) {
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemError(name, errno);
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            return TooLargeError(name, maxBytes);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// --- Temporaries removed when the process is told to end ---------------------
//
// A fixed table, so that the handler reads it without locks or allocation:
// a slot is free (0), being filled (1) or names a live temporary (2).
struct LiveTemporary {
    std::atomic<int> state{0};
    char path[PATH_MAX];
};
std::array<LiveTemporary, 32> liveTemporaries;
constexpr std::array kEndingSignals = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveLiveTemporaries(int signal) {
    const int saved = errno;
    for (LiveTemporary& live : liveTemporaries) {
        if (live.state.load() == 2) ::unlink(live.path);
    }
    errno = saved;
    // SA_RESETHAND put the default back: the signal ends the process as it would have.
    ::raise(signal);
}

// Once per process, before the first write: temporaries go when the process
// is ended (unless someone already handles or ignores the signal, as nohup
// does), and a file-size limit fails the write with EFBIG instead of
// killing the process without a word.
void PrepareForWrites() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int signal : kEndingSignals) {
            struct sigaction old {};
            if (::sigaction(signal, nullptr, &old) != 0) continue;
            if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
            struct sigaction action {};
            action.sa_handler = RemoveLiveTemporaries;
            action.sa_flags = SA_RESETHAND;
            sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
        struct sigaction old {};
        if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && (old.sa_flags & SA_SIGINFO) == 0 &&
            old.sa_handler == SIG_DFL) {
            ::signal(SIGXFSZ, SIG_IGN);
        }
    });
}

// Holds back the ending signals for its life, so that a temporary is never
// made without being listed.
class EndingSignalsHeld {
  public:
    EndingSignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kEndingSignals) sigaddset(&set, signal);
        ::pthread_sigmask(SIG_BLOCK, &set, &saved_);
    }
    ~EndingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

  private:
    sigset_t saved_;
};

void ListTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    for (LiveTemporary& live : liveTemporaries) {
        int expected = 0;
        if (!live.state.compare_exchange_strong(expected, 1)) continue;
        std::memcpy(live.path, path.c_str(), path.size() + 1);
        live.state.store(2);
        return;
    }
}

void UnlistTemporary(const std::string& path) {
    for (LiveTemporary& live : liveTemporaries) {
        if (live.state.load() == 2 && path == live.path) {
            live.state.store(0);
            return;
        }
    }
}

void RemoveTemporary(const std::string& path) {
    ::unlink(path.c_str());
    UnlistTemporary(path);
}

// --- Names and refusals --------------------------------------------------------

std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

// The name `path` ends at once its symbolic links are followed: where a
// replacement is written and renamed to, so that a link stays a link. A
// dangling link gives the name the file would be created with.
Result<std::string> FinalName(const std::string& path) {
    std::string name = path;
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0) {
            if (errno == ENOENT) return name;
            return SystemError(path, errno);
        }
        if (!S_ISLNK(info.st_mode)) return name;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(name.c_str(), target.data(), target.size());
        if (n < 0) return SystemError(path, errno);
        target.resize(static_cast<std::size_t>(n));
        if (target.empty()) return SystemError(path, ENOENT);
        name = target.front() == '/' ? target : FolderOf(name) + "/" + target;
    }
    return SystemError(path, ELOOP);
}

bool SameIdentity(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The short name a temporary gets, whatever the length of the file's name:
// a name of 250 bytes with a suffix would pass the system's limit.
std::string TemporaryTemplate(const std::string& target) {
    return FolderOf(target) + "/.fdlXXXXXX";
}

// Why a temporary beside `path` could not be made: the target itself may be
// fine (a file in /proc, a folder without write permission), so the message
// says which file failed.
Error TemporaryError(const std::string& path, const std::string& temporary, int why) {
    return Error{path, kinds::TemporaryFile, temporary, why};
}

Error HardLinkError(const std::string& path, nlink_t names) {
    return Error{path, kinds::HardLinks, names};
}

Error OwnerNotKeptError(const std::string& path) {
    return Error{path, kinds::OwnerNotKept};
}

Error ChangingFileError(const std::string& path) {
    return Error{path, kinds::KeptBeingReplaced};
}

Error EmptyNameError() {
    return Error{"\"\"", kinds::EmptyFileName};
}

// An existing regular file may be replaced when the user may write it (as
// the shell decides, with the effective user) and when it has one name.
Status CheckReplaceable(const std::string& path, const struct stat& info) {
    if (info.st_nlink > 1) return HardLinkError(path, info.st_nlink);
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return SystemError(path, errno);
    }
    return {};
}

// The mode a new file gets from open(2) with 0666.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes `bytes` to a new temporary file in the folder of `target`, with the
// owner, group and mode of `existing` (or a new file's mode), synced to the
// disk, and returns its name; nothing is left behind on failure. When the
// file does not exist yet, a temporary that cannot be made fails for the
// reason the file itself would (a missing folder), so the message names the
// file alone.
Result<std::string> WriteTemporary(const std::string& path, const std::string& target,
                                   const struct stat* existing, std::string_view bytes) {
    std::string temporary = TemporaryTemplate(target);
    int fd = -1;
    {
        EndingSignalsHeld held;
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd >= 0) ListTemporary(temporary);
    }
    if (fd < 0) {
        const int why = errno;
        return existing ? TemporaryError(path, TemporaryTemplate(target), why)
                        : SystemError(path, why);
    }
    OwnedDescriptor owned(fd, true);
    if (existing && (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) &&
        ::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
        RemoveTemporary(temporary);
        return OwnerNotKeptError(path);
    }
    // After fchown, which may clear the set-user-ID and set-group-ID bits.
    int why = ::fchmod(fd, (existing ? existing->st_mode : NewFileMode()) & 07777) == 0 ? 0 : errno;
    if (why == 0) why = WriteAll(fd, bytes);
    // On the disk before the rename, so that a power cut leaves the old file or the new one.
    if (why == 0 && ::fsync(fd) != 0) why = errno;
    // Delayed write errors (network file systems, quotas) surface at close.
    if (why == 0) why = owned.Close();
    if (why != 0) {
        RemoveTemporary(temporary);
        return SystemError(path, why);
    }
    return temporary;
}

// The rename itself on the disk. A folder that cannot be opened (one the
// user may write but not read) or whose file system cannot sync folders has
// the file all the same; a sync that fails (an I/O error, a full disk) may
// not have it after a power cut, and is the write's failure: the error
// number, or 0.
int SyncFolder(const std::string& target) {
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    int why = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (why == EINVAL || why == EROFS || why == ENOTSUP) why = 0;
    return why;
}

// Devices, pipes and the standard output are written where they are.
Status WriteInPlace(const std::string& path, std::string_view bytes) {
    if (IsStandardStream(path)) {
        const int why = WriteAll(STDOUT_FILENO, bytes);
        return why == 0 ? Status() : SystemError(OutputName(path), why);
    }
    OwnedDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC), true);
    if (fd.get() < 0) return SystemError(path, errno);
    int why = WriteAll(fd.get(), bytes);
    if (why == 0) why = fd.Close();
    return why == 0 ? Status() : SystemError(path, why);
}

bool StatOutput(const std::string& path, struct stat& info) {
    return IsStandardStream(path) ? ::fstat(STDOUT_FILENO, &info) == 0
                                  : ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string InputName(const std::string& path) {
    return IsStandardStream(path) ? "standard input" : path.empty() ? "\"\"" : path;
}

std::string OutputName(const std::string& path) {
    return IsStandardStream(path) ? "standard output" : path.empty() ? "\"\"" : path;
}

Result<int> OpenInputFile(const std::string& path) {
    if (path.empty()) return EmptyNameError();
    if (IsStandardStream(path)) return STDIN_FILENO;
    // Without O_NONBLOCK a named pipe nobody writes would hold the open forever.
    OwnedDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), true);
    if (fd.get() < 0) return SystemError(path, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return SystemError(path, errno);
    if (S_ISDIR(info.st_mode)) return SystemError(path, EISDIR);
    if (!S_ISREG(info.st_mode)) return NotRegularFileError(path, info.st_mode);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return SystemError(path, errno);
    }
    return fd.Release();
}

Result<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    const Result<int> opened = OpenInputFile(path);
    if (!opened) return opened.error();
    const OwnedDescriptor fd(*opened, !IsStandardStream(path));
    return ReadAll(fd.get(), InputName(path), maxBytes);
}

Status WriteFileBytes(const std::string& path, std::string_view bytes) {
    Result<StagedFile> staged = StagedFile::Stage(path, std::string(bytes));
    if (!staged) return std::move(staged).error();
    return staged->Commit();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {}, second {};
    return StatOutput(a, first) && StatOutput(b, second) && SameIdentity(first, second);
}

StagedFile::StagedFile(std::string path, std::string target, std::string temporary,
                       std::string bytes)
    : path_(std::move(path)),
      target_(std::move(target)),
      temporary_(std::move(temporary)),
      bytes_(std::move(bytes)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      bytes_(std::move(other.bytes_)),
      committed_(other.committed_) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Discard();
        path_ = std::move(other.path_);
        target_ = std::move(other.target_);
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
    if (!temporary_.empty()) RemoveTemporary(temporary_);
    temporary_.clear();
}

Result<StagedFile> StagedFile::Stage(const std::string& path, std::string bytes) {
    if (path.empty()) return EmptyNameError();
    PrepareForWrites();
    if (IsStandardStream(path)) return StagedFile(path, {}, {}, std::move(bytes));
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) return SystemError(path, errno);
        Result<std::string> target = FinalName(path);
        if (!target) return std::move(target).error();
        Result<std::string> temporary = WriteTemporary(path, *target, nullptr, bytes);
        if (!temporary) return std::move(temporary).error();
        return StagedFile(path, std::move(*target), std::move(*temporary), {});
    }
    if (S_ISDIR(info.st_mode)) return SystemError(path, EISDIR);
    if (!S_ISREG(info.st_mode)) return StagedFile(path, {}, {}, std::move(bytes));
    if (Status replaceable = CheckReplaceable(path, info); !replaceable) {
        return std::move(replaceable).error();
    }
    Result<std::string> target = FinalName(path);
    if (!target) return std::move(target).error();
    struct stat atTarget {};
    if (::stat(target->c_str(), &atTarget) != 0 || !SameIdentity(atTarget, info)) {
        // A name the links do not lead to (a descriptor in /proc of a
        // deleted file): only the open file itself can be written.
        return StagedFile(path, {}, {}, std::move(bytes));
    }
    Result<std::string> temporary = WriteTemporary(path, *target, &info, bytes);
    if (!temporary) return std::move(temporary).error();
    return StagedFile(path, std::move(*target), std::move(*temporary), {});
}

Status StagedFile::Commit() {
    if (std::exchange(committed_, true)) return {};
    if (temporary_.empty()) return WriteInPlace(path_, bytes_);
    const std::string temporary = std::exchange(temporary_, {});
    if (::rename(temporary.c_str(), target_.c_str()) != 0) {
        const int why = errno;
        RemoveTemporary(temporary);
        return SystemError(path_, why);
    }
    UnlistTemporary(temporary);
    if (const int why = SyncFolder(target_); why != 0) return SystemError(path_, why);
    return {};
}

LockedFile::LockedFile(std::string path, std::string target, int fd, bool created)
    : path_(std::move(path)), target_(std::move(target)), fd_(fd), created_(created) {}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      fd_(std::exchange(other.fd_, -1)),
      created_(other.created_) {}

LockedFile::~LockedFile() {
    if (fd_ < 0) return;
    // A file made only to hold the lock goes before the lock does, so that
    // whoever waits sees it gone and makes their own.
    if (created_) UnlistTemporary(target_);
    struct stat locked {}, named {};
    if (created_ && ::fstat(fd_, &locked) == 0 && locked.st_size == 0 &&
        ::stat(target_.c_str(), &named) == 0 && SameIdentity(locked, named)) {
        ::unlink(target_.c_str());
    }
    ::close(fd_);
}

Result<LockedFile> LockedFile::Lock(const std::string& path) {
    if (path.empty()) return EmptyNameError();
    PrepareForWrites();
    const Result<std::string> target = FinalName(path);
    if (!target) return target.error();
    // Another process may replace or remove the file while this one waits
    // for the lock; then the lock is taken again on what the name holds.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        struct stat info {};
        bool created = false;
        int fd = -1;
        if (::stat(path.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) return SystemError(path, EISDIR);
            if (!S_ISREG(info.st_mode)) return NotRegularFileError(path, info.st_mode);
            if (Status replaceable = CheckReplaceable(path, info); !replaceable) {
                return std::move(replaceable).error();
            }
            fd = ::open(target->c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) continue;
        } else {
            if (errno != ENOENT) return SystemError(path, errno);
            fd = ::open(target->c_str(), O_RDWR | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666);
            if (fd < 0 && errno == EEXIST) continue;
            created = true;
        }
        if (fd < 0) return SystemError(path, errno);
        LockedFile file(path, *target, fd, created);
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR) return SystemError(path, errno);
        }
        struct stat locked {}, named {};
        if (::fstat(fd, &locked) == 0 && ::stat(target->c_str(), &named) == 0 &&
            SameIdentity(locked, named)) {
            if (!S_ISREG(locked.st_mode)) return NotRegularFileError(path, locked.st_mode);
            if (created) ListTemporary(*target);
            return file;
        }
    }
    return ChangingFileError(path);
}

Status LockedFile::Replace(StagedFile& file) {
    // Off the list before the rename: from then on the name holds the new content.
    EndingSignalsHeld held;
    if (created_) UnlistTemporary(target_);
    return file.Commit();
}

Result<std::string> LockedFile::Read(std::size_t maxBytes) const {
    if (::lseek(fd_, 0, SEEK_SET) < 0) return SystemError(path_, errno);
    return ReadAll(fd_, path_, maxBytes);
}

}  // namespace fudeline
