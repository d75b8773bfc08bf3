// Builds the text of the two glyph catalogue files from the text face (io/
// catalog_files.h writes them), so that the patterns
// the matcher scores are exactly the pixels the text rows are drawn with.
#pragma once

#include <string>

#include "glyphs/mona_font.h"

namespace fudeline {

// One catalogue line (without its line end) for the character `b0 b1`
// (b1 = 0 for a one-byte character): bytes, advance, pixel count, then the dark
// pixels row by row, left to right.
std::string CatalogLine(unsigned b0, unsigned b1, const FontGlyph& glyph);

// The catalogue file's text for one code range: every one-byte character
// 0x21-0xDF, or every two-byte character 0x8141-0x84BE with a valid trail byte,
// that CP932 defines and the font draws, closed by the end line that counts
// them; empty when the font draws none.
std::string BuildCatalogText(const MonaFont& font, bool doubleByte);

// Gives the end lines of a pair of catalogue texts (BuildCatalogText's, both
// non-empty) the one stamp a loader checks they share: a hash of both texts,
// so that the same face always gives the same bytes, and a file of another
// writing beside one of this, however the renames were cut short, is refused.
void StampCatalogPair(std::string& singleByte, std::string& doubleByte);

}  // namespace fudeline
