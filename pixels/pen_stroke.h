// Pen points and stroke segments as the mouse reports them, and the squeeze
// from 18-pixel screen rows to 16-pixel ink rows.
#pragma once

#include <cstdint>

#include "pixels/raster.h"

namespace fudeline {

// A mouse position in canvas coordinates, as reported: never clamped.
using PenPoint = Point;

// (x, 16 y / 18), truncated toward zero.
inline Point ToInkPoint(PenPoint p) {
    return {p.x, static_cast<std::int32_t>(std::int64_t{16} * p.y / 18)};
}

// The text row whose ink band a canvas y falls in (may lie outside 0-28).
inline std::int64_t InkRowOfCanvasY(std::int32_t y) {
    return (std::int64_t{16} * y / 18) / 16;
}

// One stroke segment waiting to be rasterised.
struct PenSegment {
    PenPoint from;
    PenPoint to;
    bool pen = true;  // the pen mode when the segment was drawn; false: eraser
    int width = kWidePenWidth;  // the eraser's width then
};

}  // namespace fudeline
