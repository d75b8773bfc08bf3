// The row model as plain text, for scripts and tests: one line per non-empty
// row, "ROW<TAB>gap:width:HEX gap:width:HEX ...", HEX the cell text's bytes.
#pragma once

#include <string>

#include "convert/text_cell.h"

namespace fudeline {

std::string FormatCells(const TextRows& rows);

}  // namespace fudeline
