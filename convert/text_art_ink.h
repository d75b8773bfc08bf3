// Existing text art opened as a drawing: its lines drawn with the Mona face
// into the ink layer, one 16-pixel ink row per line, every character at the x
// the face puts it, so that pen and eraser can touch it up and the rows are
// converted again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "glyphs/mona_font.h"
#include "pixels/image.h"
#include "pixels/result.h"

namespace fudeline {

enum class TextEncoding { Utf8, ShiftJis };

// The widest line the drawing takes: ink goes into columns 0 to 798 only.
inline constexpr int kTextArtInkWidth = 799;

// Decodes one line (`index` from 0, no line break, no byte order mark) to
// Unicode characters, character references left as written. Errors carry no
// path; their reason starts with "line N, column C".
Result<std::u32string> DecodeTextArtLine(std::string_view line, TextEncoding encoding,
                                         std::size_t index);

// Replaces every well-formed character reference (`&#8201;`, `&#x2009;`) by
// the character it stands for, as a board shows it.
std::u32string ResolveCharacterReferences(const std::u32string& line);

// Splits `bytes` into lines ("\n" or "\r\n"; UTF-8 may start with a byte
// order mark) of Unicode characters. Character references (`&#8201;`,
// `&#x2009;`) become the characters they stand for, as a board shows them.
// Errors carry no path; their reason starts with "line N".
Result<std::vector<std::u32string>> DecodeTextArt(std::string_view bytes, TextEncoding encoding);

// The ink image (799 x 464, white with black ink) of `lines`, line i on ink
// rows 16 i to 16 i + 15. Trailing empty lines are ignored. More lines than
// the 29 rows, a line wider than 799 pixels, or a character the face cannot
// draw is refused, saying how much fits: nothing is silently cut.
Result<Image> DrawTextArtInk(const std::vector<std::u32string>& lines, const MonaFont& font);

// Both steps.
Result<Image> DrawTextArtInk(std::string_view bytes, TextEncoding encoding, const MonaFont& font);

}  // namespace fudeline
