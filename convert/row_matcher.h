// Matches one text row of ink against the glyph catalogue: the engine behind
// every paint while the user draws. Gives exactly the rows of
// MatchRowReference, with the ink and the patterns in bit form.
#pragma once

#include "pixels/image.h"
#include "convert/glyph_bits.h"
#include "convert/text_cell.h"
#include "glyphs/glyph.h"

namespace fudeline {

class RowMatcher {
  public:
    // Builds the catalogue's bit form once. `catalog` must outlive the matcher
    // and stay unchanged.
    explicit RowMatcher(const GlyphCatalog& catalog, GlyphBits::Isa isa = GlyphBits::Isa::Auto);

    // Re-matches text row `row` from scratch: scans columns inkMinX to
    // inkMaxX - 1 and places at each inked column the best-scoring glyph.
    TextRow MatchRow(const Image& ink, int row, int inkMinX, int inkMaxX) const;

  private:
    const GlyphCatalog& catalog_;
    GlyphBits bits_;
};

}  // namespace fudeline
