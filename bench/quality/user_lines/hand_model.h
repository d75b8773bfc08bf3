// Strokes as a person draws them with a mouse: an ideal path sampled at the
// spacing a mouse reports points at, each point moved by a slow drift and a
// faster tremor. The same seed gives the same hand, so every amplitude bends
// a stroke the same way and only the size of the bend changes.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/pen_stroke.h"

namespace fudeline::bench {

// A point of an ideal path, in canvas pixels.
struct PathPoint {
    double x, y;
};

struct Hand {
    // Root mean square of the tremor (wavelengths of 6 to 24 px along the
    // path), in px; 0 is a ruler-steady hand.
    double tremor = 0.0;
    // Root mean square of the drift (wavelengths of 120 to 400 px), in px.
    double drift = 0.0;
    std::uint32_t seed = 1;
};

// The hand usually meant by "a wobble of A px": tremor A, drift 1.5 A.
inline Hand HandOfWobble(double amplitude, std::uint32_t seed) {
    return {amplitude, 1.5 * amplitude, seed};
}

// The points a mouse reports drawing `path` (a polyline of at least one
// point) at `spacing` px between reports, moved by `hand`, rounded to pixels.
// Consecutive equal points are kept once.
std::vector<PenPoint> DrawnPoints(const std::vector<PathPoint>& path, const Hand& hand,
                                  double spacing = 4.0);

}  // namespace fudeline::bench
