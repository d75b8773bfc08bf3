// A second way to turn one text row of ink into characters: instead of taking
// the best glyph at each inked column and jumping by its width, it chooses the
// whole row at once, the sequence of [spacing, glyph] whose drawing follows
// the ink best, by dynamic programming over x. Slower than the row matcher but
// far cleaner: outlines stay on the pen line and empty areas stay empty.
//
// What "best" means is in fine_cost.h. Glyphs go only where their 16 columns
// hold ink or lie within 2 px of it. Which spacing may stand where is decided
// in one place: GapAllowed, with the fillers each width draws in
// BuildGapTable and what they cost in FillerCost.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "fine/exact_glyphs.h"
#include "fine/fine_cost.h"
#include "fine/fine_glyphs.h"
#include "fine/row_ink.h"
#include "simd/scorer_isa.h"
#include "text/spacing.h"
#include "text/text_cell.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"
#include "pixels/image.h"

namespace fudeline {

struct FineOptions {
    // Spacing only of full-width spaces and at most one half-width space
    // before a glyph (never at a line's start): no '.', 'ﾞ' or '､' that the
    // ink did not ask for, at the price of fewer gap widths.
    bool noFillers = false;
    // Spacing of Unicode spaces (and one half-width space), which draw
    // nothing: every gap they spell exactly is allowed and costs nothing
    // by itself. Overrides noFillers; must outlive the decoder.
    const UnicodeSpaces* unicodeSpaces = nullptr;
    // Besides the catalogue's glyphs, every other character of its ranges
    // that the face draws: the row matcher leaves out marks such as '.', ':'
    // and '、' because they mislead it, but text art is full of them and a
    // decoder that weighs whole rows places them where they belong.
    bool rangeCharacters = true;
    // What a glyph costs depends also on the glyph before it (or spacing),
    // by how often artists write that pair (FollowingCosts). Off by default:
    // on traced real text art it gave back one character in a hundred more,
    // but it also let a '.' and a space stand for what fillers or one
    // Unicode space spelled, and cost the exact round trip of Unicode
    // spacing. Without it each glyph costs the same wherever it stands and
    // every row is the exact optimum of the pixel costs and priors; with it
    // the row is chosen on the cheapest way to each column only, not for
    // every glyph that may end there.
    bool following = false;
};

// What a mark the ink does not draw exactly costs more under `options`.
inline std::int32_t MarkCost(const FineOptions& options) {
    return options.noFillers && !options.unicodeSpaces ? kMarkCost : kFillersMarkCost;
}

class FineDecoder {
  public:
    // The glyphs are the catalogue's (and, with rangeCharacters, the rest of
    // its ranges), drawn as the face draws them (the catalogue's patterns are
    // trimmed to their first dark column; the text is not). A glyph the face
    // lacks, or draws at another width, is never placed. `font` must outlive
    // the decoder. With Isa::Auto (as FUDELINE_ISA resolves it) rows are
    // scored with AVX2 where the processor has it; otherwise, and with
    // Portable, by plain vector code. Both give the same rows.
    FineDecoder(const GlyphCatalog& catalog, const MonaFont& font, FineOptions options = {},
                ScorerIsa isa = ScorerIsa::Auto);

    // Decodes text row `row` (ink rows 16 row to 16 row + 15, and the two
    // rows either side for what lies near them) from scratch.
    TextRow DecodeRow(const Image& ink, int row) const;

    // Decodes the columns `left` to `right` - 1 of text row `row` between
    // kept characters: the cells lie within them, the first one's gap counted
    // from `left`, and the spacing to `right` (where a kept character stands,
    // unless it is the canvas's edge) is one the options can spell. The ink
    // outside the columns is read only as what lies near.
    TextRow DecodeSpan(const Image& ink, int row, int left, int right) const;

    // The cost of the best row of the first pass (where the glyphs lie on
    // the ink before they are moved to where the spacing can put them).
    std::int64_t RowCost(const Image& ink, int row) const;

    // Whether spacing of `width` pixels may stand at a line's start or after
    // a glyph under these options.
    bool GapAllowed(std::int32_t width, bool atLineStart) const;

    const FineOptions& options() const { return options_; }

  private:
    static constexpr int kColumns = kFineRowColumns;

    struct FillerColumn {
        std::int32_t offset;
        std::uint16_t dark;
    };
    struct Solution;
    // The columns a decoding fills: [left, right).
    struct Span {
        int left, right;
    };

    void BuildGapTable(const MonaFont& font);
    std::int32_t FillerCost(const RowInk& masks, std::int32_t x, std::int32_t gap) const;
    TextRow Decode(const Image& ink, int row, Span span) const;
    // The cheapest row: with `freeGaps`, glyphs where they lie best on the
    // ink, spacing of any width drawing nothing; otherwise only spacing the
    // options spell, priced by what its fillers draw.
    void Solve(const Image& ink, int row, Span span, bool freeGaps, Solution& solution) const;
    TextRow Cells(const Solution& solution, Span span) const;
    // The first pass's row with each run of touching glyphs moved by up to
    // `reach` columns, so that every gap is one the options spell, at the
    // least cost of moves and fillers; none when no such moves exist.
    std::optional<TextRow> Snap(const Solution& solution, Span span, int reach) const;
    // The pixels within each distance (city-block) of the row's own ink, up
    // to kFarDistance, which counts for everything farther.
    static constexpr std::int32_t kFarDistance = kMostMove + 3;
    struct DistanceMap {
        std::array<std::array<std::uint16_t, kColumns>, kFarDistance> within;
    };
    static void InkDistances(const RowInk& masks, DistanceMap& map);
    // What the dark pixels of `glyph` drawn at `x` cost by where they lie:
    // kMoveCost for each pixel of their distance to the row's ink, and
    // kBeyondCost for each more than 3 px from it.
    std::int32_t PlacedCost(const DistanceMap& map, const RowInk& masks, std::int32_t glyph,
                            std::int32_t x) const;

    GlyphCatalog glyphList_;  // what may be placed: text and width, no patterns
    FineOptions options_;
    FineGlyphs glyphs_;
    ExactGlyphs exact_;
    std::vector<std::int32_t> exactCost_;  // by glyphList_ index: its cost where drawn exactly
    // By glyphList_ index: its dark columns, darkColumns_[darkBegin_[g]] up to
    // darkColumns_[darkBegin_[g + 1]].
    struct DarkColumnBits {
        std::int32_t x;
        std::uint16_t dark;
    };
    std::vector<DarkColumnBits> darkColumns_;
    std::vector<std::uint32_t> darkBegin_;
    // Spacing of width g draws filler columns fillerBegin_[g] to fillerBegin_[g + 1] - 1.
    std::vector<FillerColumn> fillerColumns_;
    std::vector<std::uint32_t> fillerBegin_;
    std::int32_t mostFillerGain_ = 0;  // the most any spacing can earn on ink
    std::vector<std::uint8_t> followClass_;  // by glyphList_ index
    FollowCosts follow_{};                   // all 0 without `following`
    std::int32_t followSpread_ = 0;          // its largest less its smallest
};

}  // namespace fudeline
