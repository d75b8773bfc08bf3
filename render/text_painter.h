// Draws Shift-JIS text and whole text rows into the text layer with the Mona face.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "text/spacing.h"
#include "text/text_cell.h"
#include "glyphs/mona_font.h"
#include "pixels/image.h"

namespace fudeline {

class TextPainter {
  public:
    explicit TextPainter(const MonaFont& font);

    // Rows then draw the gaps these spaces spell blank, as the Unicode spaces
    // of the text show them; other gaps keep their spacing string. Null (the
    // start) draws every spacing string. `spaces` must outlive the painter.
    void SetBlankGaps(const UnicodeSpaces* spaces) { blankGaps_ = spaces; }

    // Draws `sjis` with the top-left corner of its first cell at (x, y): each
    // character's cell (advance x 16) white, then its dark pixels black. Nothing
    // is drawn at or right of `clipRight`.
    void DrawString(Image& layer, int x, int y, std::string_view sjis, int clipRight) const;

    // Repaints text row `row` of the layer's live area from its cells: the band
    // white, then for each cell its spacing, its character, and a "." at the
    // start of a 3-pixel gap.
    void DrawTextRow(Image& layer, int row, const TextRow& cells) const;

    // Draws the cells of one row with the top of their line at `top`, left to
    // right from column 0, over whatever the layer holds; nothing at or right
    // of column 800.
    void DrawCells(Image& layer, int top, const TextRow& cells) const;

  private:
    const FontGlyph* GlyphForCode(unsigned code) const;
    // The glyph of the character starting at `i`, moving `i` past it.
    const FontGlyph* NextGlyph(std::string_view sjis, std::size_t& i) const;

    const MonaFont& font_;
    const UnicodeSpaces* blankGaps_ = nullptr;
    // Shift-JIS code to glyph, resolved on first use.
    mutable std::array<const FontGlyph*, 0x10000> glyphs_{};
    mutable std::array<bool, 0x10000> resolved_{};
};

}  // namespace fudeline
