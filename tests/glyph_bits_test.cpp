// The bit-form scorer against the per-pixel reference, window by window.
#include "match/glyph_bits.h"

#include <gtest/gtest.h>

#include "match/reference_matcher.h"
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

// Every case runs on every scoring path the processor has.
class GlyphBitsOnPath : public ::testing::TestWithParam<ScorerIsa> {
  protected:
    void SetUp() override {
        if (!IsaSupported(GetParam())) GTEST_SKIP() << "the processor lacks this path";
    }
    void ExpectSameAsReference(const GlyphCatalog& catalog, std::mt19937& rng, int windows) {
        const GlyphBits bits(catalog, GetParam());
        ASSERT_EQ(bits.isa(), GetParam());
        for (int i = 0; i < windows; ++i) {
            // Sparse to all but full, then the all-black and all-blank windows.
            const int density = std::array{2, 10, 30, 60, 95, 100, 0}[i % 7];
            const InkWindow window = RandomWindow(rng, density);
            WindowBits windowBits;
            windowBits.Build(window);
            ASSERT_EQ(bits.BestGlyph(windowBits), BestGlyphReference(catalog, window))
                << "window " << i << ", density " << density;
        }
    }
};

TEST_P(GlyphBitsOnPath, RealCatalogueAgreesWithTheReference) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    // Nearly all of it in the box, so that the comparison tests the box scorer.
    EXPECT_GT(GlyphBits(catalog).boxGlyphs(), static_cast<int>(catalog.size()) * 9 / 10);
    std::mt19937 rng(7);
    ExpectSameAsReference(catalog, rng, 3000);
}

TEST_P(GlyphBitsOnPath, AwkwardCataloguesAgreeWithTheReference) {
    std::mt19937 rng(11);
    for (int c = 0; c < 40; ++c) ExpectSameAsReference(testing::RandomCatalog(rng), rng, 200);
}

TEST_P(GlyphBitsOnPath, EmptyCatalogueAndEmptyWindow) {
    const GlyphCatalog none;
    const GlyphBits bits(none, GetParam());
    WindowBits window;
    EXPECT_EQ(bits.BestGlyph(window), -1);
}

TEST_P(GlyphBitsOnPath, NegativeWeightsFollowThePerPixelRules) {
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

INSTANTIATE_TEST_SUITE_P(Paths, GlyphBitsOnPath,
                         ::testing::Values(ScorerIsa::Portable, ScorerIsa::Sse2, ScorerIsa::Avx2,
                                           ScorerIsa::Avx512),
                         [](const auto& info) { return std::string(IsaName(info.param)); });

}  // namespace
}  // namespace fudeline
