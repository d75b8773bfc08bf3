// Any font FreeType reads, at a pixel size, turned into the baked face's bytes
// (the format in glyphs/mona_font.h), so a catalogue can be made from a real
// font file and the build bakes its face with the same code. Desktop only: the
// page and the programs draw from the baked bytes and never need FreeType.
#pragma once

#include <memory>
#include <string>

#include "errors/result.h"
#include "glyphs/mona_font.h"

namespace fudeline {

inline constexpr int kDefaultFontPixelSize = 16;

// Every glyph of the font at `pixelSize` (1 to the 16-pixel text line), each
// on the 16-row line with its baseline at the font's ascender. A bitmap font
// needs a strike of that size; an outline font is rendered in black and white.
Result<std::string> BakeFontFile(const std::string& path, int pixelSize);

// The face a catalogue is made from: a baked face as it is (at 16 pixels, the
// size it was baked at), any other font baked first.
Result<std::unique_ptr<MonaFont>> OpenFontFile(const std::string& path, int pixelSize);

}  // namespace fudeline
