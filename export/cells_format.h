// The row model as plain text, for scripts and tests: one line per non-empty
// row, "ROW<TAB>gap:width:HEX gap:width:HEX ...", HEX the cell text's bytes,
// followed by ":CODE" (hexadecimal) for a cell written as another character
// than CP932 reads its bytes as (TextCell::written).
#pragma once

#include <string>
#include <string_view>

#include "errors/result.h"
#include "text/text_cell.h"

namespace fudeline {

std::string FormatCells(const TextRows& rows);

// Reads what FormatCells writes (the last line break optional). Anything else
// (a row out of 0-28 or given twice, a gap of 1, 2 or below 0, a negative
// width, odd or non-hex bytes, an empty character) is an error saying which
// line and why; it carries no path.
Result<TextRows> ParseCells(std::string_view text);

}  // namespace fudeline
