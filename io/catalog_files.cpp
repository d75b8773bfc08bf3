#include "io/catalog_files.h"

#include <filesystem>
#include <system_error>

#include "glyphs/catalog_loader.h"
#include "glyphs/catalog_writer.h"
#include "io/file_bytes.h"

namespace fudeline {

Status WriteGlyphCatalogFiles(const MonaFont& font, const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) return Error{directory, ec.message()};
    std::string base = directory;
    if (!base.empty() && base.back() != '/') base.push_back('/');
    for (const bool doubleByte : {false, true}) {
        const std::string path =
            base + (doubleByte ? kDoubleByteCatalogName : kSingleByteCatalogName);
        const std::string text = BuildCatalogText(font, doubleByte);
        // No glyph at all means a face without Japanese characters or no CP932
        // table: a catalogue that could match nothing is not worth writing.
        if (text.empty()) return Error{path, "no character of this range could be drawn"};
        if (Status written = WriteFileBytes(path, text); !written) return written;
    }
    return {};
}

}  // namespace fudeline
