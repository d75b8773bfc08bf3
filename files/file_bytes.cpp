#include "files/file_bytes.h"
#include "files/files_errors.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
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

// With `textOnly`, a NUL byte ends the read at once with its place: text
// never holds one, and /dev/zero piped in would otherwise be read to the limit.
Result<std::string> ReadAll(int fd, const std::string& name, std::size_t maxBytes,
                            bool textOnly = false) {
    std::string bytes;
    // A regular file's size is known before a byte is read: one past the
    // limit (a sparse file of gigabytes) is refused at once.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
            return TooLargeError(name, maxBytes);
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemError(name, errno);
        if (n == 0) break;
        const std::string_view chunk(buffer, static_cast<std::size_t>(n));
        if (const std::size_t nul = chunk.find('\0'); textOnly && nul != std::string_view::npos) {
            const auto lines = std::count(bytes.begin(), bytes.end(), '\n') +
                               std::count(chunk.begin(), chunk.begin() + nul, '\n');
            return Error{name, kinds::TextNulAt, bytes.size() + nul,
                         static_cast<std::size_t>(lines) + 1};
        }
        if (bytes.size() + chunk.size() > maxBytes) return TooLargeError(name, maxBytes);
        bytes.append(chunk);
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
constexpr std::array kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Commits under way (CommitSignalsHeld), and an ending signal that came
// meanwhile to a thread that did not hold it back (a library's worker): the
// holder ends the process with it, or answers it, when the commit is done.
std::atomic<int> commitsHeld{0};
std::atomic<int> signalDuringCommit{0};
std::atomic<bool> answerByFinishing{false};
std::atomic<bool> finishing{false};  // outputs landed where signals are answered by finishing

extern "C" void RemoveLiveTemporaries(int signal) {
    if (commitsHeld.load() > 0 || finishing.load()) {
        signalDuringCommit.store(signal);
        return;
    }
    const int saved = errno;
    for (LiveTemporary& live : liveTemporaries) {
        if (live.state.load() == 2) ::unlink(live.path);
    }
    errno = saved;
    // The default action back: the signal, pending until the handler
    // returns, ends the process as it would have.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
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
            // A signal put off during a commit returns to what it interrupted.
            action.sa_flags = SA_RESTART;
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
constexpr std::string_view kTemporaryPrefix = ".fdl";
constexpr std::size_t kTemporaryRandom = 6;  // mkostemp's six letters and digits

std::string TemporaryTemplate(const std::string& target) {
    return FolderOf(target) + "/" + std::string(kTemporaryPrefix) +
           std::string(kTemporaryRandom, 'X');
}

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryRandom ||
        !name.starts_with(kTemporaryPrefix)) {
        return false;
    }
    return std::all_of(name.begin() + kTemporaryPrefix.size(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// True when `name` (in `folder`, a descriptor or AT_FDCWD) is the file `fd` is open on.
bool NamesDescriptor(int folder, const char* name, int fd) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           SameIdentity(opened, named);
}

// Removes the temporaries of processes killed outright (SIGKILL, a power
// cut) from `folder`: every writer holds its temporary's lock until the
// rename, so one whose lock can be taken has no live writer. Files not
// matching the temporaries' names exactly, or that cannot be opened, stay.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) continue;
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::openat(dirFd, entry->d_name, O_RDONLY | flags);
        if (fd < 0 && errno == EACCES) fd = ::openat(dirFd, entry->d_name, O_WRONLY | flags);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesDescriptor(dirFd, entry->d_name, fd)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

Error LockHeldError(const std::string& path, long holder, std::chrono::milliseconds wait) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(wait.count()) / 1000.0);
    if (holder > 0) return Error{path, kinds::LockHeldByProcess, holder, std::string(seconds)};
    return Error{path, kinds::LockHeld, std::string(seconds)};
}

// The process holding a flock on the file `fd` is open on, as /proc/locks
// tells ("1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; waiters are
// marked "->"), or 0.
long LockHolder(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return 0;
    std::FILE* locks = std::fopen("/proc/locks", "re");
    if (locks == nullptr) return 0;
    long holder = 0;
    char line[256];
    while (holder == 0 && std::fgets(line, sizeof line, locks) != nullptr) {
        char kind[16] = {};
        long pid = 0;
        unsigned int devMajor = 0, devMinor = 0;
        unsigned long inode = 0;
        if (std::sscanf(line, "%*d: %15s %*s %*s %ld %x:%x:%lu", kind, &pid, &devMajor, &devMinor,
                        &inode) == 5 &&
            std::strcmp(kind, "FLOCK") == 0 && devMajor == major(info.st_dev) &&
            devMinor == minor(info.st_dev) && inode == info.st_ino) {
            holder = pid;
        }
    }
    std::fclose(locks);
    return holder;
}

using Clock = std::chrono::steady_clock;

// Takes the exclusive lock on `fd` (the file `path`, or its folder), waiting
// until `deadline`, the end of the `wait` the caller allows, for another
// process to let it go. Polled rather than waited on, so that a stopped
// holder cannot keep this process waiting.
Status LockWithin(int fd, const std::string& path, Clock::time_point deadline,
                  std::chrono::milliseconds wait) {
    std::chrono::milliseconds pause{1};
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return {};
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return SystemError(path, errno);
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return LockHeldError(path, LockHolder(fd), wait);
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds{50});
    }
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
struct Temporary {
    std::string name;
    int held = -1;  // a descriptor holding its lock
};

// A new temporary beside `target`, listed and locked, or -1 (errno set). A
// process clearing stale temporaries may take a new one between its making
// and its lock; then that one is left to it and another made.
int MakeTemporary(std::string& temporary, const std::string& target) {
    for (int attempt = 0;; ++attempt) {
        temporary = TemporaryTemplate(target);
        int fd = -1;
        {
            EndingSignalsHeld held;
            fd = ::mkostemp(temporary.data(), O_CLOEXEC);
            if (fd >= 0) ListTemporary(temporary);
        }
        if (fd < 0) return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (NamesDescriptor(AT_FDCWD, temporary.c_str(), fd)) return fd;
        } else if (errno != EWOULDBLOCK || attempt >= 100) {
            // A file system without locks: the temporary is written unlocked.
            return fd;
        }
        UnlistTemporary(temporary);
        ::close(fd);
    }
}

Result<Temporary> WriteTemporary(const std::string& path, const std::string& target,
                                 const struct stat* existing, std::string_view bytes) {
    RemoveStaleTemporaries(FolderOf(target));
    std::string temporary;
    const int fd = MakeTemporary(temporary, target);
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
    // The lock stays with a second descriptor until the rename.
    const int held = why == 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
    if (why == 0 && held < 0) why = errno;
    // Delayed write errors (network file systems, quotas) surface at close.
    if (why == 0) why = owned.Close();
    if (why != 0) {
        RemoveTemporary(temporary);
        if (held >= 0) ::close(held);
        return SystemError(path, why);
    }
    return Temporary{std::move(temporary), held};
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

Result<std::string> ReadTextFileBytes(const std::string& path, std::size_t maxBytes) {
    const Result<int> opened = OpenInputFile(path);
    if (!opened) return opened.error();
    const OwnedDescriptor fd(*opened, !IsStandardStream(path));
    return ReadAll(fd.get(), InputName(path), maxBytes, true);
}

Status WriteFileBytes(const std::string& path, std::string_view bytes) {
    Result<StagedFile> staged = StagedFile::Stage(path, std::string(bytes));
    if (!staged) return std::move(staged).error();
    return staged->Commit();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return StatOutput(a, first) && StatOutput(b, second) && SameIdentity(first, second);
}

StagedFile::StagedFile(std::string path, std::string target, std::string temporary, int held,
                       std::string bytes)
    : path_(std::move(path)),
      target_(std::move(target)),
      temporary_(std::move(temporary)),
      held_(held),
      bytes_(std::move(bytes)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      held_(std::exchange(other.held_, -1)),
      bytes_(std::move(other.bytes_)),
      committed_(other.committed_) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Discard();
        path_ = std::move(other.path_);
        target_ = std::move(other.target_);
        temporary_ = std::exchange(other.temporary_, {});
        held_ = std::exchange(other.held_, -1);
        bytes_ = std::move(other.bytes_);
        committed_ = other.committed_;
    }
    return *this;
}

StagedFile::~StagedFile() {
    Discard();
}

void StagedFile::Discard() {
    // Removed before its lock goes, so that no one takes it for stale meanwhile.
    if (!temporary_.empty()) RemoveTemporary(temporary_);
    temporary_.clear();
    if (held_ >= 0) ::close(std::exchange(held_, -1));
}

Result<StagedFile> StagedFile::Stage(const std::string& path, std::string bytes) {
    if (path.empty()) return EmptyNameError();
    PrepareForWrites();
    if (IsStandardStream(path)) return StagedFile(path, {}, {}, -1, std::move(bytes));
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) return SystemError(path, errno);
        Result<std::string> target = FinalName(path);
        if (!target) return std::move(target).error();
        Result<Temporary> temporary = WriteTemporary(path, *target, nullptr, bytes);
        if (!temporary) return std::move(temporary).error();
        return StagedFile(path, std::move(*target), std::move(temporary->name), temporary->held,
                          {});
    }
    if (S_ISDIR(info.st_mode)) return SystemError(path, EISDIR);
    if (!S_ISREG(info.st_mode)) return StagedFile(path, {}, {}, -1, std::move(bytes));
    if (Status replaceable = CheckReplaceable(path, info); !replaceable) {
        return std::move(replaceable).error();
    }
    Result<std::string> target = FinalName(path);
    if (!target) return std::move(target).error();
    struct stat atTarget {};
    if (::stat(target->c_str(), &atTarget) != 0 || !SameIdentity(atTarget, info)) {
        // A name the links do not lead to (a descriptor in /proc of a
        // deleted file): only the open file itself can be written.
        return StagedFile(path, {}, {}, -1, std::move(bytes));
    }
    Result<Temporary> temporary = WriteTemporary(path, *target, &info, bytes);
    if (!temporary) return std::move(temporary).error();
    return StagedFile(path, std::move(*target), std::move(temporary->name), temporary->held, {});
}

Status StagedFile::Commit() {
    if (std::exchange(committed_, true)) return {};
    if (temporary_.empty()) return WriteInPlace(path_, bytes_);
    const CommitSignalsHeld held;
    const std::string temporary = std::exchange(temporary_, {});
    const int renamed = ::rename(temporary.c_str(), target_.c_str()) == 0 ? 0 : errno;
    if (renamed != 0) RemoveTemporary(temporary);
    UnlistTemporary(temporary);
    if (held_ >= 0) ::close(std::exchange(held_, -1));
    if (renamed != 0) return SystemError(path_, renamed);
    if (const int why = SyncFolder(target_); why != 0) return SystemError(path_, why);
    return {};
}

namespace {

// The file `target` names, kept under a temporary's name beside it (a hard
// link) and locked against clearing as stale, so that a later failure can
// put it back: the name, or empty where the file system has no hard links
// (then it cannot be put back).
struct KeptFile {
    std::string name;
    int held = -1;
};

KeptFile KeepOld(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryTemplate(target);
        auto seed = static_cast<unsigned long long>(::getpid()) * 1000003ull +
                    static_cast<unsigned long long>(Clock::now().time_since_epoch().count()) +
                    counter.fetch_add(1) * 7919ull;
        for (std::size_t i = name.size() - kTemporaryRandom; i < name.size(); ++i) {
            name[i] = kLetters[seed % (sizeof kLetters - 1)];
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            seed ^= seed >> 29;
        }
        if (::link(target.c_str(), name.c_str()) != 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        // Locked as a temporary being written is, unless this process holds
        // the file's lock already (a page file being appended to): either
        // way no one else takes it for stale.
        const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno != EWOULDBLOCK) {
            ::close(fd);
            return {std::move(name), -1};
        }
        return {std::move(name), fd};
    }
    return {};
}

void Release(KeptFile& kept) {
    if (!kept.name.empty()) ::unlink(kept.name.c_str());
    if (kept.held >= 0) ::close(kept.held);
    kept = {};
}

}  // namespace

Status StagedFile::CommitTogether(std::span<StagedFile* const> files) {
    const CommitSignalsHeld held;
    for (StagedFile* file : files) {
        if (!file->inPlace()) continue;
        if (Status done = file->Commit(); !done) return done;
    }
    struct Placed {
        StagedFile* file;
        KeptFile kept;
        bool existed;
    };
    std::vector<Placed> placed;
    // A single rename has nothing to be taken back with.
    const auto renames = std::count_if(files.begin(), files.end(), [](const StagedFile* file) {
        return !file->inPlace() && !file->committed_;
    });
    Status outcome;
    for (StagedFile* file : files) {
        if (file->inPlace() || file->committed_) continue;
        Placed now{file, {}, false};
        struct stat before {
        }, staged{};
        now.existed = ::lstat(file->target_.c_str(), &before) == 0;
        if (now.existed && renames > 1) now.kept = KeepOld(file->target_);
        const bool stagedKnown = file->held_ >= 0 && ::fstat(file->held_, &staged) == 0;
        if (Status done = file->Commit(); !done) {
            outcome = std::move(done);
            // A rename that was done before its folder failed to sync is taken back too.
            struct stat after {};
            if (stagedKnown && ::lstat(file->target_.c_str(), &after) == 0 &&
                SameIdentity(after, staged)) {
                placed.push_back(std::move(now));
            } else {
                Release(now.kept);
            }
            break;
        }
        placed.push_back(std::move(now));
    }
    if (outcome) {
        for (Placed& done : placed) Release(done.kept);
        return {};
    }
    for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
        const std::string& target = it->file->target_;
        if (!it->existed) {
            ::unlink(target.c_str());
        } else if (!it->kept.name.empty() && ::rename(it->kept.name.c_str(), target.c_str()) == 0) {
            it->kept.name.clear();
        }
        Release(it->kept);
        SyncFolder(target);
    }
    return outcome;
}

std::chrono::milliseconds LockWait() {
    constexpr std::chrono::milliseconds kDefault{10'000};
    const char* given = std::getenv("FUDELINE_LOCK_WAIT");
    if (given == nullptr || *given == '\0') return kDefault;
    char* end = nullptr;
    const double seconds = std::strtod(given, &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > 86'400) {
        return kDefault;
    }
    return std::chrono::milliseconds{std::llround(seconds * 1000)};
}

CommitSignalsHeld::CommitSignalsHeld() {
    PrepareForWrites();
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndingSignals) sigaddset(&set, signal);
    ::pthread_sigmask(SIG_BLOCK, &set, &saved_);
    commitsHeld.fetch_add(1);
}

CommitSignalsHeld::~CommitSignalsHeld() {
    if (commitsHeld.fetch_sub(1) != 1) {
        ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
        return;
    }
    const int cameElsewhere = signalDuringCommit.exchange(0);
    if (answerByFinishing.load()) {
        // The process only ends now: the signals stay held back (a later
        // one too, which would otherwise come between the last output and
        // the exit), and any other thread's handler passes them over.
        finishing.store(true);
        return;
    }
    ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    if (cameElsewhere != 0) ::raise(cameElsewhere);
}

void CommitSignalsHeld::AnswerSignalsByFinishing() {
    answerByFinishing.store(true);
}

LockedFile::LockedFile(std::string path, std::string target, int fd, bool created, bool made)
    : path_(std::move(path)), target_(std::move(target)), fd_(fd), created_(created), made_(made) {}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      fd_(std::exchange(other.fd_, -1)),
      created_(other.created_),
      made_(other.made_) {}

LockedFile::~LockedFile() {
    if (fd_ < 0) return;
    // A file made only to hold the lock goes before the lock does, so that
    // whoever waits sees it gone and makes their own.
    if (made_) UnlistTemporary(target_);
    struct stat locked {
    }, named{};
    if (made_ && ::fstat(fd_, &locked) == 0 && locked.st_size == 0 &&
        ::stat(target_.c_str(), &named) == 0 && SameIdentity(locked, named)) {
        ::unlink(target_.c_str());
    }
    ::close(fd_);
}

Result<LockedFile> LockedFile::Lock(const std::string& path, std::chrono::milliseconds wait) {
    if (path.empty()) return EmptyNameError();
    PrepareForWrites();
    const Result<std::string> target = FinalName(path);
    if (!target) return target.error();
    const Clock::time_point deadline = Clock::now() + wait;
    // Another process may replace, remove or make the file while this one
    // waits for the lock; then the lock is taken again on what the name holds.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) return SystemError(path, EISDIR);
            if (!S_ISREG(info.st_mode)) return NotRegularFileError(path, info.st_mode);
            if (Status replaceable = CheckReplaceable(path, info); !replaceable) {
                return std::move(replaceable).error();
            }
            const int fd = ::open(target->c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) continue;
            if (fd < 0) return SystemError(path, errno);
            LockedFile file(path, *target, fd, false, false);
            if (Status locked = LockWithin(fd, path, deadline, wait); !locked) {
                return std::move(locked).error();
            }
            struct stat locked {};
            if (!NamesDescriptor(AT_FDCWD, target->c_str(), fd) || ::fstat(fd, &locked) != 0) {
                continue;
            }
            if (!S_ISREG(locked.st_mode)) return NotRegularFileError(path, locked.st_mode);
            return file;
        }
        if (errno != ENOENT) return SystemError(path, errno);
        // A new file appears only by the rename, whole: until then appends to
        // it lock its folder, and the one that finds it made locks the file.
        const int folder = ::open(FolderOf(*target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0 && errno == ENOENT) return SystemError(path, ENOENT);
        if (folder >= 0) {
            LockedFile file(path, *target, folder, true, false);
            Status locked = LockWithin(folder, path, deadline, wait);
            if (locked) {
                struct stat made {};
                if (::stat(target->c_str(), &made) != 0 && errno == ENOENT) return file;
                continue;
            }
            if (!locked.error().Is(kinds::System)) return std::move(locked).error();
        }
        // A folder the user may write but not read, or on a file system that
        // locks only files opened for writing (NFS): the file is made empty to
        // hold the lock, and removed if the process ends.
        const int fd =
            ::open(target->c_str(), O_RDWR | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return SystemError(path, errno);
        LockedFile file(path, *target, fd, true, true);
        if (Status locked = LockWithin(fd, path, deadline, wait); !locked) {
            return std::move(locked).error();
        }
        if (NamesDescriptor(AT_FDCWD, target->c_str(), fd)) {
            ListTemporary(*target);
            return file;
        }
    }
    return ChangingFileError(path);
}

Status LockedFile::Replace(StagedFile& file) {
    return ReplaceAfter({}, file);
}

Status LockedFile::ReplaceAfter(std::span<StagedFile* const> others, StagedFile& file) {
    // Off the list before the rename: from then on the name holds the new content.
    const CommitSignalsHeld held;
    if (made_) UnlistTemporary(target_);
    std::vector<StagedFile*> all(others.begin(), others.end());
    all.push_back(&file);
    return StagedFile::CommitTogether(all);
}

Result<std::string> LockedFile::Read(std::size_t maxBytes) const {
    if (created_ && !made_) return std::string();
    if (::lseek(fd_, 0, SEEK_SET) < 0) return SystemError(path_, errno);
    return ReadAll(fd_, path_, maxBytes);
}

}  // namespace fudeline
