// A second way to turn one text row of ink into characters: instead of taking
// the best glyph at each inked column and jumping by its width, it chooses the
// whole row at once, the sequence of [spacing, glyph] whose drawing follows
// the ink best, by dynamic programming over x. Slower than the row matcher but
// far cleaner: outlines stay on the pen line and empty areas stay empty.
//
// What "best" means, in tenths of a pixel: every pixel the row draws farther
// than 2 px from ink costs 1.2, every one within 2 px earns 0.1, and every ink
// pixel of the row with no drawn pixel within 2 px costs 1. Glyphs go only
// where their 16 columns hold ink or lie within 2 px of it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "convert/glyph_bits.h"
#include "convert/text_cell.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"
#include "pixels/image.h"

namespace fudeline {

inline constexpr std::int32_t kFarPixelCost = 12;   // a drawn pixel away from ink
inline constexpr std::int32_t kNearPixelGain = 1;   // a drawn pixel on or by ink
inline constexpr std::int32_t kMissedInkCost = 10;  // an ink pixel nothing drawn covers
// How far outside its 16 ink rows a row's decoding looks: ink this close to
// a band changes the band's row.
inline constexpr int kFineDecoderReach = 2;

struct FineOptions {
    // Spacing only of full-width spaces and at most one half-width space
    // before a glyph (never at a line's start): no '.', 'ﾞ' or '､' that the
    // ink did not ask for, at the price of fewer gap widths.
    bool noFillers = false;
};

class FineDecoder {
  public:
    // The glyphs are the catalogue's, drawn as the face draws them (the
    // catalogue's patterns are trimmed to their first dark column; the text
    // is not). A glyph the face lacks, or draws at another width, is never
    // placed. `catalog` and `font` must outlive the decoder. With Isa::Auto
    // glyphs are scored four at a time with AVX2 where the processor has it;
    // Portable scores them one by one. Both give the same rows.
    FineDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options = {},
                GlyphBits::Isa isa = GlyphBits::Isa::Auto);

    // Decodes text row `row` (ink rows 16 row to 16 row + 15, and the two
    // rows either side for what lies near them) from scratch.
    TextRow DecodeRow(const Image& ink, int row) const;

    // The cost of the best row, as DecodeRow would return it.
    std::int64_t RowCost(const Image& ink, int row) const;

    // Whether spacing of `width` pixels may stand at a line's start or after
    // a glyph under these options.
    bool GapAllowed(std::int32_t width, bool atLineStart) const;

    const FineOptions& options() const { return options_; }

  private:
    static constexpr int kColumns = 800;
    static constexpr int kMaxWords = 6;  // 4 columns of 16 bits a word: glyphs up to 24 wide
    static constexpr int kPadding = 4 * kMaxWords + 4;

    using Words = std::array<std::uint64_t, kMaxWords>;
    // The glyphs of one width, their columns four to a word (column 4k + i
    // at bits 16 i to 16 i + 15), word k of every glyph side by side so that
    // one pass scores them all without a branch.
    struct WidthGroup {
        std::int32_t width = 0;
        std::int32_t words = 0;
        std::vector<std::int32_t> catalogIndex;
        std::vector<std::int32_t> pixels;
        std::size_t stride = 0;            // count rounded up to a multiple of 4
        std::vector<std::uint64_t> dark;   // word k of glyph g at k * stride + g
        std::vector<std::uint64_t> reach;  // cells within 2 px of a dark pixel, own columns
        std::vector<std::int64_t> base;    // what a glyph costs before its words: -0.1 pixels
        std::size_t count() const { return catalogIndex.size(); }
    };
    struct FillerColumn {
        std::int32_t offset;
        std::uint16_t dark;
    };
    // The row's masks: bit r of a column is ink row 16 row + r.
    struct RowMasks {
        std::array<std::uint16_t, kColumns + kPadding> near{};    // within 2 px of ink
        std::array<std::uint16_t, kColumns + kPadding> target{};  // the row's own ink
        std::array<std::int32_t, kColumns + 1> inkBefore{};       // target pixels left of x
    };
    struct Solution;

    void BuildGlyphPatterns(const MonaFont& font);
    void BuildGapTable(const MonaFont& font);
    static void ReadRow(const Image& ink, int row, RowMasks& masks);
    std::int32_t FillerCost(const RowMasks& masks, std::int32_t x, std::int32_t gap) const;
    // The index of the cheapest glyph of `group` at the column whose masks
    // (and the next ones') are `near` and `target`, if it costs less than
    // `bound`, which it then becomes; otherwise -1.
    std::int32_t CheapestGlyph(const WidthGroup& group, const Words& near, const Words& target,
                               std::int32_t ink, std::int32_t& bound) const;
    // Each glyph's cost less the missed-ink term common to the group, into
    // score[0 .. stride - 1]; returns the least.
    static std::int64_t ScorePortable(const WidthGroup& group, const Words& near,
                                      const Words& target, std::int64_t* score);
    static std::int64_t ScoreAvx2(const WidthGroup& group, const Words& near, const Words& target,
                                  std::int64_t* score);
    void Solve(const Image& ink, int row, Solution& solution) const;

    const GlyphCatalog& catalog_;
    FineOptions options_;
    std::vector<WidthGroup> groups_;
    // Spacing of width g draws filler columns fillerBegin_[g] to fillerBegin_[g + 1] - 1.
    std::vector<FillerColumn> fillerColumns_;
    std::vector<std::uint32_t> fillerBegin_;
    std::int32_t mostFillerGain_ = 0;  // the most any spacing can earn near ink
    bool avx2_ = false;
};

}  // namespace fudeline
