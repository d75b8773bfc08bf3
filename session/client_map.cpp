#include "session/client_map.h"

#include <algorithm>
#include <limits>

namespace fudeline {
namespace {

bool InRange(std::int64_t v, int lo, int hi) {
    return v >= lo && v <= hi;
}

std::int32_t Clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

ClientTarget MapClientPoint(std::int64_t clientX, std::int64_t clientY) {
    ClientTarget target;
    target.point = {Clamp32(clientX - kCanvasLeft), Clamp32(clientY - kCanvasTop)};
    if (InRange(clientX, kIndicatorLeft, kIndicatorHitRight) &&
        InRange(clientY, kIndicatorTop, kIndicatorHitBottom)) {
        target.kind = ClientTarget::Kind::PenIndicator;
    } else if (InRange(clientX, kCanvasLeft, kCanvasRight) &&
               InRange(clientY, kCanvasTop, kCanvasBottom)) {
        target.kind = ClientTarget::Kind::Canvas;
    }
    return target;
}

}  // namespace fudeline
