// The bit-form scorer against the per-pixel reference, window by window.
#include "convert/glyph_bits.h"

#include <gtest/gtest.h>

#include "convert/reference_matcher.h"
#include "random_ink.h"

namespace fudeline {
namespace {

InkWindow RandomWindow(std::mt19937& rng, int density) {
    InkWindow window;
    std::uniform_int_distribution<int> percent(0, 99);
    for (int r = 0; r < kWindowRows; ++r) {
        for (int j = 0; j < kWindowColumns; ++j) {
            if (percent(rng) < density) window.Set(j, r);
        }
    }
    return window;
}

void ExpectSameAsReference(const GlyphCatalog& catalog, std::mt19937& rng, int windows) {
    const GlyphBits portable(catalog, GlyphBits::Isa::Portable);
    const GlyphBits native(catalog, GlyphBits::Isa::Auto);
    for (int i = 0; i < windows; ++i) {
        const InkWindow window = RandomWindow(rng, std::array{2, 10, 30, 60, 95}[i % 5]);
        WindowBits bits;
        bits.Build(window);
        const int expected = BestGlyphReference(catalog, window);
        ASSERT_EQ(portable.BestGlyph(bits), expected) << "window " << i;
        ASSERT_EQ(native.BestGlyph(bits), expected) << "window " << i;
    }
}

TEST(GlyphBits, RealCatalogueAgreesWithTheReference) {
    std::mt19937 rng(7);
    ExpectSameAsReference(testing::LoadBuiltCatalog(), rng, 3000);
}

TEST(GlyphBits, AwkwardCataloguesAgreeWithTheReference) {
    std::mt19937 rng(11);
    for (int c = 0; c < 40; ++c) ExpectSameAsReference(testing::RandomCatalog(rng), rng, 200);
}

TEST(GlyphBits, EmptyCatalogueAndEmptyWindow) {
    const GlyphCatalog none;
    const GlyphBits bits(none);
    WindowBits window;
    EXPECT_EQ(bits.BestGlyph(window), -1);
}

TEST(GlyphBits, NegativeWeightsFollowThePerPixelRules) {
    // Not from the loader, but the answer must still be the reference's.
    Glyph odd;
    odd.text = "o";
    odd.width = 4;
    odd.pixels = {{0, 0}, {1, 0}, {2, 0}};
    odd.fullPenalty = -5;
    odd.halfPenalty = kBestScore;
    Glyph plain = odd;
    plain.fullPenalty = kBestScore / 3;
    plain.halfPenalty = plain.fullPenalty / 2;
    const GlyphCatalog catalog = {plain, odd};
    std::mt19937 rng(3);
    ExpectSameAsReference(catalog, rng, 300);
}

}  // namespace
}  // namespace fudeline
