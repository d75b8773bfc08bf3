// Existing text art read as lines of Unicode characters, from UTF-8 or
// Shift-JIS bytes, with the character references a board resolves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"

namespace fudeline {

// Splits text at each "\n", dropping a "\r" before it; a final line break adds
// no empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

enum class TextEncoding { Utf8, ShiftJis };

// Decodes one line (`index` from 0, no line break, no byte order mark) to
// Unicode characters, character references left as written. Errors carry no
// path; their reason starts with "line N, column C".
Result<std::u32string> DecodeTextArtLine(std::string_view line, TextEncoding encoding,
                                         std::size_t index);

// Replaces every well-formed character reference (`&#8201;`, `&#x2009;`) by
// the character it stands for, as a board shows it.
std::u32string ResolveCharacterReferences(const std::u32string& line);

// The same, also giving for each character of the result the index in `line`
// it was read from (a reference's first character), so that messages name
// columns as the text was written.
std::u32string ResolveCharacterReferences(const std::u32string& line,
                                          std::vector<std::size_t>& sourceColumns);

// Splits `bytes` into lines ("\n" or "\r\n"; UTF-8 may start with a byte
// order mark) of Unicode characters. Character references (`&#8201;`,
// `&#x2009;`) become the characters they stand for, as a board shows them.
// Errors carry no path; their reason starts with "line N".
Result<std::vector<std::u32string>> DecodeTextArt(std::string_view bytes, TextEncoding encoding);

// "U+XXXX", as a reason names a character.
std::string DescribeCodePoint(char32_t code);

// "0xXX", as a reason names a byte.
std::string DescribeByte(unsigned char byte);

}  // namespace fudeline
