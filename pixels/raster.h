// Line drawing into a pixel buffer: the one-pixel pen and the 8-pixel round pen.
#pragma once

#include <cstdint>

#include "pixels/image.h"

namespace fudeline {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// Inclusive bounds that drawing may touch.
struct ClipRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Pixel rows whose value a drawing call actually changed.
struct ChangedRows {
    int minY = 0;
    int maxY = -1;
    bool Empty() const { return maxY < minY; }
    void Add(int y) {
        if (Empty()) {
            minY = maxY = y;
        } else {
            if (y < minY) minY = y;
            if (y > maxY) maxY = y;
        }
    }
    void Add(const ChangedRows& other) {
        if (!other.Empty()) {
            Add(other.minY);
            Add(other.maxY);
        }
    }
};

// The eraser's width: medium by default, as every stored script was drawn.
inline constexpr int kWidePenWidth = 8;
inline constexpr int kNarrowestEraser = 2;
inline constexpr int kWidestEraser = 32;

// One-pixel line from a up to b, b itself excluded (nothing when a == b).
ChangedRows DrawThinLine(Image& image, Point a, Point b, std::uint32_t colour, ClipRect clip);

// A line `width` pixels wide (within kNarrowestEraser to kWidestEraser) with
// round ends, both end points covered: the union of discs centred on every
// pixel of the thin line from a to b.
ChangedRows DrawWideLine(Image& image, Point a, Point b, std::uint32_t colour, ClipRect clip,
                         int width = kWidePenWidth);

}  // namespace fudeline
