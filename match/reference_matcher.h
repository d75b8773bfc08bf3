// The row matcher in its plainest form: pixel reads and per-pixel scoring with
// early abandonment. It is the yardstick the fast matcher is tested against.
#pragma once

#include "match/ink_window.h"
#include "text/text_cell.h"
#include "glyphs/glyph.h"
#include "pixels/image.h"

namespace fudeline {

// An ink-layer pixel is ink exactly when it is black; outside the layer is not.
inline bool IsInkPixel(const Image& ink, int x, int y) {
    return ink.Pixel(x, y) == 0;
}

// The window of a hit at column `hitX` in the band starting at ink y `bandTop`.
InkWindow ReadInkWindow(const Image& ink, int hitX, int bandTop);

// 0x10000000 less the glyph's penalties: the full weight for each pattern pixel
// on blank canvas, the half weight where one of its four neighbours is ink.
std::int64_t ScoreGlyph(const Glyph& glyph, const InkWindow& window);

// Index of the best glyph for the window (the later one among equal scores),
// or -1 when no glyph scores 0 or more.
int BestGlyphReference(const GlyphCatalog& catalog, const InkWindow& window);

// Cell gaps are stored normalised: below 0 and 1 become 0, 2 becomes 3.
std::int32_t NormaliseGap(std::int64_t gap);

// Re-matches text row `row` from scratch over columns inkMinX to inkMaxX - 1.
TextRow MatchRowReference(const GlyphCatalog& catalog, const Image& ink, int row, int inkMinX,
                          int inkMaxX);

}  // namespace fudeline
