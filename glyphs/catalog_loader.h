// Reads the two glyph catalogue files into a GlyphCatalog.
//
// File format: one glyph a line, decimal fields separated by ", ":
//   first byte, second byte (0 for one-byte characters), width, N, then N x/y pairs,
// and last the end line "end, COUNT" with the number of glyph lines above it,
// so that a file cut short is told from a whole one. (Programs that stop at
// the first line of fewer than four fields read such a file as before.)
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "glyphs/glyph.h"
#include "pixels/result.h"

namespace fudeline {

inline constexpr const char* kSingleByteCatalogName = "0021t00df.dat";
inline constexpr const char* kDoubleByteCatalogName = "8141t84be.dat";

enum class CatalogKind { SingleByte, DoubleByte };

// Reads "0021t00df.dat" then "8141t84be.dat" from `directory` and trims the
// patterns. Fails naming the file that cannot be opened, read, or is not
// whole (see CheckCatalogWhole) (the
// double-byte file is not tried when the single-byte one fails), or naming the
// directory when the files hold no usable glyph: nothing could be matched.
Result<GlyphCatalog> LoadGlyphCatalog(const std::string& directory);

// Lines a whole catalogue file without an end line (one written before end
// lines were) holds at least: the Mona face gives 158 and 523. Such a file
// must also end with the range's last character, 0xDF or 0x84BE.
inline constexpr std::size_t kMinSingleByteLinesWithoutEnd = 150;
inline constexpr std::size_t kMinDoubleByteLinesWithoutEnd = 500;

// The end line that closes a catalogue file of `glyphLines` glyph lines.
std::string CatalogEndLine(std::size_t glyphLines);

// Checks that `text`, a whole catalogue file of `kind`, was not cut short:
// every line ends with a line break, and the end line counts the glyph lines
// above it; a file without an end line must hold about as many lines as a
// whole catalogue of its range and end with its last character. The error has
// no path and says what is wrong.
Status CheckCatalogWhole(std::string_view text, CatalogKind kind);

// Reads catalogue lines from `stream`, appending accepted glyphs. Reading stops
// at the first line with fewer than four fields.
void ReadCatalogStream(std::FILE* stream, CatalogKind kind, GlyphCatalog& catalog);

// Parses one split line; appends a glyph unless the character is excluded for
// `kind` or the line holds fewer pixel fields than it declares.
void ParseGlyphLine(const std::vector<std::string>& fields, CatalogKind kind,
                    GlyphCatalog& catalog);

// Left-aligns every pattern and removes the glyphs whose first dark column lies
// three or more columns into the cell (and those without pixels).
void TrimGlyphPatterns(GlyphCatalog& catalog);

// The C library's atoi rules on a byte field, saturating at the 32-bit range.
std::int32_t ParseDecimal(std::string_view field);

}  // namespace fudeline
