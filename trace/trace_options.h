// How a picture is traced: which extraction, and where it lies on the canvas.
#pragma once

#include <optional>

namespace fudeline {

enum class TraceMode { Auto, LineArt, Photo };

struct Placement {
    std::optional<double> scalePercent;  // nothing: fit the canvas keeping the aspect ratio
    int offsetX = 0;                     // canvas pixels; may be negative
    int offsetY = 0;
};

// The range of scales taken from users: beyond it the picture is a dot, or
// one of its pixels fills the canvas.
inline constexpr double kMinScalePercent = 0.01;
inline constexpr double kMaxScalePercent = 10000.0;

struct TraceOptions {
    TraceMode mode = TraceMode::Auto;
    Placement placement;
};

// The factor a `width` x `height` picture is scaled by on the canvas.
double PlacementScale(int width, int height, const Placement& placement);

}  // namespace fudeline
