#include "fine/fine_cost.h"

#include <algorithm>
#include <array>

#include "glyphs/cp932.h"
#include "glyphs/sjis.h"

namespace fudeline {
namespace {

// The characters text art is drawn with: strokes, bends, level lines, ticks
// and dots, and the few marks faces are made of. Written out by hand.
constexpr std::u32string_view kStrokeCharacters =
    U"｜|／/＼\\ノﾉヽヾ丶（）()くく〈〉{}｛｝<>＜＞[]─ー‐-ｰ￣＿_¨~～'`´｀\"″′"
    U"､、,.。・:;：；…‥ﾟﾞ゛゜^＾∧∨∩∪⊂⊃ilj!！ｨｧｲﾞﾟ∀ωДд▽△ε○⌒≧≦＝=+＊*ｿｼﾘﾄﾍヘへﾚﾌｰ";

// Every glyph costs a little, so that of two rows drawing the same pixels the
// one with fewer characters wins.
constexpr std::int32_t kStrokePrior = 1;
constexpr std::int32_t kSymbolPrior = 4;
// Letters, digits and kana read as words: they must match clearly better.
constexpr std::int32_t kLetterPrior = 12;

bool IsLetterLike(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
           (c >= 0xFF10 && c <= 0xFF5A) ||   // full-width digits and letters
           (c >= 0x3040 && c <= 0x30FF) ||   // hiragana and katakana
           (c >= 0xFF66 && c <= 0xFF9D) ||   // half-width katakana
           (c >= 0x0391 && c <= 0x03C9) ||   // Greek
           (c >= 0x0401 && c <= 0x0451);     // Cyrillic
}

}  // namespace

std::int32_t GlyphPrior(std::string_view sjis) {
    const auto code = Cp932CharToUnicode(sjis);
    if (!code) return kSymbolPrior;
    if (kStrokeCharacters.find(*code) != std::u32string_view::npos) return kStrokePrior;
    return IsLetterLike(*code) ? kLetterPrior : kSymbolPrior;
}

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
