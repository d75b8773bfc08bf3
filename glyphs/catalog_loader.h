// Reads the two glyph catalogue files into a GlyphCatalog.
//
// File format: one glyph a line, decimal fields separated by ", ":
//   first byte, second byte (0 for one-byte characters), width, N, then N x/y pairs,
// and last the end line "end, COUNT" with the number of glyph lines above it,
// so that a file cut short is told from a whole one. (Programs that stop at
// the first line of fewer than four fields read such a file as before.) Files
// in the original format, without the end line, load as they always did.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"
#include "glyphs/glyph.h"

namespace fudeline {

inline constexpr const char* kSingleByteCatalogName = "0021t00df.dat";
inline constexpr const char* kDoubleByteCatalogName = "8141t84be.dat";

enum class CatalogKind { SingleByte, DoubleByte };

// Reads "0021t00df.dat" then "8141t84be.dat" from `directory` and trims the
// patterns. Two files whose end lines carry different pair stamps, or a
// stamp beside none, are not one writing (a power cut between the renames of
// a new pair) and are refused naming the directory. Fails naming the file that cannot be opened,
// read, or is not whole (see CheckCatalogWhole) (the double-byte file is not tried when the
// single-byte one fails), or naming the directory when the files hold no usable glyph: nothing
// could be matched.
Result<GlyphCatalog> LoadGlyphCatalog(const std::string& directory);

// The end line that closes a catalogue file of `glyphLines` glyph lines,
// with the stamp both files of a pair carry when given (see
// StampCatalogPair in catalog_writer.h).
std::string CatalogEndLine(std::size_t glyphLines, std::optional<std::uint64_t> pairStamp = {});

// The pair stamp `text`'s end line carries: none for a file written before
// stamps, or in the original format.
std::optional<std::uint64_t> CatalogPairStamp(std::string_view text);

// Checks that `text`, a whole catalogue file of either range, was not cut
// short. A file that closes with an end line must end with a line break and
// the end line must count the glyph lines above it. A file without one is in
// the original format (any subset of glyphs, the first line of fewer than four
// fields ends them, the last line break optional) and is refused only for a
// line that cannot be whole: fewer pixel numbers than its count says, the
// first byte of a two-byte code without a valid second, or a last line without
// a line break that stops before its count. The error has no path and says
// what is wrong.
Status CheckCatalogWhole(std::string_view text, CatalogKind kind);

// Reads catalogue lines from `text` (a file's bytes), appending accepted
// glyphs. Reading stops at the first line with fewer than four fields.
void ReadCatalogLines(std::string_view text, CatalogKind kind, GlyphCatalog& catalog);
// The same from `stream`, read to its end.
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
