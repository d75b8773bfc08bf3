// Text art as a picture: the lines drawn with the Mona face, black on white,
// 16-pixel glyphs in 18-pixel rows, exactly as the canvas shows the text rows
// (without row lines). For sharing the art where text would lose its font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "glyphs/mona_font.h"
#include "pixels/image.h"

namespace fudeline {

// Draws `lines` of Unicode characters, line i at y = 18 i. The picture is as wide as the
// widest line and 18 pixels per line; an empty text still gives a 1 x 18
// white picture, since picture files cannot be empty. Lines wider than
// `kMaxTextArtWidth` are cut there, and lines past `kMaxTextArtLines` dropped,
// so hostile input cannot ask for an unbounded picture.
inline constexpr int kMaxTextArtWidth = 16384;
inline constexpr int kMaxTextArtLines = 10000;
// A character the face lacks draws nothing and takes no room (an ideograph
// takes its board width, kIdeographWidth); the blank
// characters boards give fixed widths (BoardSpaceWidth) draw nothing at those
// widths, whether the face holds them or not.
Image RenderTextArt(const std::vector<std::u32string>& lines, const MonaFont& font);

// The same for Shift-JIS lines (bytes CP932 does not define draw nothing).
Image RenderTextArt(const std::vector<std::string>& lines, const MonaFont& font);

// The width `line` takes when drawn: the sum of its characters' advances,
// the board widths for the blank characters and for ideographs the face lacks.
std::int64_t TextLineWidth(std::u32string_view line, const MonaFont& font);

}  // namespace fudeline
