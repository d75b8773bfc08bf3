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
    Result<std::string> added = PageFileWithPage(bytes, path, text, name, maxBytes);
    if (!added) return std::move(added).error();
    Result<StagedFile> staged = StagedFile::Stage(path, std::move(*added));
    if (!staged) return std::move(staged).error();
    return StagedPage(std::move(*lock), std::move(*staged));
}

Result<std::string> PageFileWithPage(const std::optional<std::string_view>& existing,
                                     const std::string& path, std::string_view text,
                                     std::string_view name, std::size_t maxBytes) {
    const auto formatForName = PageFormatForName(path);
    PageFile file;
    if (!existing) {
        if (!formatForName) return Error{OutputName(path), kinds::NewPageFileName};
        file.format = *formatForName;
    } else {
        Result<PageFile> read = ParsePageFile(*existing, path);
        if (!read) return read.error().WithPath(InputName(path));
        if (read->pages.empty() && !formatForName) return UnknownFormatError(path);
        file = std::move(*read);
    }
    if (Status added = AddPage(file, text, name); !added) {
        return added.error().WithPath(OutputName(path));
    }
    // A file that ends with a line break has its last line ended already: the
    // new page's head follows it, or a blank line would join its last page.
    const std::string_view before =
        file.pages.size() > 1 ? std::string_view(file.pages[file.pages.size() - 2].text) : "";
    if (before.ends_with('\n') && file.pages.back().lead.starts_with("\r\n")) {
        file.pages.back().lead.erase(0, 2);
    }
    std::string bytes = FormatPageFile(file);
    if (bytes.size() > maxBytes) return GrowsTooLargeError(path, maxBytes);
    return bytes;
}

Status AppendPageToFile(const std::string& path, std::string_view text, std::string_view name) {
    Result<StagedPage> page = StagedPage::Stage(path, text, name);
    if (!page) return std::move(page).error();
    return page->Commit();
}

}  // namespace fudeline
