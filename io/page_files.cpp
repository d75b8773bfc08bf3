#include "io/page_files.h"

#include <filesystem>
#include <system_error>

#include "io/file_bytes.h"

namespace fudeline {

Result<PageFile> ReadPageFile(const std::string& path) {
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::move(bytes).error();
    Result<PageFile> file = ParsePageFile(*bytes, path);
    if (!file) return file.error().WithPath(InputName(path));
    return file;
}

Status AppendPageToFile(const std::string& path, std::string_view text, std::string_view name) {
    std::error_code error;
    const bool exists = path != kStandardStreamName && std::filesystem::exists(path, error);
    PageFile file;
    if (exists) {
        Result<PageFile> read = ReadPageFile(path);
        if (!read) return std::move(read).error();
        file = std::move(*read);
    } else {
        const auto format = PageFormatForName(path);
        if (!format) {
            return Error{OutputName(path), ErrorKind::NewPageFileName};
        }
        file.format = *format;
    }
    if (Status added = AddPage(file, text, name); !added) {
        return added.error().WithPath(OutputName(path));
    }
    return WriteFileBytes(path, FormatPageFile(file));
}

}  // namespace fudeline
