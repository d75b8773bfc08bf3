// Existing text art as the rows of cells it was written with, so that opening
// it keeps its text: the ink shows the characters for pen and eraser, and the
// cells say what Copy gives back until a stroke changes them.
#pragma once

#include <string_view>
#include <vector>

#include "errors/result.h"
#include "glyphs/mona_font.h"
#include "pixels/image.h"
#include "text/text_art_lines.h"
#include "text/text_cell.h"

namespace fudeline {

// Line i of the text as the cells of row i, every character at the x at which
// DrawTextArtInk draws it, in Shift-JIS: a character without a Shift-JIS form
// keeps the reference it was written as (a decimal one if written plainly).
// A run of spaces becomes a gap where the gap spells back to the same bytes,
// and otherwise stays as cells of spaces, so that the export of the rows is
// the text itself; spaces at the end of a line are dropped, as the export
// writes none. A line starting with a half-width space keeps it as a cell, so
// the export adds no full-width space in front of every line. Refused as
// DrawTextArtInk refuses.
Result<TextRows> TextArtRows(std::string_view bytes, TextEncoding encoding, const MonaFont& font);

// A character as the cell that writes it, as opened text keeps it: its
// Shift-JIS bytes (a decimal reference for one without a Shift-JIS form)
// and the width it is drawn at (the board widths of the blank characters,
// kIdeographWidth for an ideograph the face lacks, else its advance in the
// face), with no gap. A control character or another one the face cannot
// draw is refused as CannotBeTyped.
Result<TextCell> CellOfCharacter(char32_t code, const MonaFont& font);

// What opening the text lays on a session: its ink (DrawTextArtInk) and its
// rows (TextArtRows), the text read and checked once for both.
// An ideograph the face lacks, kept as text with no ink: where it was written
// (line and column from 1, as errors name them) and what it is.
struct UndrawnCharacter {
    std::size_t line = 0;
    std::size_t column = 0;
    char32_t code = 0;
    bool operator==(const UndrawnCharacter&) const = default;
};

struct TextArtDrawing {
    Image ink;
    TextRows rows;
    std::vector<UndrawnCharacter> undrawn;  // for the user to be told which
    // The empty lines (or lines of spaces alone) the text begins with, which
    // its rows cannot tell from a drawing's empty top rows.
    int topLines = 0;
};
Result<TextArtDrawing> ReadTextArtDrawing(std::string_view bytes, TextEncoding encoding,
                                          const MonaFont& font);

}  // namespace fudeline
