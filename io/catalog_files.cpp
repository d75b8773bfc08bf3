#include "io/catalog_files.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "files/file_bytes.h"
#include "glyphs/catalog_loader.h"
#include "glyphs/catalog_writer.h"
#include "io/io_errors.h"

namespace fudeline {

Status WriteGlyphCatalogFiles(const MonaFont& font, const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) return SystemError(directory, ec.value());
    std::string base = directory;
    if (!base.empty() && base.back() != '/') base.push_back('/');
    // Both files are written in full beside the old ones before either takes
    // its place: a full disk or a face that fails half-way leaves the old
    // pair whole, never a new file beside an old one.
    std::string texts[2];
    for (const bool doubleByte : {false, true}) {
        std::string& text = texts[doubleByte ? 1 : 0];
        text = BuildCatalogText(font, doubleByte);
        // No glyph at all means a face without Japanese characters or no CP932
        // table: a catalogue that could match nothing is not worth writing.
        if (text.empty()) {
            return Error{base + (doubleByte ? kDoubleByteCatalogName : kSingleByteCatalogName),
                         kinds::CatalogueRangeEmpty};
        }
    }
    // A cut between the two renames that even the rollback cannot mend (a
    // power cut) leaves files of two writings, which their stamps tell.
    StampCatalogPair(texts[0], texts[1]);
    std::vector<StagedFile> staged;
    for (const bool doubleByte : {false, true}) {
        const std::string path =
            base + (doubleByte ? kDoubleByteCatalogName : kSingleByteCatalogName);
        Result<StagedFile> file = StagedFile::Stage(path, std::move(texts[doubleByte ? 1 : 0]));
        if (!file) return std::move(file).error();
        staged.push_back(std::move(*file));
    }
    // Renamed as one: a rename that fails puts the first file back.
    std::vector<StagedFile*> files;
    for (StagedFile& file : staged) files.push_back(&file);
    return StagedFile::CommitTogether(files);
}

}  // namespace fudeline
