// The catalogue's glyphs as the fine decoder scores them: each as the face
// draws it, in 16-bit columns four to a word (column 4k + i at bits 16 i to
// 16 i + 15), grouped by width, word k of every glyph of a width side by side
// so that one pass scores them all without a branch.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "convert/glyph_bits.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"

namespace fudeline {

inline constexpr int kFineMaxWords = 6;  // glyphs up to 24 columns wide
// Masks of 4 k to 4 k + 3 columns from a glyph's first, k < kFineMaxWords.
using ColumnWords = std::array<std::uint64_t, kFineMaxWords>;

// The ink a glyph is scored against, over the columns it would cover.
struct InkWords {
    ColumnWords near1{};   // within 1 px of ink (the 4-neighbours)
    ColumnWords near2{};   // within 2 px of ink
    ColumnWords target{};  // the row's own ink
};

class FineGlyphs {
  public:
    // A glyph the face lacks, draws at another width than the catalogue's, or
    // draws blank is left out. With Isa::Auto glyphs are scored four at a time
    // with AVX2 where the processor has it; Portable scores them one by one.
    FineGlyphs(const GlyphCatalog& catalog, const MonaFont& font, GlyphBits::Isa isa);

    std::size_t widthCount() const { return groups_.size(); }
    std::int32_t width(std::size_t group) const { return groups_[group].width; }

    // The catalogue index of the cheapest glyph of width group `group` over
    // columns whose masks are `ink` (`inkPixels` target pixels in all), if
    // it costs less than `bound`, which then becomes its cost; otherwise -1.
    // The first in catalogue order among equals.
    std::int32_t Cheapest(std::size_t group, const InkWords& ink, std::int32_t inkPixels,
                          std::int32_t& bound) const;

  private:
    struct WidthGroup {
        std::int32_t width = 0;
        std::int32_t words = 0;
        std::vector<std::int32_t> catalogIndex;
        std::size_t stride = 0;            // count rounded up to a multiple of 4
        std::vector<std::uint64_t> dark;    // word k of glyph g at k * stride + g
        std::vector<std::uint64_t> reach1;  // cells within 1 px of a dark pixel, own columns
        std::vector<std::uint64_t> reach2;  // cells within 2 px of a dark pixel, own columns
        std::vector<std::int64_t> base;     // what a glyph costs before its words
        std::size_t count() const { return catalogIndex.size(); }
    };

    // Each glyph's cost less the missed-ink term common to the group, into
    // score[0 .. stride - 1]; returns the least.
    static std::int64_t ScorePortable(const WidthGroup& group, const InkWords& ink,
                                      std::int64_t* score);
    static std::int64_t ScoreAvx2(const WidthGroup& group, const InkWords& ink,
                                  std::int64_t* score);

    std::vector<WidthGroup> groups_;
    bool avx2_ = false;
};

}  // namespace fudeline
