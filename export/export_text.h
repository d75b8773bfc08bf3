// The text that "copy" puts on the clipboard, composed from the text rows.
#pragma once

#include <string>

#include "errors/result.h"
#include "text/spacing.h"
#include "text/text_cell.h"

namespace fudeline {

// Shift-JIS text of the rows from the first to the last non-empty one, joined
// by "\r\n" (preceded by "<BR>" when `addBrTag`), after `topLines` empty lines
// (as many as there are rows above the first non-empty one): the empty lines
// opened text began with are its own, where the piece now lies. When
// any row's first spacing string begins with a half-width space, every line
// gets a full-width space in front, so boards that strip leading blanks keep
// the alignment.
std::string ComposeExportText(const TextRows& rows, bool addBrTag, int topLines = 0);

// The same text in UTF-8 (CP932 decoded), for the clipboard's plain text and
// for text files; line breaks stay "\r\n".
Result<std::string> ComposeExportUtf8(const TextRows& rows, bool addBrTag, int topLines = 0);

// How the rows are written out beyond the line breaks: the spacing, and
// whether the characters outside plain Shift-JIS are written as decimal
// character references even in UTF-8 (boards that would mangle them).
struct ExportOptions {
    bool addBrTag = false;
    Spacing spacing = Spacing::Fillers;
    // With Spacing::Unicode: the spaces to spell gaps with. Without them every
    // gap is spelled as with fillers.
    const UnicodeSpaces* unicodeSpaces = nullptr;
    bool references = false;
    // The empty lines opened text began with (see above).
    int topLines = 0;
};

// As above, spelling every gap the chosen way. With Spacing::Unicode each gap
// is the Unicode spaces exactly as wide that take the fewest bytes as written
// (a line's first gap, and one after a half-width space, starts with a
// half-width space only where nothing else spells it); in Shift-JIS a space outside
// it is written as a reference ("&#8201;"), in UTF-8 as the character unless
// `references` is set. Fillers and spaces spell gaps alike (which gaps occur
// is the decoder's choice).
std::string ComposeExportText(const TextRows& rows, const ExportOptions& options);
Result<std::string> ComposeExportUtf8(const TextRows& rows, const ExportOptions& options);

// A decimal character reference: "&#8201;".
std::string CharacterReference(char32_t code);

}  // namespace fudeline
