// Shift-JIS as the boards read it: the CP932 table (not plain SHIFT_JIS, which
// maps 0x5C, 0x7E, 0x8160 and 0x817C to other characters). The table is the
// program's own (cp932_table.h), so every platform gives the same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "errors/result.h"

namespace fudeline {

// The Unicode code point of one Shift-JIS character (one or two bytes), or
// nothing when CP932 does not define it.
std::optional<char32_t> Cp932CharToUnicode(std::string_view character);

// The character CP932 reads `code`'s Shift-JIS bytes as, where that is
// another (〜 U+301C is written with the bytes CP932 reads as ～ U+FF5E);
// none for a character CP932 cannot write or reads back as itself.
std::optional<char32_t> Cp932Reading(char32_t code);

// Whether `code` has a Shift-JIS form (a language tag counts: it is written
// as no bytes, as the system's converter does).
bool HasCp932Form(char32_t code);

// Decodes Shift-JIS text to UTF-8; bytes CP932 does not define become U+FFFD.
// Never fails; the Result stays for callers written when a system converter
// could be missing.
Result<std::string> Cp932ToUtf8(std::string_view sjis);

// Encodes UTF-8 text as Shift-JIS; fails when a character has no CP932 form or
// the text is not valid UTF-8.
Result<std::string> Utf8ToCp932(std::string_view utf8);

}  // namespace fudeline
