// The 16-pixel text face (Mona), read from its glyph bitmaps baked at build
// time (fudeline_bake_font reads the PCF font with FreeType once), so the
// programs and the browser page draw text without FreeType.
//
// Every glyph is 16 rows tall with its top row on the top of the text line, and
// exactly as wide as its advance: the catalogue patterns and the rendered text
// rows come from the same bitmaps.
//
// The baked file: kBakedFontMagic, the glyph count (32-bit little-endian),
// then per glyph its code point (32-bit little-endian), its advance (one byte,
// at most kBakedGlyphMaxAdvance) and 16 rows of (advance + 7) / 8 bytes, the
// leftmost pixel in the high bit, a set bit dark.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "errors/result.h"

namespace fudeline {

inline constexpr const char* kMonaFontFileName = "mona16.glyphs";
inline constexpr int kFontLineHeight = 16;
inline constexpr char kBakedFontMagic[] = "FUDELINE MONA16\n";
inline constexpr int kBakedGlyphMaxAdvance = 64;
// A font file larger than this is refused before it is read. The Mona PCF
// this tool is made for holds 237 KB (760 KB unpacked) and its baked face
// 266 KB; a font many times larger only costs time and memory.
inline constexpr std::size_t kMaxFontFileBytes = std::size_t{32} << 20;

struct FontGlyph {
    std::int32_t advance = 0;
    std::vector<std::uint8_t> dark;  // advance x 16, row-major, 1 where the pixel is dark

    bool IsDark(int x, int y) const { return dark[static_cast<std::size_t>(y * advance + x)] != 0; }
};

class MonaFont {
  public:
    // Opens the baked font file, failing with the path and why it cannot be
    // used; a file above kMaxFontFileBytes is refused before it is read.
    static Result<std::unique_ptr<MonaFont>> Open(const std::string& path);
    // The same from the file's bytes; the error's path is left empty.
    static Result<std::unique_ptr<MonaFont>> FromBytes(std::string bytes);
    ~MonaFont();
    MonaFont(const MonaFont&) = delete;
    MonaFont& operator=(const MonaFont&) = delete;

    // The glyph of a Unicode character, or null when the font lacks it.
    const FontGlyph* GlyphFor(char32_t codePoint) const;

  private:
    struct Impl;
    explicit MonaFont(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Where the baked font is looked for: beside the executable, in the installed
// data directory, then where the build wrote it. Returns the first that
// exists, or the build's path.
std::string FindMonaFontPath();

}  // namespace fudeline
