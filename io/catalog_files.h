// The glyph catalogue written to disk: the two files the programs load,
// generated from the face by glyphs/catalog_writer.h.
#pragma once

#include <string>

#include "errors/result.h"
#include "glyphs/mona_font.h"

namespace fudeline {

// Writes "0021t00df.dat" and "8141t84be.dat" into `directory`, creating it and
// its parents. Fails naming the directory or file that could not be made or
// written, with the system's reason. Both files are written beside the old
// ones first and then renamed into place, so a failure while writing leaves
// the old pair as it was.
Status WriteGlyphCatalogFiles(const MonaFont& font, const std::string& directory);

}  // namespace fudeline
