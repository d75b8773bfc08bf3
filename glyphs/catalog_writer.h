// Builds the two glyph catalogue files from the text face, so that the patterns
// the matcher scores are exactly the pixels the text rows are drawn with.
#pragma once

#include <string>

#include "glyphs/mona_font.h"
#include "pixels/result.h"

namespace fudeline {

// One catalogue line (without its line end) for the character `b0 b1`
// (b1 = 0 for a one-byte character): bytes, advance, pixel count, then the dark
// pixels row by row, left to right.
std::string CatalogLine(unsigned b0, unsigned b1, const FontGlyph& glyph);

// The catalogue file's text for one code range: every one-byte character
// 0x21-0xDF, or every two-byte character 0x8141-0x84BE with a valid trail byte,
// that CP932 defines and the font draws.
std::string BuildCatalogText(const MonaFont& font, bool doubleByte);

// Writes "0021t00df.dat" and "8141t84be.dat" into `directory`, creating it and
// its parents. Fails naming the directory or file that could not be made or
// written, with the system's reason.
Status WriteGlyphCatalogFiles(const MonaFont& font, const std::string& directory);

}  // namespace fudeline
