// Speech frames drawn around words, as text art: a rounded frame and a
// rectangle, sized to the widest line as the face draws it. The frames are
// the project's own, built from line characters every board's face has.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "errors/result.h"
#include "glyphs/mona_font.h"

namespace fudeline {

enum class FrameStyle { Rounded, Box };

// "rounded" or "box"; nothing for another word.
std::optional<FrameStyle> ParseFrameStyle(std::string_view name);

// `words` (UTF-8, lines split at "\n" or "\r\n") inside a frame of `style`:
// UTF-8 lines joined by "\r\n". A line's right side stands where spaces
// spell the gap nearest the frame's right edge (a few pixels off at most).
// Empty when the words are empty or only blank; bytes that are not UTF-8
// are refused (TextNotUtf8).
Result<std::string> FramedText(std::string_view words, FrameStyle style, const MonaFont& face);

}  // namespace fudeline
