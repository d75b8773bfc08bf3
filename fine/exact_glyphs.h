// Where a row's ink is exactly the drawing of one glyph.
//
// Text art drawn with the face, or opened and touched up, holds glyphs whose
// pixels are the ink to the last one. The decoder's pixel costs forgive a
// stroke a pixel off its line, as a hand draws it; that forgiveness must not
// let a likelier look-alike a pixel aside win over the very glyph the ink
// shows. So the columns under every start are compared, for every width,
// with the glyphs of that width, and a glyph found there whole earns a bonus.
// Found by a rolling hash of the columns, a few dozen operations per start
// and width: little beside scoring the row.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "fine/fine_kernels.h"
#include "glyphs/glyph.h"
#include "glyphs/mona_font.h"

namespace fudeline {

// The glyph found at each start, by width: its index in the glyph list, or -1.
struct ExactRow {
    std::array<std::array<std::int16_t, kFineRowColumns>, kFineMaxWidth + 1> glyph;
};

class ExactGlyphs {
  public:
    // The glyphs of `glyphs` the face draws at their width, up to
    // kFineMaxWidth wide and not blank (those the decoder places). Of glyphs
    // drawn alike, the one `cost` ranks first (the first in list order among
    // equals) stands for them all.
    template <typename Cost>
    ExactGlyphs(const GlyphCatalog& glyphs, const MonaFont& font, Cost cost) {
        std::vector<std::int32_t> costs(glyphs.size());
        for (std::size_t i = 0; i < glyphs.size(); ++i) costs[i] = cost(glyphs[i]);
        Build(glyphs, font, costs);
    }

    // Fills `out` for the row's ink columns `target` (bit r for line r).
    void Find(const std::array<std::uint16_t, InkColumns::kSize>& target, ExactRow& out) const;

  private:
    struct Entry {
        std::uint64_t hash;
        std::int32_t glyph;
        std::uint32_t columns;  // where its dark columns begin in columns_
    };
    void Build(const GlyphCatalog& glyphs, const MonaFont& font,
               const std::vector<std::int32_t>& costs);

    std::array<std::vector<Entry>, kFineMaxWidth + 1> byWidth_;  // sorted by hash
    std::array<std::bitset<4096>, kFineMaxWidth + 1> seen_;      // a hash's top 12 bits
    std::vector<std::uint16_t> columns_;
};

}  // namespace fudeline
