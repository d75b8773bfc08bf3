// Where the canvas and the pen indicator lie in the window, in client pixels,
// and the one mapping from a client pixel to what it points at. The window and
// the replay player both go through it, so a replay script means exactly what
// the same mouse events mean to the window.
#pragma once

#include <cstdint>

#include "pixels/pen_stroke.h"

namespace fudeline {

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

struct ClientTarget {
    enum class Kind { Elsewhere, PenIndicator, Canvas };
    Kind kind = Kind::Elsewhere;
    // The client pixel in canvas coordinates, whatever `kind` is: a stroke
    // keeps following the mouse outside the canvas. Held at the 32-bit ends.
    PenPoint point;
};

ClientTarget MapClientPoint(std::int64_t clientX, std::int64_t clientY);

}  // namespace fudeline
