// Matches one text row of ink against the glyph catalogue: the engine behind
// every paint while the user draws. Gives exactly the rows of
// MatchRowReference, with the ink and the patterns in bit form.
#pragma once

#include "match/glyph_bits.h"
#include "match/ink_band.h"
#include "match/row_trail.h"
#include "text/text_cell.h"
#include "glyphs/glyph.h"
#include "pixels/image.h"

namespace fudeline {

class RowMatcher {
  public:
    // Builds the catalogue's bit form once. `catalog` must outlive the matcher
    // and stay unchanged.
    explicit RowMatcher(const GlyphCatalog& catalog, ScorerIsa isa = ScorerIsa::Auto);

    // Re-matches text row `row` from scratch: scans columns inkMinX to
    // inkMaxX - 1 and places at each inked column the best-scoring glyph.
    TextRow MatchRow(const Image& ink, int row, int inkMinX, int inkMaxX) const;

    // The same from the row's band, also noting where each cell was hit.
    void MatchRow(const InkBand& band, int inkMinX, int inkMaxX, TextRow& cells,
                  RowTrail& trail) const;

    // `cells` and `trail` hold a match of this band's row from before the ink
    // changed at most in columns `changed` (of any of the band's 20 pixel
    // rows) and the extent possibly widened. Brings them to exactly what
    // MatchRow gives now, re-scanning only from the first cell whose window
    // reaches the change until the scan falls back into step with the old one.
    void RematchRow(const InkBand& band, int inkMinX, int inkMaxX, ColumnSpan changed,
                    TextRow& cells, RowTrail& trail) const;

    ScorerIsa isa() const { return bits_.isa(); }

  private:
    // Scans from column x with gap counter `gap`, appending cells. With
    // `old` given, stops as soon as a cell ends where a cell of the old scan
    // ended, right of column `unchangedFrom` - 1, and appends the old scan's
    // remaining cells instead.
    struct OldScan {
        TextRow cells;
        std::vector<std::int32_t> hits;
        int unchangedFrom;
    };
    void Scan(const InkBand& band, std::int64_t x, std::int64_t gap, int inkMaxX, TextRow& cells,
              std::vector<std::int32_t>& hits, OldScan* old) const;

    const GlyphCatalog& catalog_;
    GlyphBits bits_;
};

}  // namespace fudeline
