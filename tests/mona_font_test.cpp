// The baked face: what the build baked is whole (kanji included, for text drawn
// from any characters), and a damaged file is refused with the reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "glyphs/mona_font.h"

namespace fudeline {
namespace {

std::string BakedBytes() {
    std::ifstream in(FUDELINE_FONT, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BakedMonaFont, HoldsEveryKindOfCharacterWithItsAdvance) {
    const auto font = MonaFont::Open(FUDELINE_FONT);
    ASSERT_TRUE(font) << font.error().Message();
    const struct {
        char32_t code;
        int advance;
    } cases[] = {{U'\u3000', 11}, {U' ', 5}, {U'.', 3}, {U'\uFF9E', 4}, {U'\uFF64', 7},
                 {U'\u3042', 15}, {U'-', 8},  {U'\u2500', 16}, {U'\u6F22', 16}};
    for (const auto& c : cases) {
        const FontGlyph* glyph = (*font)->GlyphFor(c.code);
        ASSERT_NE(glyph, nullptr) << std::hex << static_cast<unsigned>(c.code);
        EXPECT_EQ(glyph->advance, c.advance) << std::hex << static_cast<unsigned>(c.code);
        EXPECT_EQ(glyph->dark.size(), static_cast<std::size_t>(c.advance * kFontLineHeight));
    }
    EXPECT_EQ((*font)->GlyphFor(U'\U0001F600'), nullptr);  // the face lacks it
    // A character CP932 writes with another's bytes is drawn as those bytes
    // are: − (U+2212) as － (U+FF0D), 〜 as ～, ¬ as ￢.
    for (const auto& [code, reading] : {std::pair{U'\u2212', U'\uFF0D'}, std::pair{U'\u301C', U'\uFF5E'},
                                        std::pair{U'\u00AC', U'\uFFE2'}}) {
        const FontGlyph* glyph = (*font)->GlyphFor(code);
        const FontGlyph* same = (*font)->GlyphFor(reading);
        ASSERT_TRUE(glyph && same) << std::hex << static_cast<unsigned>(code);
        EXPECT_EQ(glyph->advance, same->advance);
        EXPECT_EQ(glyph->dark, same->dark);
    }
    // The ideographic space is blank; the kanji has ink.
    const FontGlyph* space = (*font)->GlyphFor(U'\u3000');
    EXPECT_EQ(std::count(space->dark.begin(), space->dark.end(), 1), 0);
    const FontGlyph* kanji = (*font)->GlyphFor(U'\u6F22');
    EXPECT_GT(std::count(kanji->dark.begin(), kanji->dark.end(), 1), 30);
}

TEST(BakedMonaFont, RefusesDamagedFilesWithTheReason) {
    const std::string whole = BakedBytes();
    ASSERT_GT(whole.size(), 100000u);
    const std::string magic(kBakedFontMagic);
    const struct {
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"", "not a font"},
        {"P4\n1 1\n", "not a font"},
        {whole.substr(0, whole.size() - 1), "ends inside a glyph"},
        {whole + "x", "bytes after its last glyph"},
        {magic + std::string("\1\0\0\0" "A\0\0\0" "\x41", 9), "wider than any glyph"},
    };
    for (const auto& c : cases) {
        const auto font = MonaFont::FromBytes(c.bytes);
        ASSERT_FALSE(font);
        EXPECT_NE(font.error().Reason().find(c.reason), std::string::npos) << font.error().Reason();
    }
    EXPECT_TRUE(MonaFont::FromBytes(magic + std::string(4, '\0')));  // no glyphs at all
}

}  // namespace
}  // namespace fudeline
