// Matches one text row of ink against the glyph catalogue: the engine behind
// every paint while the user draws.
#pragma once

#include "canvas/image.h"
#include "convert/text_cell.h"
#include "glyphs/glyph.h"

namespace fudeline {

class RowMatcher {
public:
    // Keeps a reference to `catalog`, which must outlive the matcher and stay unchanged.
    explicit RowMatcher(const GlyphCatalog& catalog);

    // Re-matches text row `row` from scratch: scans columns inkMinX to
    // inkMaxX - 1 and places at each inked column the best-scoring glyph.
    TextRow MatchRow(const Image& ink, int row, int inkMinX, int inkMaxX) const;

    const GlyphCatalog& catalog() const { return catalog_; }

private:
    const GlyphCatalog& catalog_;
};

}  // namespace fudeline
