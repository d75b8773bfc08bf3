// Whole rows from the fast matcher against the reference matcher.
#include "convert/row_matcher.h"

#include <gtest/gtest.h>

#include "convert/reference_matcher.h"
#include "random_ink.h"

namespace fudeline {
namespace {

using testing::InkStyle;

struct Extent {
    int minX, maxX;
};

// Compares all 29 rows for the given extents, on every scoring path the
// processor has; returns the number of cells.
std::size_t ExpectSameRows(const GlyphCatalog& catalog, const Image& ink,
                           std::initializer_list<Extent> extents) {
    std::vector<RowMatcher> matchers;
    for (ScorerIsa isa :
         {ScorerIsa::Portable, ScorerIsa::Sse2, ScorerIsa::Avx2, ScorerIsa::Avx512}) {
        if (IsaSupported(isa)) matchers.emplace_back(catalog, isa);
    }
    std::size_t cells = 0;
    for (const Extent e : extents) {
        for (int row = 0; row < kRowCount; ++row) {
            const TextRow expected = MatchRowReference(catalog, ink, row, e.minX, e.maxX);
            for (const RowMatcher& matcher : matchers) {
                EXPECT_EQ(matcher.MatchRow(ink, row, e.minX, e.maxX), expected)
                    << "row " << row << " on " << IsaName(matcher.isa());
            }
            cells += expected.size();
        }
    }
    return cells;
}

class RealCatalogueRows : public ::testing::TestWithParam<InkStyle> {};

TEST_P(RealCatalogueRows, AgreeWithTheReference) {
    static const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    std::mt19937 rng(static_cast<unsigned>(GetParam()) + 100);
    std::size_t cells = 0;
    for (int drawing = 0; drawing < 3; ++drawing) {
        const Image ink = testing::RandomInk(GetParam(), rng);
        cells += ExpectSameRows(catalog, ink, {{0, 799}, {37, 611}});
    }
    if (GetParam() != InkStyle::Sparse) {
        EXPECT_GT(cells, 100u);
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, RealCatalogueRows,
                         ::testing::Values(InkStyle::Scribble, InkStyle::Ellipses,
                                           InkStyle::Strokes, InkStyle::Dense, InkStyle::Sparse,
                                           InkStyle::Edges, InkStyle::Margins));

TEST(AwkwardCatalogueRows, AgreeWithTheReference) {
    std::mt19937 rng(5);
    for (int c = 0; c < 6; ++c) {
        const GlyphCatalog catalog = testing::RandomCatalog(rng);
        const Image ink = testing::RandomInk(static_cast<InkStyle>(c % 7), rng);
        ExpectSameRows(catalog, ink, {{0, 799}, {200, 300}});
    }
}

TEST(RowMatcher, EmptyExtentAndEmptyCatalogue) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    std::mt19937 rng(1);
    const Image ink = testing::RandomInk(InkStyle::Scribble, rng);
    const RowMatcher matcher(catalog);
    EXPECT_TRUE(matcher.MatchRow(ink, 3, 799, 0).empty());
    EXPECT_TRUE(matcher.MatchRow(ink, 3, 400, 400).empty());
    const GlyphCatalog none;
    EXPECT_TRUE(RowMatcher(none).MatchRow(ink, 3, 0, 799).empty());
}

}  // namespace
}  // namespace fudeline
