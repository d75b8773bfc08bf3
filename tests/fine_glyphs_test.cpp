#include "fine/fine_glyphs.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "fine/fine_cost.h"
#include "glyphs/cp932.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

// One glyph's cost over random column masks, pixel by pixel from the face.
std::int32_t PlainCost(const FontGlyph& face, std::int32_t prior,
                       const std::array<std::uint16_t, 24>& near1,
                       const std::array<std::uint16_t, 24>& near2,
                       const std::array<std::uint16_t, 24>& target) {
    std::int32_t cost = prior;
    auto bit = [](const std::array<std::uint16_t, 24>& mask, int x, int y) {
        return ((mask[static_cast<std::size_t>(x)] >> y) & 1) != 0;
    };
    for (int x = 0; x < face.advance; ++x) {
        for (int y = 0; y < 16; ++y) {
            if (face.IsDark(x, y)) {
                cost += bit(target, x, y)  ? -kOnInkGain
                        : bit(near1, x, y) ? kOneOffCost
                        : bit(near2, x, y) ? kTwoOffCost
                                           : kFarPixelCost;
            }
            if (!bit(target, x, y)) continue;
            int nearest = 1000;
            for (int gx = 0; gx < face.advance; ++gx) {
                for (int gy = 0; gy < 16; ++gy) {
                    const int dx = gx - x, dy = gy - y;
                    if (face.IsDark(gx, gy)) nearest = std::min(nearest, dx * dx + dy * dy);
                }
            }
            cost += nearest == 0   ? 0
                    : nearest == 1 ? kInkOneOffCost
                    : nearest <= 4 ? kInkTwoOffCost
                                   : kMissedInkCost;
        }
    }
    return cost;
}

// A whole row of random ink, sparse to dense from left to right, scored at
// starts spread over the row (so across the scorer's chunks of sixteen) on
// every path the processor has, and compared with the plain search over the
// catalogue.
TEST(FineGlyphsTest, CheapestMatchesAPlainSearchOnRandomMasks) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    std::vector<ScorerIsa> paths;
    std::vector<FineGlyphs> scorers;
    for (ScorerIsa isa :
         {ScorerIsa::Portable, ScorerIsa::Sse2, ScorerIsa::Avx2, ScorerIsa::Avx512}) {
        if (!IsaSupported(isa)) continue;
        paths.push_back(isa);
        scorers.emplace_back(catalog, testing::TestFont(), isa);
    }
    const FineGlyphs& portable = scorers.front();
    ASSERT_GT(portable.widthCount(), 5u);
    std::mt19937 rng(5);
    // The masks nest as the decoder's do: ink within near1 within near2.
    InkColumns ink;
    for (int x = 0; x < kFineRowColumns; ++x) {
        const int density = x * 4 / kFineRowColumns;
        std::uint16_t target = 0;
        for (int d = 0; d <= density; ++d) target |= static_cast<std::uint16_t>(rng());
        if (density == 0) target &= static_cast<std::uint16_t>(rng());
        const auto near1 = static_cast<std::uint16_t>(target | (rng() & rng()));
        ink.target[x] = target;
        ink.near1[x] = near1;
        ink.near2[x] = static_cast<std::uint16_t>(near1 | (rng() & rng()));
    }
    // Every start of a few chunks, including the row's last columns; the
    // other chunks stay unscored.
    std::array<bool, kFineRowColumns> wanted{};
    for (int x : {0, 1, 15, 16, 31, 200, 391, 392, 613, 776, 784, 790, 799}) wanted[x] = true;
    std::vector<RowScores> scores(scorers.size());
    for (std::size_t path = 0; path < scorers.size(); ++path) {
        scorers[path].ScoreRow(ink, wanted, scores[path]);
    }
    for (int start = 0; start < kFineRowColumns; ++start) {
        if (!wanted[start]) continue;
        std::array<std::uint16_t, 24> near1{}, near2{}, target{};
        for (int x = 0; x < 24 && start + x < kFineRowColumns; ++x) {
            near1[x] = ink.near1[start + x];
            near2[x] = ink.near2[start + x];
            target[x] = ink.target[start + x];
        }
        for (std::size_t group = 0; group < portable.widthCount(); ++group) {
            const int width = portable.width(group);
            if (start + width > kFineRowColumns) continue;
            std::int32_t inkPixels = 0;
            for (int x = 0; x < width; ++x) inkPixels += std::popcount(target[x]);
            // The plain search: the first glyph of this width at the least cost.
            std::int32_t least = std::numeric_limits<std::int32_t>::max(), first = -1;
            for (std::size_t i = 0; i < catalog.size(); ++i) {
                const auto code = Cp932CharToUnicode(catalog[i].text);
                const FontGlyph* face = code ? testing::TestFont().GlyphFor(*code) : nullptr;
                if (!face || face->advance != width || catalog[i].width != width) continue;
                if (std::count(face->dark.begin(), face->dark.end(), 1) == 0) continue;
                const std::int32_t cost =
                    PlainCost(*face, GlyphPrior(catalog[i].text), near1, near2, target);
                if (cost < least) least = cost, first = static_cast<std::int32_t>(i);
            }
            SCOPED_TRACE(::testing::Message() << "start " << start << " width " << width);
            for (std::size_t path = 0; path < scorers.size(); ++path) {
                SCOPED_TRACE(IsaName(paths[path]));
                const FineGlyphs& glyphs = scorers[path];
                std::int32_t bound = std::numeric_limits<std::int32_t>::max();
                EXPECT_EQ(glyphs.Cheapest(scores[path], group, start, inkPixels, bound), first);
                EXPECT_EQ(bound, least);
                // A bound at the least cost already is not beaten.
                bound = least;
                EXPECT_EQ(glyphs.Cheapest(scores[path], group, start, inkPixels, bound), -1);
                EXPECT_EQ(bound, least);
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
