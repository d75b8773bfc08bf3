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


// Scores kept between calls equal a row scored afresh, whatever changed in
// between: one column at a chunk's edge (read by the chunk before it through
// its widest glyph), a column past the row's last start, a wide stretch, the
// set of starts asked for, nothing at all, and another scorer's scores.
TEST(FineGlyphsTest, KeptScoresEqualARowScoredAfresh) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const FineGlyphs glyphs(catalog, testing::TestFont(), ScorerIsa::Auto);
    const FineGlyphs other(catalog, testing::TestFont(), ScorerIsa::Auto);
    std::mt19937 rng(11);
    auto randomColumn = [&](InkColumns& ink, int x) {
        const auto target = static_cast<std::uint16_t>(rng() & rng());
        ink.target[x] = target;
        ink.near1[x] = static_cast<std::uint16_t>(target | (rng() & rng()));
        ink.near2[x] = static_cast<std::uint16_t>(ink.near1[x] | (rng() & rng()));
        ink.beyond[x] = static_cast<std::uint16_t>(~ink.near2[x] & rng());
    };
    InkColumns ink;
    for (int x = 0; x < kFineRowColumns; ++x) randomColumn(ink, x);
    std::array<bool, kFineRowColumns> every{}, left{};
    every.fill(true);
    std::fill(left.begin(), left.begin() + 200, true);
    struct Step {
        const char* what;
        std::vector<int> columns;  // given new random ink
        bool allStarts;
        const FineGlyphs* scorer;  // scores `kept` before the step, if not null
    };
    const std::vector<Step> steps = {
        {"first scoring", {}, true, nullptr},
        {"nothing changed", {}, true, nullptr},
        {"a chunk's first column", {48}, true, nullptr},
        {"the column after the chunk's last start", {64 + 15}, true, nullptr},
        {"the last columns", {798, 799}, true, nullptr},
        {"a wide stretch", {300, 301, 302, 350, 420, 499}, true, nullptr},
        {"changed where not asked for, then asked for", {600}, false, nullptr},
        {"asked for again", {}, true, nullptr},
        {"scored by another scorer before", {5}, true, &other},
    };
    KeptScores kept;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.scorer) step.scorer->ScoreRow(ink, every, kept);
        for (int x : step.columns) randomColumn(ink, x);
        const auto& wanted = step.allStarts ? every : left;
        glyphs.ScoreRow(ink, wanted, kept);
        RowScores fresh;
        glyphs.ScoreRow(ink, wanted, fresh);
        for (std::size_t group = 0; group < glyphs.widthCount(); ++group) {
            for (int x = 0; x + glyphs.width(group) <= kFineRowColumns; ++x) {
                if (!wanted[static_cast<std::size_t>(x)]) continue;
                std::int32_t keptCost = 0, freshCost = 0;
                const std::int32_t keptGlyph = glyphs.Least(kept.scores, group, x, 0, keptCost);
                const std::int32_t freshGlyph = glyphs.Least(fresh, group, x, 0, freshCost);
                ASSERT_EQ(keptGlyph, freshGlyph) << "start " << x << " width " << glyphs.width(group);
                ASSERT_EQ(keptCost, freshCost) << "start " << x << " width " << glyphs.width(group);
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
