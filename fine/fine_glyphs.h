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
#include <vector>

#include "simd/scorer_isa.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"

namespace fudeline {

inline constexpr int kFineRowColumns = 800;  // the canvas's columns
inline constexpr int kFineMaxWidth = 24;     // wider glyphs are never placed

// One text row's ink as 16-bit columns (bit r for line r), with blank
// columns past the row's end so that a glyph may be scored at any start.
struct InkColumns {
    static constexpr int kSize = kFineRowColumns + kFineMaxWidth + 8;
    std::array<std::uint16_t, kSize> near1{};   // within 1 px of ink (the 4-neighbours)
    std::array<std::uint16_t, kSize> near2{};   // within 2 px of ink
    std::array<std::uint16_t, kSize> target{};  // the row's own ink
};

// The cheapest glyph of each width at each start column of a row, before the
// ink the glyph covers is charged as missed (the same for every glyph of a
// width). Filled only at the starts ScoreRow was asked for.
struct RowScores {
    static constexpr int kStarts = (kFineRowColumns + 15) / 16 * 16;
    std::vector<std::array<std::int16_t, kStarts>> least;   // by width group, then start
    std::vector<std::array<std::int16_t, kStarts>> choice;  // the glyph's place in its group
};

class FineGlyphs {
  public:
    // A glyph the face lacks, draws at another width than the catalogue's,
    // draws wider than kFineMaxWidth or draws blank is left out. With
    // Isa::Auto (as FUDELINE_ISA resolves it) rows are scored sixteen starts
    // at a time with AVX2 where the processor has it; otherwise by plain code.
    // Both give the same scores.
    FineGlyphs(const GlyphCatalog& catalog, const MonaFont& font, ScorerIsa isa);

    std::size_t widthCount() const { return groups_.size(); }
    std::int32_t width(std::size_t group) const { return groups_[group].width; }

    // Scores every width at every start x with wanted[x] set (and at the
    // other starts of the same sixteen, which cost nothing more).
    void ScoreRow(const InkColumns& ink, const std::array<bool, kFineRowColumns>& wanted,
                  RowScores& scores) const;

    // The catalogue index of the cheapest glyph of width group `group` at
    // start `x` of the scored row, whose columns hold `inkPixels` ink pixels,
    // if it costs less than `bound`, which then becomes its cost; otherwise
    // -1. The first in catalogue order among equals.
    std::int32_t Cheapest(const RowScores& scores, std::size_t group, int x, std::int32_t inkPixels,
                          std::int32_t& bound) const;

  private:
    struct WidthGroup {
        std::int32_t width = 0;
        std::vector<std::int32_t> catalogIndex;
        std::vector<std::int16_t> base;  // what a glyph costs before its columns
        // Glyph g's columns are terms[termBegin[g]] to terms[termBegin[g + 1] - 1],
        // each the offset of its pattern's table row plus the column.
        std::vector<std::uint32_t> termBegin;
        std::vector<std::uint32_t> terms;
        std::size_t count() const { return catalogIndex.size(); }
    };
    // The tables: one row of kTableColumns per pattern, what the pattern
    // adds to a glyph's cost over each ink column.
    static constexpr int kTableColumns = RowScores::kStarts + 32;

    // What a pattern is scored by: the dark pixels it draws, or the ink
    // pixels within 1 or 2 px of a glyph's dark ones.
    enum class Kind : std::uint8_t { Dark, Reach1, Reach2 };
    struct Pattern {
        std::uint16_t mask;
        Kind kind;
    };
    void FillTables(const InkColumns& ink, int chunk, std::int16_t* tables) const;
    void SumChunk(const std::int16_t* tables, int chunk, RowScores& scores) const;
    void FillTablesAvx2(const InkColumns& ink, int chunk, std::int16_t* tables) const;
    void SumChunkAvx2(const std::int16_t* tables, int chunk, RowScores& scores) const;

    std::vector<WidthGroup> groups_;
    std::vector<Pattern> patterns_;
    int widest_ = 0;
    bool avx2_ = false;
};

}  // namespace fudeline
