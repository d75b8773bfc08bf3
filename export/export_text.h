// The text that "copy" puts on the clipboard, composed from the text rows.
#pragma once

#include <string>

#include "convert/text_cell.h"
#include "pixels/result.h"

namespace fudeline {

// Shift-JIS text of the rows from the first to the last non-empty one, joined
// by "\r\n" (preceded by "<BR>" when `addBrTag`). When any row's first spacing
// string begins with a half-width space, every line gets a full-width space in
// front, so boards that strip leading blanks keep the alignment.
std::string ComposeExportText(const TextRows& rows, bool addBrTag);

// The same text in UTF-8 (CP932 decoded), for the clipboard's plain text and
// for text files; line breaks stay "\r\n".
Result<std::string> ComposeExportUtf8(const TextRows& rows, bool addBrTag);

}  // namespace fudeline
