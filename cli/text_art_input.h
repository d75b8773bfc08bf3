// The text that render draws, read as lines of Unicode characters. Every
// character must be one the boards can carry: a character that would vanish
// from the picture is an error naming its line, never a silent gap.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "errors/result.h"
#include "glyphs/mona_font.h"

namespace fudeline::cli {

// Sees each line as soon as it is decoded (index from 0) and may refuse it;
// its error's reason is kept, with the input's name added.
using TextArtLineCheck = std::function<Status(std::size_t index, const std::u32string& line)>;

// Reads `path` ("-": standard input) a line at a time ("\n" or "\r\n"), in
// UTF-8 (which may start with a byte order mark) or Shift-JIS (CP932).
// Character references (`&#8201;`) become the characters they stand for, as
// a board shows them. A character must be drawn by `font` (the Unicode
// spaces U+2002-U+200A and U+3000 are drawn at their widths in any case) and,
// unless `font` draws it, have a Shift-JIS form; a control character is
// refused written as a reference as well as written raw. A line longer than
// kMaxLineBytes, or one `check` refuses, stops the reading there, so text far
// too large for a picture is refused after its first lines, not after all of
// it. Errors name the input; a line's reason starts with "line N".
Result<std::vector<std::u32string>> ReadTextArtLines(const std::string& path, bool sjisInput,
                                                     const MonaFont& font,
                                                     const TextArtLineCheck& check);

}  // namespace fudeline::cli
