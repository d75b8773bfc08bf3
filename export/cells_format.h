// The row model as plain text, for scripts and tests: one line per non-empty
// row, "ROW<TAB>gap:width:HEX gap:width:HEX ...", HEX the cell text's bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "convert/text_cell.h"

namespace fudeline {

std::string FormatCells(const TextRows& rows);

// Reads what FormatCells writes (the last line break optional). On anything
// else (a row out of 0-28 or given twice, a gap of 1, 2 or below 0, a
// negative width, odd or non-hex bytes, an empty character) returns nothing
// and says which line and why.
std::optional<TextRows> ParseCells(std::string_view text, std::string* error);

}  // namespace fudeline
