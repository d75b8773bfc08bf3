// Reads the two glyph catalogue files into a GlyphCatalog.
//
// File format: one glyph a line, decimal fields separated by ", ":
//   first byte, second byte (0 for one-byte characters), width, N, then N x/y pairs.
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
// patterns. Fails naming the file that cannot be opened or read (the
// double-byte file is not tried when the single-byte one fails), or naming the
// directory when the files hold no usable glyph: nothing could be matched.
Result<GlyphCatalog> LoadGlyphCatalog(const std::string& directory);

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
