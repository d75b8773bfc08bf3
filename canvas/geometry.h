// Fixed geometry of the canvas, its layers and the window around it.
#pragma once

#include <cstdint>

namespace fudeline {

inline constexpr int kCanvasWidth = 800;
inline constexpr int kCanvasHeight = 522;
inline constexpr int kRowCount = 29;
inline constexpr int kRowHeight = 18;                         // text rows on screen
inline constexpr int kInkRowHeight = 16;                      // the same rows in the ink layer
inline constexpr int kInkHeight = kRowCount * kInkRowHeight;  // 464

// The canvas in window client pixels; all four bounds inclusive.
inline constexpr int kCanvasLeft = 12;
inline constexpr int kCanvasTop = 40;
inline constexpr int kCanvasRight = 811;
inline constexpr int kCanvasBottom = 561;

// The pen indicator: drawn 32 x 20 at (11, 11); a press anywhere in
// x 11-43, y 11-31 (one column and row more) toggles pen and eraser.
inline constexpr int kIndicatorLeft = 11;
inline constexpr int kIndicatorTop = 11;
inline constexpr int kIndicatorWidth = 32;
inline constexpr int kIndicatorHeight = 20;
inline constexpr int kIndicatorHitRight = 43;
inline constexpr int kIndicatorHitBottom = 31;

// Ink is drawn only into columns 0-798 and rows 0-520 of the ink layer.
inline constexpr int kInkClipRight = 798;
inline constexpr int kInkClipBottom = 520;

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kLightGrey = 0xDDDDDD;
inline constexpr std::uint32_t kRed = 0xFE0000;  // 254, not 255

}  // namespace fudeline
