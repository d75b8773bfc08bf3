// A character's dark-pixel pattern, as the row matcher scores it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fudeline {

// Score of a perfect match; every glyph's penalties add up to at most this.
inline constexpr std::int32_t kBestScore = 0x10000000;

struct GlyphPixel {
    std::int32_t x = 0;  // column; after loading, 0 is the pattern's leftmost dark column
    std::int32_t y = 0;  // line; 0 is the top of the 16-pixel text line
};

struct Glyph {
    std::vector<GlyphPixel> pixels;
    std::int32_t width = 0;  // advance in pixels
    std::string text;        // Shift-JIS bytes, one or two
    std::int32_t halfPenalty = 0;
    std::int32_t fullPenalty = 0;
};

// Ordered: among equal scores the later glyph wins.
using GlyphCatalog = std::vector<Glyph>;

}  // namespace fudeline
