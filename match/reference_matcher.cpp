#include "match/reference_matcher.h"

#include "pixels/geometry.h"

namespace fudeline {

InkWindow ReadInkWindow(const Image& ink, int hitX, int bandTop) {
    InkWindow window;
    for (int r = 0; r < kWindowRows; ++r) {
        for (int j = 0; j < kWindowColumns; ++j) {
            if (IsInkPixel(ink, hitX - 1 + j, bandTop - 1 + r)) window.Set(j, r);
        }
    }
    return window;
}

namespace {

bool IsBlankNearInk(const InkWindow& window, std::int64_t cx, std::int64_t cy) {
    return window.IsInk(cx - 1, cy) || window.IsInk(cx + 1, cy) || window.IsInk(cx, cy - 1) ||
           window.IsInk(cx, cy + 1);
}

}  // namespace

std::int64_t ScoreGlyph(const Glyph& glyph, const InkWindow& window) {
    std::int64_t score = kBestScore;
    for (const GlyphPixel& p : glyph.pixels) {
        const std::int64_t cx = std::int64_t{p.x} + 1, cy = std::int64_t{p.y} + 1;
        if (window.IsInk(cx, cy)) continue;
        score -= IsBlankNearInk(window, cx, cy) ? glyph.halfPenalty : glyph.fullPenalty;
    }
    return score;
}

int BestGlyphReference(const GlyphCatalog& catalog, const InkWindow& window) {
    std::int64_t bestScore = 0;
    int best = -1;
    for (std::size_t g = 0; g < catalog.size(); ++g) {
        const Glyph& glyph = catalog[g];
        std::int64_t score = kBestScore;
        bool abandoned = false;
        for (const GlyphPixel& p : glyph.pixels) {
            const std::int64_t cx = std::int64_t{p.x} + 1, cy = std::int64_t{p.y} + 1;
            if (window.IsInk(cx, cy)) continue;
            score -= IsBlankNearInk(window, cx, cy) ? glyph.halfPenalty : glyph.fullPenalty;
            if (score < bestScore) {
                abandoned = true;
                break;
            }
        }
        if (!abandoned) {
            bestScore = score;
            best = static_cast<int>(g);
        }
    }
    return best;
}

std::int32_t NormaliseGap(std::int64_t gap) {
    if (gap < 0 || gap == 1) return 0;
    if (gap == 2) return 3;
    return static_cast<std::int32_t>(gap);
}

TextRow MatchRowReference(const GlyphCatalog& catalog, const Image& ink, int row, int inkMinX,
                          int inkMaxX) {
    TextRow cells;
    const int top = row * kInkRowHeight;
    std::int64_t x = inkMinX;
    std::int64_t gap = inkMinX;
    while (x < inkMaxX) {
        bool hit = false;
        for (int i = 0; i < kInkRowHeight && !hit; ++i) {
            hit = IsInkPixel(ink, static_cast<int>(x), top + i);
        }
        const int best =
            hit ? BestGlyphReference(catalog, ReadInkWindow(ink, static_cast<int>(x), top)) : -1;
        if (best < 0) {
            ++x;
            ++gap;
            continue;
        }
        const Glyph& glyph = catalog[static_cast<std::size_t>(best)];
        cells.push_back({NormaliseGap(gap), glyph.text, glyph.width});
        x += glyph.width;
        gap = 0;
    }
    return cells;
}

}  // namespace fudeline
