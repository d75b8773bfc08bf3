#include "convert/fine_cost.h"

#include "glyphs/cp932.h"
#include "glyphs/sjis.h"

namespace fudeline {

std::vector<const FontGlyph*> FaceGlyphs(const MonaFont& font, std::string_view sjis) {
    std::vector<const FontGlyph*> glyphs;
    std::size_t i = 0;
    while (i < sjis.size()) {
        const std::size_t length =
            IsSingleByteChar(static_cast<unsigned char>(sjis[i])) || i + 1 == sjis.size() ? 1 : 2;
        const auto codePoint = Cp932CharToUnicode(sjis.substr(i, length));
        glyphs.push_back(codePoint ? font.GlyphFor(*codePoint) : nullptr);
        i += length;
    }
    return glyphs;
}

std::uint16_t DarkColumn(const FontGlyph& glyph, int x) {
    std::uint16_t bits = 0;
    for (int y = 0; y < kFontLineHeight; ++y) {
        if (glyph.IsDark(x, y)) bits |= static_cast<std::uint16_t>(1u << y);
    }
    return bits;
}

}  // namespace fudeline
