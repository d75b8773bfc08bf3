#include "match/row_matcher.h"

#include <utility>

#include "match/ink_window.h"
#include "match/reference_matcher.h"

namespace fudeline {

RowMatcher::RowMatcher(const GlyphCatalog& catalog, ScorerIsa isa)
    : catalog_(catalog), bits_(catalog, isa) {}

TextRow RowMatcher::MatchRow(const Image& ink, int row, int inkMinX, int inkMaxX) const {
    TextRow cells;
    RowTrail trail;
    MatchRow(InkBand(ink, row), inkMinX, inkMaxX, cells, trail);
    return cells;
}

void RowMatcher::MatchRow(const InkBand& band, int inkMinX, int inkMaxX, TextRow& cells,
                          RowTrail& trail) const {
    cells.clear();
    trail.hits.clear();
    trail.inkMinX = inkMinX;
    trail.inkMaxX = inkMaxX;
    Scan(band, inkMinX, inkMinX, inkMaxX, cells, trail.hits, nullptr);
}

void RowMatcher::RematchRow(const InkBand& band, int inkMinX, int inkMaxX, ColumnSpan changed,
                            TextRow& cells, RowTrail& trail) const {
    // A narrower extent, or a trail that does not belong to the cells, and
    // nothing of the old scan can be trusted.
    if (inkMinX > trail.inkMinX || inkMaxX < trail.inkMaxX || trail.hits.size() != cells.size()) {
        MatchRow(band, inkMinX, inkMaxX, cells, trail);
        return;
    }
    // The extent only ever held ink, so columns it newly takes in on the left
    // act like changed ones.
    if (inkMinX < trail.inkMinX) changed.Add(inkMinX, trail.inkMinX - 1);
    const bool widened = inkMaxX > trail.inkMaxX;
    if (changed.Empty() && !widened) return;
    // The cells whose windows (hit - 1 to hit + 22) end left of the change,
    // and the columns scanned before them, stay as they were.
    std::size_t keep = 0;
    if (changed.Empty()) {
        keep = cells.size();
    } else {
        while (keep < cells.size() &&
               std::int64_t{trail.hits[keep]} + kWindowColumns - 2 < changed.first) {
            ++keep;
        }
    }
    std::int64_t x = inkMinX, gap = inkMinX;
    if (keep > 0) {
        x = std::int64_t{trail.hits[keep - 1]} + cells[keep - 1].width;
        gap = 0;
    }
    OldScan old;
    // Past the old scan's end a wider extent finds new cells: no catching up.
    const bool resumable = !widened && !changed.Empty();
    if (resumable) {
        old.cells.assign(std::make_move_iterator(cells.begin() + static_cast<std::ptrdiff_t>(keep)),
                         std::make_move_iterator(cells.end()));
        old.hits.assign(trail.hits.begin() + static_cast<std::ptrdiff_t>(keep), trail.hits.end());
        old.unchangedFrom = changed.last + 1;
    }
    cells.resize(keep);
    trail.hits.resize(keep);
    trail.inkMinX = inkMinX;
    trail.inkMaxX = inkMaxX;
    Scan(band, x, gap, inkMaxX, cells, trail.hits, resumable ? &old : nullptr);
}

void RowMatcher::Scan(const InkBand& band, std::int64_t x, std::int64_t gap, int inkMaxX,
                      TextRow& cells, std::vector<std::int32_t>& hits, OldScan* old) const {
    WindowBits window;
    std::size_t next = 0;  // the first old cell not yet passed
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
        hits.push_back(hit);
        x += glyph.width;
        gap = 0;
        if (old == nullptr) continue;
        // From the end of a cell on, the scan reads columns end - 1 and
        // beyond only; where those are unchanged and the old scan stood at
        // the same column in the same state, the rest of the row is the old one.
        auto oldEnd = [&](std::size_t i) {
            return std::int64_t{old->hits[i]} + old->cells[i].width;
        };
        while (next < old->cells.size() && oldEnd(next) < x) ++next;
        if (next < old->cells.size() && oldEnd(next) == x && x - 1 >= old->unchangedFrom) {
            for (std::size_t i = next + 1; i < old->cells.size(); ++i) {
                cells.push_back(std::move(old->cells[i]));
                hits.push_back(old->hits[i]);
            }
            return;
        }
    }
}

}  // namespace fudeline
