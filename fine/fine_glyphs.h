// The catalogue's glyphs as the fine decoder scores them, a whole text row at
// a time.
//
// A glyph's cost at a start column is a sum over its columns, and what one
// glyph column adds depends only on that column's pattern and on the ink
// column under it. The face's few thousand glyph columns share under a
// thousand dark patterns and as many reach patterns, so each pattern is
// scored once against every ink column of the row (a table), and a glyph's
// cost at sixteen start columns at once is its base plus one table load per
// column and term. That is several times less work than counting each
// glyph's pixels afresh at every start.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "fine/fine_kernels.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"
#include "simd/scorer_isa.h"

namespace fudeline {

// One drawing the scorer weighs: the glyph it stands for (an index the
// caller chose), its width, its dark columns (bit y for line y) and what it
// costs beyond its pixels. A glyph may be weighed as several drawings, as a
// level stroke moved up or down a line or three is.
struct FineShape {
    std::int32_t glyph = 0;
    std::int32_t width = 0;
    std::array<std::uint16_t, kFineMaxWidth> dark{};
    std::int32_t extra = 0;
    // How many lines below where the face draws the glyph `dark` lies
    // (negative: above); its pixels far from ink are counted where the face
    // draws them.
    std::int32_t moved = 0;
};

// Glyph `index` of `catalog` as the face draws it, weighed with its prior;
// nothing when the face lacks it, draws it at another width than the
// catalogue's or wider than kFineMaxWidth.
std::optional<FineShape> FaceShape(const GlyphCatalog& catalog, std::size_t index,
                                   const MonaFont& font);

// A row's scores kept between calls, with the ink they were scored on: a
// mouse move changes the ink of a few columns, and only the starts whose
// glyphs reach those columns need scoring again.
struct KeptScores {
    static constexpr int kChunks = RowScores::kStarts / kFineChunk;
    std::uint64_t scorer = 0;  // the FineGlyphs that scored them (its serial); 0: none
    InkColumns ink;            // what they were scored on
    std::array<bool, kChunks> current{};  // which chunks of starts hold scores of `ink`
    RowScores scores;
};

class FineGlyphs {
  public:
    // A glyph the face lacks, draws at another width than the catalogue's,
    // draws wider than kFineMaxWidth or draws blank is left out. Rows are
    // scored on the path `isa` resolves to (ResolveIsa; Auto as FUDELINE_ISA
    // says): sixteen starts per vector with AVX2 where the processor has it,
    // otherwise eight per vector by portable code. Every path gives the same
    // scores.
    FineGlyphs(const GlyphCatalog& catalog, const MonaFont& font, ScorerIsa isa);
    // The drawings of `shapes` (blank ones and those wider than kFineMaxWidth
    // left out), each weighed with its own extra cost; Cheapest and Least
    // answer a shape's `glyph`.
    FineGlyphs(std::span<const FineShape> shapes, ScorerIsa isa);

    std::size_t widthCount() const { return groups_.size(); }
    std::int32_t width(std::size_t group) const { return groups_[group].width; }

    // Scores every width at every start x with wanted[x] set (and at the
    // other starts of the same sixteen, which cost nothing more).
    void ScoreRow(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                  RowScores& scores) const;
    // The same, scoring only the chunks of starts that `kept` holds no
    // scores for on this ink (scores of another FineGlyphs are dropped);
    // `kept.scores` then holds the row's. Gives the same scores as a row
    // scored afresh.
    void ScoreRow(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                  KeptScores& kept) const;

    // The catalogue index of the cheapest glyph of width group `group` at
    // start `x` of the scored row, whose columns hold `inkPixels` ink pixels,
    // if it costs less than `bound`, which then becomes its cost; otherwise
    // -1. The first in catalogue order among equals.
    std::int32_t Cheapest(const RowScores& scores, std::size_t group, int x, std::int32_t inkPixels,
                          std::int32_t& bound) const;

    // The catalogue index of the cheapest glyph of width group `group` at
    // start `x` of the scored row, whose columns hold `inkPixels` ink pixels,
    // with its cost in `cost`. The first in catalogue order among equals.
    std::int32_t Least(const RowScores& scores, std::size_t group, int x, std::int32_t inkPixels,
                       std::int32_t& cost) const;

  private:
    // Scores the chunks of starts `wanted` asks for, but those `current`
    // (when given) says hold scores already, and marks them so.
    void ScoreChunks(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                     RowScores& scores, std::array<bool, KeptScores::kChunks>* current) const;

    std::vector<FineWidthGroup> groups_;
    std::vector<FinePattern> patterns_;
    int widest_ = 0;
    FineKernels kernels_;
    std::uint64_t serial_;  // tells kept scores of this scorer from another's
};

}  // namespace fudeline
