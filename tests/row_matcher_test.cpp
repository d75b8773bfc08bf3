// Whole rows from the fast matcher against the reference matcher.
#include "match/row_matcher.h"

#include <gtest/gtest.h>

#include <functional>

#include "match/reference_matcher.h"
#include "pixels/raster.h"
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

// A drawing kept as a session keeps it: one band, cell list and trail per row,
// each row re-matched from its trail after the ink changes.
struct KeptRows {
    const RowMatcher& matcher;
    int inkMinX, inkMaxX;
    std::array<InkBand, kRowCount> bands;
    std::array<TextRow, kRowCount> cells;
    std::array<RowTrail, kRowCount> trails;
    std::array<ColumnSpan, kRowCount> unmatched;

    KeptRows(const RowMatcher& m, const Image& ink, int minX, int maxX)
        : matcher(m), inkMinX(minX), inkMaxX(maxX) {
        for (int row = 0; row < kRowCount; ++row) {
            const auto r = static_cast<std::size_t>(row);
            bands[r] = InkBand(ink, row);
            matcher.MatchRow(bands[r], inkMinX, inkMaxX, cells[r], trails[r]);
        }
    }
    // Pixels changed in rows minY-maxY, columns within `columns`.
    void Changed(const Image& ink, const ChangedRows& changed, ColumnSpan columns) {
        if (changed.Empty()) return;
        for (int row = 0; row < kRowCount; ++row) {
            const int top = row * kInkRowHeight - 1, bottom = top + kWindowRows - 1;
            if (changed.maxY < top || changed.minY > bottom) continue;
            bands[static_cast<std::size_t>(row)].Refresh(ink, row, changed.minY, changed.maxY);
            unmatched[static_cast<std::size_t>(row)].Add(columns);
        }
    }
    void Rematch(int row) {
        const auto r = static_cast<std::size_t>(row);
        matcher.RematchRow(bands[r], inkMinX, inkMaxX, unmatched[r], cells[r], trails[r]);
        unmatched[r] = {};
    }
};

// Changes of every kind to drawings of several styles; `catalog` is re-made
// per drawing when given a maker (glyphs as wide as the window find the
// change's edges exactly).
void ExpectRematchesAgree(const std::function<GlyphCatalog(std::mt19937&)>& makeCatalog,
                          int steps) {
    std::mt19937 rng(17);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const ClipRect clip{0, 0, kInkClipRight, kInkClipBottom};
    for (const InkStyle style : {InkStyle::Dense, InkStyle::Scribble, InkStyle::Sparse}) {
        const GlyphCatalog catalog = makeCatalog(rng);
        const RowMatcher matcher(catalog);
        Image ink = testing::RandomInk(style, rng);
        KeptRows kept(matcher, ink, 150, 650);
        for (int step = 0; step < steps; ++step) {
            // Short pen lines, wide eraser lines and single pixels, some
            // reaching past the extent, which then widens as a stroke's would.
            const Point a{uniform(100, 700), uniform(0, kInkHeight - 1)};
            const Point b{a.x + uniform(-30, 30), a.y + uniform(-20, 20)};
            ChangedRows changed;
            ColumnSpan columns;
            switch (uniform(0, 3)) {
                case 0:
                    changed = DrawThinLine(ink, a, b, kBlack, clip);
                    columns.Add(std::min(a.x, b.x), std::max(a.x, b.x));
                    break;
                case 1:
                    changed = DrawWideLine(ink, a, b, kLightGrey, clip);
                    columns.Add(std::min(a.x, b.x) - kWidePenWidth,
                                std::max(a.x, b.x) + kWidePenWidth);
                    break;
                default:
                    ink.SetPixel(a.x, a.y, uniform(0, 1) ? kBlack : kWhite);
                    changed.Add(a.y);
                    columns.Add(a.x, a.x);
            }
            kept.Changed(ink, changed, columns);
            kept.inkMinX = std::min({kept.inkMinX, a.x, b.x});
            kept.inkMaxX = std::min(std::max({kept.inkMaxX, a.x + 1, b.x + 1}), 799);
            // Some rows wait over several changes, as rows whose margin alone
            // changed do in a session.
            for (int row = 0; row < kRowCount; ++row) {
                if (uniform(0, 3) != 0) continue;
                kept.Rematch(row);
                ASSERT_EQ(kept.cells[static_cast<std::size_t>(row)],
                          matcher.MatchRow(ink, row, kept.inkMinX, kept.inkMaxX))
                    << "row " << row << " after step " << step;
            }
        }
    }
}

TEST(RematchRow, AgreesWithMatchingFromScratchAfterStrokesAndErasing) {
    ExpectRematchesAgree([](std::mt19937&) { return testing::LoadBuiltCatalog(); }, 300);
}

TEST(RematchRow, AgreesWithMatchingFromScratchWithAwkwardCatalogues) {
    ExpectRematchesAgree(testing::RandomCatalog, 300);
}

}  // namespace
}  // namespace fudeline
