// Whole files in and out, every step checked, with "-" standing for the
// standard streams so that any input or output can be a pipe.
#pragma once

#include <signal.h>

#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "errors/result.h"

namespace fudeline {

inline constexpr const char* kStandardStreamName = "-";

// Inputs larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxInputBytes = std::size_t{256} << 20;

// How a path is named in messages: "standard input" or "standard output" for
// "-", and "" for an empty name (which names no file).
std::string InputName(const std::string& path);
std::string OutputName(const std::string& path);

// Reads all of `path` ("-": standard input), at most `maxBytes` of it. A
// named file must be a regular file (or a directory, refused by the
// system): a pipe, a device or a socket is refused rather than waited on.
Result<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes = kMaxInputBytes);

// The same for text, refused at its first NUL byte, named by its offset and
// line, before any more is read.
Result<std::string> ReadTextFileBytes(const std::string& path, std::size_t maxBytes);

// Opens `path` for reading ("-": standard input, not to be closed), refusing
// what ReadFileBytes refuses. Errors name the input.
Result<int> OpenInputFile(const std::string& path);

// Writes `bytes` to `path` ("-": standard output) as StagedFile does, at once.
Status WriteFileBytes(const std::string& path, std::string_view bytes);

// True when both names are one existing file, through links ("-" is the
// standard output): an output must not overwrite another.
bool SameFile(const std::string& a, const std::string& b);

// Bytes bound for a file, staged so that several outputs of one command appear
// together or not at all: a regular file (or a new one) is written whole to a
// short-named temporary file in the folder of its final name (symbolic links
// followed, so a link stays a link), synced and given the file's owner, group
// and mode, which Commit renames into place; a power cut or a failure leaves
// the old file or the new one, never a part. The standard output, devices and
// pipes can only be written where they are, so their bytes are kept and
// written at Commit. Refused: a file the user may not write (as the shell
// refuses it), a file with several names (hard links, which a rename would
// part), and a file owned by someone its replacement could not be given to.
// A staged file never committed leaves nothing behind, and neither does one
// whose process is ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT; SIGXFSZ is
// ignored from the first write on, so that a file-size limit is an error
// ("File too large"), not a silent end. A temporary is locked (flock) from
// its making until it is renamed or removed, so that one left by a process
// killed outright (SIGKILL, a power cut) is known as such: the next staging
// in its folder removes it.
class StagedFile {
  public:
    static Result<StagedFile> Stage(const std::string& path, std::string bytes);
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    Status Commit();
    // Commits `files` as one: those written where they are first (they
    // cannot be taken back), then each renamed into place in turn, the file
    // it replaces kept under a temporary's name until the last rename is
    // done. A failure puts every file renamed before it back as it was (one
    // that was new is removed), so the outputs of one command are all new
    // or all as they were; the error is the failure's. Ending signals are
    // held throughout.
    static Status CommitTogether(std::span<StagedFile* const> files);
    const std::string& path() const { return path_; }
    // True when Commit writes the bytes where the file is (nothing staged).
    bool inPlace() const { return temporary_.empty(); }

  private:
    StagedFile(std::string path, std::string target, std::string temporary, int held,
               std::string bytes);
    void Discard();

    std::string path_;
    std::string target_;     // the final name the temporary is renamed to
    std::string temporary_;  // empty: written at Commit from bytes_
    int held_ = -1;          // the temporary's lock, let go once it is renamed or removed
    std::string bytes_;
    bool committed_ = false;
};

// How long an append waits for another process's lock on its file before
// it gives up: 10 s, or the seconds FUDELINE_LOCK_WAIT gives (tests wait
// less). A holder that is stopped (Ctrl+Z, SIGSTOP) would otherwise keep
// every later append waiting without a word.
std::chrono::milliseconds LockWait();

// An exclusive advisory lock (flock) on a regular file, held for the
// object's life, so that read-change-replace cycles on one file run one after
// another. A missing file is never made empty to hold the lock (a kill would
// leave it so): its folder is locked instead until the file appears by the
// rename of Replace. A lock another process holds past `wait` is a failure
// naming the file and, where the system tells, the holder's process ID.
// Refuses what StagedFile refuses.
class LockedFile {
  public:
    static Result<LockedFile> Lock(const std::string& path,
                                   std::chrono::milliseconds wait = LockWait());
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&&) = delete;
    LockedFile(const LockedFile&) = delete;
    ~LockedFile();

    // True when the file does not exist yet: Replace makes it.
    bool created() const { return created_; }
    // All of the locked file, at most `maxBytes`.
    Result<std::string> Read(std::size_t maxBytes) const;
    // Commits `file`, the locked file's new content, in its place.
    Status Replace(StagedFile& file);
    // Commits `others`, then `file`, as StagedFile::CommitTogether does.
    Status ReplaceAfter(std::span<StagedFile* const> others, StagedFile& file);

  private:
    LockedFile(std::string path, std::string target, int fd, bool created, bool made);

    std::string path_;
    std::string target_;
    int fd_ = -1;  // the file, or its folder while the file is missing
    bool created_ = false;
    bool made_ = false;  // made empty to hold the lock: a folder that cannot be read
};

// SIGINT, SIGTERM, SIGHUP and SIGQUIT held back while outputs are committed,
// from just before the first rename until the last output is done: a signal
// in between would end the process with its outputs landed but a failing
// status, and a retry would add a page twice. Holds nest; when the outermost
// is let go, the signals that came meanwhile end the process as they would
// have, unless the process has said (AnswerSignalsByFinishing) that a command
// whose outputs have landed answers them by ending with its own status, as a
// command-line tool does: then they stay held from the first commit until
// the process exits, which it must do soon after its outputs are done.
class CommitSignalsHeld {
  public:
    CommitSignalsHeld();
    ~CommitSignalsHeld();
    CommitSignalsHeld(const CommitSignalsHeld&) = delete;
    CommitSignalsHeld& operator=(const CommitSignalsHeld&) = delete;

    static void AnswerSignalsByFinishing();

  private:
    sigset_t saved_;  // the thread's signal mask before
};

}  // namespace fudeline
