// Byte-string helpers for Shift-JIS (code page 932) text.
//
// Strings are plain byte strings: any byte value, no code-page conversion. A byte
// 0x00-0x7F or 0xA1-0xDF is a whole one-byte character; every other byte leads a
// two-byte character. Nothing here rejects malformed input.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace fudeline {

// Reads one line, line feed included, from `stream` into `line`. Returns its
// length, or -1 when nothing was read (end of stream or a read error).
int ReadLine(std::string& line, std::FILE* stream);

// Removes the last byte of `text` if it equals `byte`; at most one byte.
void StripTrailingChar(std::string& text, char byte);

bool IsSingleByteChar(unsigned char byte);

// Smallest offset from `start` at which `delimiter` occurs and a one-byte
// character begins, or -1.
long FindAtCharBoundary(std::string_view text, std::string_view delimiter, std::size_t start);

// Appends the fields of `text` separated by `delimiter` to `fields`. An empty
// text or delimiter appends nothing.
void SplitString(std::string_view text, std::vector<std::string>& fields,
                 std::string_view delimiter);

// Replaces every occurrence of `pattern`, left to right, never searching the
// inserted text again. An empty pattern changes nothing.
void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

}  // namespace fudeline
