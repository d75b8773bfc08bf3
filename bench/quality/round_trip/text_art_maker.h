// Text art with a known answer: pieces composed the way people write them by
// hand (strokes of ／ ＼ ｜ ─ ￣ ＿ ノ ヽ （ ） く 〈 and small ticks following
// curves and outlines, faces with eyes like （●）, dotted shading, lines
// padded with full-width and half-width spaces), drawn with the text face
// into the ink layer. Converting that ink should give the piece back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "glyphs/mona_font.h"
#include "pixels/image.h"

namespace fudeline::bench {

struct TextArtPiece {
    std::vector<std::u32string> lines;  // at most 29, top line first
};

// Piece number `index` of the set made from `seed`: the same piece every run.
TextArtPiece MakeTextArt(const MonaFont& font, std::uint32_t seed, int index);

// The piece drawn as ink: line n with its top at ink y 16 n, each character's
// dark pixels black from the pen position on, nothing right of the canvas.
// Characters the face lacks advance nothing.
Image DrawTextArt(const MonaFont& font, const std::vector<std::u32string>& lines);

}  // namespace fudeline::bench
