// The glyph catalogue in bit form, for scoring a whole pattern against the ink
// window with a handful of word operations instead of one test per pixel.
//
// The 24 x 20 window is padded by one cell on every side (26 x 22) so that the
// four neighbours of every pattern pixel that can touch the window have a
// place; a pixel outside the padded grid is blank with no ink near it, always.
// Two padded rows share a 64-bit word (32 bits each), 11 words in all. A
// pattern pixel listed k times counts k times: it is kept in k layers.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "match/box_kernels.h"
#include "match/ink_window.h"
#include "simd/scorer_isa.h"
#include "glyphs/glyph.h"

namespace fudeline {

inline constexpr int kPaddedRows = kWindowRows + 2;   // 22
inline constexpr int kWindowWords = kPaddedRows / 2;  // 11

// The ink of one window in padded bit form, and the cells next to ink.
struct WindowBits {
    std::array<std::uint64_t, kWindowWords> ink{};
    std::array<std::uint64_t, kWindowWords> nearInk{};

    // `paddedRows[pr]` holds padded row pr, bit pc for padded column pc.
    void Build(const std::array<std::uint32_t, kPaddedRows>& paddedRows);
    void Build(const InkWindow& window);
};

class GlyphBits {
  public:
    using Isa = ScorerIsa;

    // Every path gives the reference's results; `isa` only picks the speed
    // (see ResolveIsa).
    explicit GlyphBits(const GlyphCatalog& catalog, Isa isa = Isa::Auto);

    // Same result as BestGlyphReference: the index of the highest-scoring glyph
    // (the later one among equal scores), or -1 when none scores 0 or more.
    int BestGlyph(const WindowBits& window) const;

    // The path this scorer runs on.
    Isa isa() const { return isa_; }
    // How many glyphs the bit-sliced box scores; the rest are scored one by one.
    int boxGlyphs() const { return box_.glyphs(); }

  private:
    struct Entry {
        std::uint64_t bits;
        std::uint32_t word;
    };
    // A glyph the box cannot hold, scored whole from its words.
    struct OtherGlyph {
        int index;
        std::int64_t fullPenalty;
        std::int64_t nearSaving;      // full less half: what a blank pixel next to ink saves
        std::int64_t outsidePenalty;  // pixels that never touch the window
        std::uint32_t firstEntry;
        std::uint32_t entryCount;
    };

    void AddOtherGlyph(int index);
    std::int64_t Score(const OtherGlyph& glyph, const WindowBits& window) const;

    const GlyphCatalog& catalog_;
    Isa isa_;
    BoxTables box_;
    BoxKernel kernel_;
    std::vector<OtherGlyph> others_;
    std::vector<Entry> entries_;
    bool referenceOnly_ = false;  // negative weights: only the per-pixel rules are exact
};

}  // namespace fudeline
