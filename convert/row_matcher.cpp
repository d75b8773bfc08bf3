#include "convert/row_matcher.h"

#include "convert/ink_band.h"
#include "convert/reference_matcher.h"

namespace fudeline {

RowMatcher::RowMatcher(const GlyphCatalog& catalog, GlyphBits::Isa isa)
    : catalog_(catalog), bits_(catalog, isa) {}

TextRow RowMatcher::MatchRow(const Image& ink, int row, int inkMinX, int inkMaxX) const {
    TextRow cells;
    if (inkMinX >= inkMaxX) return cells;
    const InkBand band(ink, row);
    WindowBits window;
    std::int64_t x = inkMinX;
    std::int64_t gap = inkMinX;
    while (x < inkMaxX) {
        const int hit = band.NextHit(static_cast<int>(x), inkMaxX);
        if (hit < 0) break;
        gap += hit - x;
        x = hit;
        band.FillWindow(hit, window);
        const int best = bits_.BestGlyph(window);
        if (best < 0) {
            ++x;
            ++gap;
            continue;
        }
        const Glyph& glyph = catalog_[static_cast<std::size_t>(best)];
        cells.push_back({NormaliseGap(gap), glyph.text, glyph.width});
        x += glyph.width;
        gap = 0;
    }
    return cells;
}

}  // namespace fudeline
