// UTF-8, strictly: the one encoder and decoder of the program's Unicode text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fudeline {

// What editors on other systems put before UTF-8 text; readers pass over it.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Appends the UTF-8 bytes of `code` to `out`.
void AppendUtf8(std::string& out, char32_t code);

// The UTF-8 bytes of `code`.
std::string Utf8Of(char32_t code);

// Reads one character at `i` and moves `i` past it; nothing (with `i` left
// where it was) for what a strict decoder rejects: stray continuation bytes,
// a cut sequence, overlong forms, surrogates and values past U+10FFFF.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i);

}  // namespace fudeline
