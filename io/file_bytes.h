// Whole files in and out, every step checked, with "-" standing for the
// standard streams so that any input or output can be a pipe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pixels/result.h"

namespace fudeline {

inline constexpr const char* kStandardStreamName = "-";

// Inputs larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxInputBytes = std::size_t{256} << 20;

// How a path is named in messages: "standard input" or "standard output" for
// "-", and "" for an empty name (which names no file).
std::string InputName(const std::string& path);
std::string OutputName(const std::string& path);

// Reads all of `path` ("-": standard input), at most `maxBytes` of it.
Result<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes = kMaxInputBytes);

// Writes `bytes` to `path` ("-": standard output), replacing the file's
// content. Every write and the close are checked: a full disk, a closed pipe
// or a missing folder is an error naming the output and the system's reason.
// A failed write leaves an existing plain file as it was and removes a file
// it had just created.
Status WriteFileBytes(const std::string& path, std::string_view bytes);

// Bytes bound for a file, staged so that several outputs of one command appear
// together or not at all: a plain file (or a new one) is written whole to a
// temporary file beside it, which Commit renames into place; the standard
// output, devices, pipes and files with several names can only be written
// where they are, so their bytes are kept and written at Commit. A staged
// file never committed leaves nothing behind.
class StagedFile {
  public:
    static Result<StagedFile> Stage(const std::string& path, std::string bytes);
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    Status Commit();
    const std::string& path() const { return path_; }
    // True when Commit writes the bytes where the file is (nothing staged).
    bool inPlace() const { return temporary_.empty(); }

  private:
    StagedFile(std::string path, std::string temporary, std::string bytes);
    void Discard();

    std::string path_;
    std::string temporary_;  // empty: written at Commit from bytes_
    std::string bytes_;
    bool committed_ = false;
};

}  // namespace fudeline
