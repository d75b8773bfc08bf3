#include "convert/fine_glyphs.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "convert/fine_cost.h"
#include "glyphs/cp932.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

// One glyph's cost over random column masks, pixel by pixel from the face.
std::int32_t PlainCost(const FontGlyph& face, const std::array<std::uint16_t, 24>& near,
                       const std::array<std::uint16_t, 24>& target) {
    std::int32_t cost = 0;
    for (int x = 0; x < face.advance; ++x) {
        for (int y = 0; y < 16; ++y) {
            if (face.IsDark(x, y)) cost += (near[x] >> y) & 1 ? -kNearPixelGain : kFarPixelCost;
            if (!((target[x] >> y) & 1)) continue;
            bool covered = false;
            for (int gx = 0; gx < face.advance; ++gx) {
                for (int gy = 0; gy < 16; ++gy) {
                    const int dx = gx - x, dy = gy - y;
                    covered |= face.IsDark(gx, gy) && dx * dx + dy * dy <= 4;
                }
            }
            if (!covered) cost += kMissedInkCost;
        }
    }
    return cost;
}

TEST(FineGlyphsTest, CheapestMatchesAPlainSearchOnRandomMasks) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const FineGlyphs wide(catalog, testing::TestFont(), GlyphBits::Isa::Auto);
    const FineGlyphs portable(catalog, testing::TestFont(), GlyphBits::Isa::Portable);
    ASSERT_GT(wide.widthCount(), 5u);
    std::mt19937 rng(5);
    for (int trial = 0; trial < 40; ++trial) {
        // Sparse to dense ink, and the near mask always covering the ink.
        const int density = trial % 4;
        std::array<std::uint16_t, 24> near{}, target{};
        for (int x = 0; x < 24; ++x) {
            for (int d = 0; d <= density; ++d) target[x] |= static_cast<std::uint16_t>(rng());
            if (density == 0) target[x] &= static_cast<std::uint16_t>(rng());
            near[x] = static_cast<std::uint16_t>(target[x] | (rng() & rng()));
        }
        ColumnWords nearWords{}, targetWords{};
        for (int x = 0; x < 24; ++x) {
            nearWords[x / 4] |= std::uint64_t{near[x]} << (16 * (x % 4));
            targetWords[x / 4] |= std::uint64_t{target[x]} << (16 * (x % 4));
        }
        for (std::size_t group = 0; group < wide.widthCount(); ++group) {
            const int width = wide.width(group);
            std::int32_t ink = 0;
            for (int x = 0; x < width; ++x) ink += std::popcount(target[x]);
            // The plain search: the first glyph of this width at the least cost.
            std::int32_t least = std::numeric_limits<std::int32_t>::max(), first = -1;
            for (std::size_t i = 0; i < catalog.size(); ++i) {
                const auto code = Cp932CharToUnicode(catalog[i].text);
                const FontGlyph* face = code ? testing::TestFont().GlyphFor(*code) : nullptr;
                if (!face || face->advance != width || catalog[i].width != width) continue;
                if (std::count(face->dark.begin(), face->dark.end(), 1) == 0) continue;
                const std::int32_t cost = PlainCost(*face, near, target);
                if (cost < least) least = cost, first = static_cast<std::int32_t>(i);
            }
            SCOPED_TRACE(::testing::Message() << "trial " << trial << " width " << width);
            for (const FineGlyphs* glyphs : {&wide, &portable}) {
                std::int32_t bound = std::numeric_limits<std::int32_t>::max();
                EXPECT_EQ(glyphs->Cheapest(group, nearWords, targetWords, ink, bound), first);
                EXPECT_EQ(bound, least);
                // A bound at the least cost already is not beaten.
                bound = least;
                EXPECT_EQ(glyphs->Cheapest(group, nearWords, targetWords, ink, bound), -1);
                EXPECT_EQ(bound, least);
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
