#include "pixels/raster.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace fudeline {
namespace {

// Calls `plot(x, y)` for the pixels of the line a-b (steps 0 to n, or 0 to n-1
// without the end) whose coordinates lie within [lo, hi] on both axes. The
// minor coordinate of step i is computed directly, so a line from far outside
// costs only the steps that can land inside the bounds.
template <typename Plot>
void WalkLine(Point a, Point b, bool includeEnd, Point lo, Point hi, Plot plot) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    const std::int64_t last = includeEnd ? n : n - 1;
    if (last < 0) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major0 = xMajor ? a.x : a.y;
    const std::int64_t minor0 = xMajor ? a.y : a.x;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorLo = xMajor ? lo.x : lo.y, majorHi = xMajor ? hi.x : hi.y;
    const std::int64_t minorLo = xMajor ? lo.y : lo.x, minorHi = xMajor ? hi.y : hi.x;

    // Steps whose major coordinate lies within bounds.
    std::int64_t first = 0, end = last;
    if (majorStep > 0) {
        first = std::max(first, majorLo - major0);
        end = std::min(end, majorHi - major0);
    } else {
        first = std::max(first, major0 - majorHi);
        end = std::min(end, major0 - majorLo);
    }
    const std::int64_t absMinor = std::llabs(minorDelta);
    const std::int64_t minorSign = minorDelta < 0 ? -1 : 1;
    for (std::int64_t i = first; i <= end; ++i) {
        // Coordinates span up to 2^33, so the product needs 128 bits.
        const auto offset = static_cast<std::int64_t>(
            n == 0 ? 0 : (static_cast<__int128>(2 * i) * absMinor + n) / (2 * n));
        const std::int64_t minor = minor0 + minorSign * offset;
        if (minor < minorLo || minor > minorHi) continue;
        const std::int64_t major = major0 + majorStep * i;
        if (xMajor) {
            plot(static_cast<int>(major), static_cast<int>(minor));
        } else {
            plot(static_cast<int>(minor), static_cast<int>(major));
        }
    }
}

// Offsets of an 8-pixel disc around a pixel centre: the pixels (x+dx, y+dy)
// whose centres lie within 4 pixels of the point (x + 0.5, y + 0.5).
struct DiscRow {
    int dy, dxFrom, dxTo;
};
constexpr std::array<DiscRow, 8> kDisc = {{
    {-4, -2, 1},
    {-3, -3, 2},
    {-2, -4, 3},
    {-1, -4, 3},
    {0, -4, 3},
    {1, -4, 3},
    {2, -3, 2},
    {3, -2, 1},
}};

struct ClippedPlotter {
    Image& image;
    std::uint32_t colour;
    ClipRect clip;
    ChangedRows changed;

    void operator()(int x, int y) {
        if (x < clip.left || x > clip.right || y < clip.top || y > clip.bottom) return;
        if (!image.Contains(x, y)) return;
        std::uint32_t& pixel = image.Row(y)[x];
        if (pixel != colour) {
            pixel = colour;
            changed.Add(y);
        }
    }
};

}  // namespace

ChangedRows DrawThinLine(Image& image, Point a, Point b, std::uint32_t colour, ClipRect clip) {
    ClippedPlotter plotter{image, colour, clip, {}};
    WalkLine(a, b, false, {clip.left, clip.top}, {clip.right, clip.bottom},
             [&](int x, int y) { plotter(x, y); });
    return plotter.changed;
}

ChangedRows DrawWideLine(Image& image, Point a, Point b, std::uint32_t colour, ClipRect clip) {
    ClippedPlotter plotter{image, colour, clip, {}};
    const Point lo{clip.left - kWidePenWidth / 2, clip.top - kWidePenWidth / 2};
    const Point hi{clip.right + kWidePenWidth / 2, clip.bottom + kWidePenWidth / 2};
    WalkLine(a, b, true, lo, hi, [&](int x, int y) {
        for (const DiscRow& row : kDisc) {
            for (int dx = row.dxFrom; dx <= row.dxTo; ++dx) plotter(x + dx, y + row.dy);
        }
    });
    return plotter.changed;
}

}  // namespace fudeline
