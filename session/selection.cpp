#include "session/selection.h"

#include <algorithm>

namespace fudeline {
namespace {

// Rounded down and up, for negative numbers too.
int FloorDiv(std::int64_t a, std::int64_t b) {
    return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b));
}
int CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

}  // namespace

InkRect InkRect::Clipped() const {
    const int l = std::max(left, 0), t = std::max(top, 0);
    const int r = std::min(right(), kInkClipRight + 1), b = std::min(bottom(), kInkHeight);
    return {l, t, std::max(r - l, 0), std::max(b - t, 0)};
}

InkRect InkRectOfCanvas(int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return {left, FloorDiv(std::int64_t{16} * top, 18), 0, 0};
    // The ink rows the canvas rows squeeze into, as a pen point's are.
    const int inkTop = FloorDiv(std::int64_t{16} * top, 18);
    const int inkBottom = FloorDiv(std::int64_t{16} * (std::int64_t{top} + height - 1), 18) + 1;
    return {left, inkTop, width, inkBottom - inkTop};
}

InkRect CanvasRectOfInk(const InkRect& ink) {
    // The first canvas row that squeezes into each edge's ink row.
    const int top = CeilDiv(std::int64_t{18} * ink.top, 16);
    const int bottom = CeilDiv(std::int64_t{18} * ink.bottom(), 16);
    return {ink.left, top, ink.width, bottom - top};
}

}  // namespace fudeline
