#include "fine/fine_cost.h"

#include <algorithm>
#include <array>

#include "glyphs/cp932.h"
#include "glyphs/sjis.h"

namespace fudeline {
namespace {

const PriorCharacter* Counted(std::string_view sjis) {
    const auto code = Cp932CharToUnicode(sjis);
    if (!code) return nullptr;
    const PriorCharacter* end = kPriorCharacters + kPriorCharacterCount;
    const PriorCharacter* found = std::lower_bound(
        kPriorCharacters, end, *code,
        [](const PriorCharacter& c, char32_t value) { return c.code < value; });
    return found != end && found->code == *code ? found : nullptr;
}

std::int32_t MostWritten() {
    std::int32_t most = kPriorUnseenLogFrequency;
    for (std::size_t i = 0; i < kPriorCharacterCount; ++i) {
        most = std::max<std::int32_t>(most, kPriorCharacters[i].logFrequency);
    }
    return most;
}

// Hundredths of a nat times tenths per nat, to the nearest tenth.
std::int32_t Scaled(std::int32_t hundredths, std::int32_t weight) {
    const std::int32_t product = hundredths * weight;
    return product >= 0 ? (product + 50) / 100 : -((-product + 50) / 100);
}

// Letters and digits, half- and full-width, but those artists write as
// upright strokes.
bool IsLetterOrDigit(std::string_view sjis) {
    if (sjis.size() == 1) {
        const char c = sjis[0];
        if (c == 'l' || c == 'i' || c == 'I') return false;
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    }
    if (sjis.size() != 2) return false;
    const int code = (static_cast<unsigned char>(sjis[0]) << 8) | static_cast<unsigned char>(sjis[1]);
    constexpr int kFullWidthZero = 0x824F, kFullWidthSmallZ = 0x829A, kFullWidthSmallL = 0x828C;
    return code >= kFullWidthZero && code <= kFullWidthSmallZ && code != kFullWidthSmallL;
}

}  // namespace

std::int32_t GlyphPrior(std::string_view sjis) {
    static const std::int32_t most = MostWritten();
    const PriorCharacter* counted = Counted(sjis);
    const std::int32_t log = counted ? counted->logFrequency : kPriorUnseenLogFrequency;
    return 1 + Scaled(most - log, kPriorWeight);
}

std::int32_t DrawnGlyphCost(std::string_view sjis) {
    static const std::int32_t most = MostWritten();
    const PriorCharacter* counted = Counted(sjis);
    const std::int32_t log = counted ? counted->logFrequency : kPriorUnseenLogFrequency;
    return kGlyphCost + Scaled(most - log, kDrawnPriorWeight) +
           (IsLetterOrDigit(sjis) ? kLetterCost : 0);
}

std::int32_t GlyphFollowClass(std::string_view sjis) {
    const PriorCharacter* counted = Counted(sjis);
    return counted ? counted->followClass : kPriorOtherClass;
}

const FollowCosts& FollowingCosts() {
    static const FollowCosts costs = [] {
        FollowCosts out{};
        for (std::size_t p = 0; p < out.size(); ++p) {
            for (std::size_t n = 0; n < out[p].size(); ++n) {
                out[p][n] = static_cast<std::int8_t>(std::clamp(
                    -Scaled(kPriorFollowing[p][n], kFollowWeight), -kFollowLimit, kFollowLimit));
            }
        }
        return out;
    }();
    return costs;
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
