// Fixed geometry of the canvas and its layers, and the colours they use.
#pragma once

#include <cstdint>

namespace fudeline {

inline constexpr int kCanvasWidth = 800;
inline constexpr int kCanvasHeight = 522;
inline constexpr int kRowCount = 29;
inline constexpr int kRowHeight = 18;                         // text rows on screen
inline constexpr int kInkRowHeight = 16;                      // the same rows in the ink layer
inline constexpr int kInkHeight = kRowCount * kInkRowHeight;  // 464

// Ink is drawn only into columns 0-798 and rows 0-520 of the ink layer.
inline constexpr int kInkClipRight = 798;
inline constexpr int kInkClipBottom = 520;

// The factor that shows a `width` x `height` picture (both above 0) as large as
// the canvas holds it, keeping its shape: the one fit of tracing and the
// window's background alike.
inline double CanvasFitScale(int width, int height) {
    const double across = double{kCanvasWidth} / width;
    const double down = double{kCanvasHeight} / height;
    return across < down ? across : down;
}

// A channel level (0-255) of a picture shown faint under the drawing, moved
// three quarters of the way to white: light enough that ink over it stands
// out, dark enough to trace. The window and the page fade by this one rule.
inline constexpr int FaintLevel(int level) { return level + (255 - level) * 3 / 4; }

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kLightGrey = 0xDDDDDD;
inline constexpr std::uint32_t kRed = 0xFE0000;  // 254, not 255

}  // namespace fudeline
