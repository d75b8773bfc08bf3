#include "io/page_files.h"
#include "io/io_errors.h"

#include <sys/stat.h>

#include <cerrno>

namespace fudeline {

Result<PageFile> ReadPageFile(const std::string& path) {
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::move(bytes).error();
    Result<PageFile> file = ParsePageFile(*bytes, path);
    if (!file) return file.error().WithPath(InputName(path));
    return file;
}

namespace {

Error UnknownFormatError(const std::string& path) {
    return Error{path, kinds::AppendToUnknownFormat};
}

Error GrowsTooLargeError(const std::string& path, std::size_t maxBytes) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    return maxBytes >= kMegabyte
               ? Error{path, kinds::AppendLargerThanMegabytes, maxBytes / kMegabyte}
               : Error{path, kinds::AppendLargerThanBytes, maxBytes};
}

}  // namespace

namespace {

// The bytes a page adds at the end of `existing` (the lead into it and its
// text), checked as PageFileWithPage checks the whole. The existing pages
// are read as views, not copied: a file of a million short pages is
// appended to in the memory its bytes take.
Result<std::string> PageAddition(const std::optional<std::string_view>& existing,
                                 const std::string& path, std::string_view text,
                                 std::string_view name, std::size_t maxBytes) {
    const auto formatForName = PageFormatForName(path);
    PageFormat format = PageFormat::Mlt;
    std::size_t pages = 0;
    std::string_view lastText;
    if (!existing) {
        if (!formatForName) return Error{OutputName(path), kinds::NewPageFileName};
        format = *formatForName;
    } else {
        Result<PageFormat> read = ReadPages(*existing, path, [&](const PageView& page) {
            ++pages;
            lastText = page.text;
        });
        if (!read) return read.error().WithPath(InputName(path));
        if (pages == 0 && !formatForName) return UnknownFormatError(path);
        if (pages >= kMostPages) return Error{OutputName(path), kinds::TooManyPages, kMostPages};
        format = *read;
    }
    Result<Page> page = NewPage(format, pages == 0, text, name);
    if (!page) return page.error().WithPath(OutputName(path));
    // A file that ends with a line break has its last line ended already: the
    // new page's head follows it, or a blank line would join its last page.
    if (pages > 0 && lastText.ends_with('\n') && page->lead.starts_with("\r\n")) {
        page->lead.erase(0, 2);
    }
    const std::size_t before = existing ? existing->size() : 0;
    if (before + page->lead.size() + page->text.size() > maxBytes) {
        return GrowsTooLargeError(path, maxBytes);
    }
    return page->lead + page->text;
}

}  // namespace

Result<StagedPage> StagedPage::Stage(const std::string& path, std::string_view text,
                                     std::string_view name, std::size_t maxBytes) {
    const auto formatForName = PageFormatForName(path);
    if (path == kStandardStreamName || path.empty()) {
        return Error{OutputName(path), kinds::NewPageFileName};
    }
    // Refused before a file is made to lock.
    struct stat info {};
    if (!formatForName && ::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        return Error{OutputName(path), kinds::NewPageFileName};
    }
    Result<LockedFile> lock = LockedFile::Lock(path);
    if (!lock) return std::move(lock).error();
    std::optional<std::string> bytes;
    if (!lock->created()) {
        Result<std::string> read = lock->Read(maxBytes);
        if (!read) return std::move(read).error();
        bytes = std::move(*read);
    }
    Result<std::string> addition = PageAddition(bytes, path, text, name, maxBytes);
    if (!addition) return std::move(addition).error();
    std::string added = bytes ? std::move(*bytes) : std::string();
    added += *addition;
    Result<StagedFile> staged = StagedFile::Stage(path, std::move(added));
    if (!staged) return std::move(staged).error();
    return StagedPage(std::move(*lock), std::move(*staged));
}

Result<std::string> PageFileWithPage(const std::optional<std::string_view>& existing,
                                     const std::string& path, std::string_view text,
                                     std::string_view name, std::size_t maxBytes) {
    Result<std::string> addition = PageAddition(existing, path, text, name, maxBytes);
    if (!addition) return addition;
    return std::string(existing ? *existing : std::string_view()) + *addition;
}

Status AppendPageToFile(const std::string& path, std::string_view text, std::string_view name) {
    Result<StagedPage> page = StagedPage::Stage(path, text, name);
    if (!page) return std::move(page).error();
    return page->Commit();
}

}  // namespace fudeline
