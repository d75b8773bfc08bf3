#include "pixels/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

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

// The rows of a disc `width` pixels across, as offsets around a pixel: the
// pixels (x+dx, y+dy) whose centres lie within width / 2 of the point
// (x, y), the pixel's corner, so that an even width is symmetric.
struct DiscRow {
    int dy, dxFrom, dxTo;
};
std::vector<DiscRow> Disc(int width) {
    std::vector<DiscRow> rows;
    const double r = width / 2.0;
    for (int dy = -width / 2; dy < (width + 1) / 2; ++dy) {
        const double h = r * r - (dy + 0.5) * (dy + 0.5);
        if (h < 0) continue;
        const int k = static_cast<int>(std::floor(std::sqrt(h) - 0.5));
        if (k < -1) continue;
        rows.push_back({dy, -k - 1, k});
    }
    return rows;
}

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

ChangedRows DrawWideLine(Image& image, Point a, Point b, std::uint32_t colour, ClipRect clip,
                         int width) {
    width = std::clamp(width, kNarrowestEraser, kWidestEraser);
    ClippedPlotter plotter{image, colour, clip, {}};
    const Point lo{clip.left - width / 2, clip.top - width / 2};
    const Point hi{clip.right + width / 2, clip.bottom + width / 2};
    const std::vector<DiscRow> disc = Disc(width);
    WalkLine(a, b, true, lo, hi, [&](int x, int y) {
        for (const DiscRow& row : disc) {
            for (int dx = row.dxFrom; dx <= row.dxTo; ++dx) plotter(x + dx, y + row.dy);
        }
    });
    return plotter.changed;
}

}  // namespace fudeline
