// The 16-pixel text face (Mona, a PCF bitmap font), read with FreeType.
//
// Every glyph is 16 rows tall with its top row on the top of the text line, and
// exactly as wide as its advance: the catalogue patterns and the rendered text
// rows come from the same bitmaps.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pixels/result.h"

namespace fudeline {

inline constexpr const char* kMonaFontFileName = "monau16.pcf.gz";
inline constexpr int kFontLineHeight = 16;

struct FontGlyph {
    std::int32_t advance = 0;
    std::vector<std::uint8_t> dark;  // advance x 16, row-major, 1 where the pixel is dark

    bool IsDark(int x, int y) const { return dark[static_cast<std::size_t>(y * advance + x)] != 0; }
};

class MonaFont {
  public:
    // Opens the font file, failing with the path and why it cannot be used.
    static Result<std::unique_ptr<MonaFont>> Open(const std::string& path);
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

// Where the font is looked for: beside the executable, in the installed data
// directory, then the system's xfonts-mona location. Returns the first that
// exists, or the system path.
std::string FindMonaFontPath();

}  // namespace fudeline
