// A row of cells edited the way a text field edits its line: characters put
// in at a caret and taken out before it. The row is a
// drawing too, so what stands right of a change keeps its place where the
// spacing spells the gap before it and otherwise moves the least it must;
// cells that touch (no gap between them) move as one, and the cells right
// after the caret move on with what is typed before them.
#pragma once

#include <cstdint>
#include <vector>

#include "errors/result.h"
#include "text/spacing.h"
#include "text/text_cell.h"

namespace fudeline {

// One full-width space: the step of the caret and of Backspace in a gap.
inline constexpr std::int32_t kFullWidthSpaceWidth = 11;

// The gaps the chosen spacing spells (SpacingSpells), and the spelled gap
// nearest a width. `unicodeSpaces` must outlive the rule.
class GapRule {
  public:
    explicit GapRule(Spacing spacing = Spacing::Fillers,
                     const UnicodeSpaces* unicodeSpaces = nullptr)
        : spacing_(spacing), unicodeSpaces_(unicodeSpaces) {}

    bool Spells(std::int32_t width, bool lineStart) const {
        return SpacingSpells(spacing_, unicodeSpaces_, width, lineStart);
    }
    // The narrowest spelled gap of at least `width` (0 for a width of 0 or
    // less), and the widest of at most `width` (0 when none).
    std::int32_t AtLeast(std::int32_t width, bool lineStart) const;
    std::int32_t AtMost(std::int32_t width, bool lineStart) const;
    // The spelled gap nearest `width` (at least 0); of two as near, the wider.
    std::int32_t Nearest(std::int32_t width, bool lineStart) const;

  private:
    Spacing spacing_;
    const UnicodeSpaces* unicodeSpaces_;
};

// Where each cell of `row` starts, in pixels from the row's left edge, and
// where the last one ends (0 for an empty row).
std::vector<std::int32_t> CellStarts(const TextRow& row);
std::int32_t RowWidth(const TextRow& row);

// Where a click at column `x` puts the caret: on a cell, at its nearer edge
// (a caret between two cells edits both); between cells or past the last,
// the column nearest `x` whose gap from the cell before it is spelled.
std::int32_t CaretAt(const TextRow& row, std::int32_t x, const GapRule& rule);

// The caret moved by an arrow key: over one character, or in a gap by a
// full-width space to the nearest column the spacing spells, never past the
// next character's edge nor past `width`. `step` is -1 (left) or +1 (right);
// unchanged at the row's start.
std::int32_t CaretStep(const TextRow& row, std::int32_t caret, int step, const GapRule& rule,
                       std::int32_t width);

// A row after an edit and where the caret stands in it. Columns `from` to
// `to` - 1 are where cells came, went or moved: the ink to draw again.
struct RowEdit {
    TextRow row;
    std::int32_t caret = 0;
    std::int32_t from = 0;
    std::int32_t to = 0;
    bool Changed() const { return from < to; }
};

// `cells` (characters, their gaps ignored: they touch) put in at the caret,
// which then stands after them; cells that touched the caret on the right
// move on after them. Refused (RowTooWide, naming row `rowNumber`) when the
// row would reach past `width` pixels.
Result<RowEdit> InsertCells(const TextRow& row, std::int32_t caret, const TextRow& cells,
                            const GapRule& rule, std::int32_t width, int rowNumber);

// Backspace: the cell that ends at the caret is taken out and what touched
// the caret moves left by its width; in a gap, the caret and what touches it
// move left by a full-width space (to the spelled gap at most that much
// narrower). Unchanged at the row's start.
RowEdit EraseBefore(const TextRow& row, std::int32_t caret, const GapRule& rule);

}  // namespace fudeline
