// Page files on disk: reading them, and appending the text as a new page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "errors/result.h"
#include "files/file_bytes.h"
#include "io/page_format.h"

namespace fudeline {

// The largest page file listed: the largest real text-art libraries are tens
// of MB, and listing 64 MB of pages takes under 2 s where 256 MB took 6.5 s
// before it was even refused.
inline constexpr std::size_t kMaxPageFileBytes = std::size_t{64} << 20;

// Reads and parses `path` ("-": standard input), failing with the path and
// the reason when it is neither format.
Result<PageFile> ReadPageFile(const std::string& path);

// The bytes of the page file `path` once Shift-JIS `text` is its last page
// (with `name` for AST): `existing` is what the file holds (nothing: it is
// made anew, its format from its name, ".mlt" or ".ast"). A file ending with
// a line break keeps its last page apart from the new one, and an append is
// refused when the reader would refuse its result: past the readers' size
// limit (`maxBytes`), or an empty file whose name gives no format. Errors
// name `path`.
Result<std::string> PageFileWithPage(const std::optional<std::string_view>& existing,
                                     const std::string& path, std::string_view text,
                                     std::string_view name, std::size_t maxBytes = kMaxInputBytes);

// Shift-JIS `text` staged as the last page of `path`, which is created when
// it does not exist (its format from its name, ".mlt" or ".ast"). The file
// is locked from the reading on, so that appends running at once each land,
// and its new content is staged beside it (as StagedFile does); Commit
// renames it into place and the lock goes with the object. An append is
// refused when the reader would refuse its result: a file grown past the
// readers' size limit (`maxBytes`), or an empty file whose name gives no
// format.
class StagedPage {
  public:
    static Result<StagedPage> Stage(const std::string& path, std::string_view text,
                                    std::string_view name,
                                    std::size_t maxBytes = kMaxInputBytes);
    Status Commit() { return lock_.Replace(file_); }
    // Commits `others`, then the page, as one (StagedFile::CommitTogether):
    // the page is added only if every other output is in place, and a
    // failure to add it puts them back as they were.
    Status CommitAfter(std::span<StagedFile* const> others) {
        return lock_.ReplaceAfter(others, file_);
    }

  private:
    StagedPage(LockedFile lock, StagedFile file)
        : lock_(std::move(lock)), file_(std::move(file)) {}

    LockedFile lock_;  // declared first: let go after the staged file is gone
    StagedFile file_;
};

// Stages and commits at once.
Status AppendPageToFile(const std::string& path, std::string_view text, std::string_view name);

}  // namespace fudeline
