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

#include "convert/ink_window.h"
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
    // Which instructions scoring may use. Auto scores eight glyphs at once
    // with AVX-512 (and its bit count) where the processor has it, and
    // otherwise prunes glyph by glyph. Both give the reference's results.
    enum class Isa { Auto, Portable };

    explicit GlyphBits(const GlyphCatalog& catalog, Isa isa = Isa::Auto);

    // Same result as BestGlyphReference: the index of the highest-scoring glyph
    // (the later one among equal scores), or -1 when none scores 0 or more.
    int BestGlyph(const WindowBits& window) const;


  private:
    struct Entry {
        std::uint64_t bits;
        std::uint32_t word;
    };
    struct Glyph {
        std::int64_t fullPenalty;
        std::int64_t nearSaving;      // full less half: what a blank pixel next to ink saves
        std::int64_t outsidePenalty;  // pixels that never touch the window
        std::uint32_t firstEntry;     // heaviest word first
        std::uint32_t entryCount;
        // The two heaviest words again, zero when missing, for the first pass.
        std::uint64_t headBits[2];
        std::uint32_t headWords[2];
    };
    // Eight glyphs side by side; lane l of a block entry is glyph 8 b + l.
    struct alignas(64) WideEntry {
        std::uint64_t bits[8];
        std::uint64_t word;
    };
    struct alignas(64) WideBlock {
        std::int64_t fullPenalty[8];
        std::int64_t nearSaving[8];
        std::int64_t outsidePenalty[8];
        std::uint32_t firstEntry;
        std::uint32_t entryCount;
    };

    void BuildWideBlocks();
    int BestGlyphPortable(const WindowBits& window) const;
    int BestGlyphAvx512(const WindowBits& window) const;
    // The penalty of `glyph`'s two heaviest words and what lies outside the window.
    static std::int64_t HeadPenalty(const Glyph& glyph, const WindowBits& window);
    // `head` plus the penalty of the rest of `glyph`, given up (some value
    // above `limit`) once it exceeds `limit`.
    std::int64_t Penalty(const Glyph& glyph, const WindowBits& window, std::int64_t head,
                         std::int64_t limit) const;

    const GlyphCatalog& catalog_;
    std::vector<Glyph> glyphs_;
    std::vector<Entry> entries_;
    std::vector<WideBlock> blocks_;
    std::vector<WideEntry> wideEntries_;
    bool avx512_ = false;
    bool referenceOnly_ = false;  // negative weights: only the per-pixel rules are exact
};

}  // namespace fudeline
