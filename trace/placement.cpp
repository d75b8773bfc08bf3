#include "trace/placement.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "pixels/geometry.h"

namespace fudeline {

double PlacementScale(int width, int height, const Placement& placement) {
    if (placement.scalePercent) return *placement.scalePercent / 100.0;
    if (width <= 0 || height <= 0) return 1.0;
    return CanvasFitScale(width, height);
}

namespace {

// `whole` is the picture's pixels (any number of 8-bit channels).
PlacedPicture Place(const cv::Mat& whole, const Placement& placement) {
    PlacedPicture placed{
        cv::Mat(kCanvasHeight, kCanvasWidth, whole.type(), cv::Scalar::all(255)), {}};
    const struct {
        int width, height;
    } picture{whole.cols, whole.rows};
    if (picture.width <= 0 || picture.height <= 0) return placed;
    const double scale = PlacementScale(picture.width, picture.height, placement);
    if (!(scale > 0)) return placed;
    placed.scale = scale;

    // The picture's whole extent on the canvas, and the part of it that is visible.
    const double left = placement.offsetX, top = placement.offsetY;
    const double right = left + picture.width * scale, bottom = top + picture.height * scale;
    const double visLeft = std::max(left, 0.0), visTop = std::max(top, 0.0);
    const double visRight = std::min(right, double{kCanvasWidth});
    const double visBottom = std::min(bottom, double{kCanvasHeight});
    if (visRight <= visLeft || visBottom <= visTop) return placed;

    // The source pixels behind the visible part, one pixel wider on each side
    // so interpolation at the canvas edge sees real neighbours.
    auto source = [&](double canvas, double origin, int limit, bool up) {
        const double s = (canvas - origin) / scale;
        const double v = up ? std::ceil(s) + 1 : std::floor(s) - 1;
        return static_cast<int>(std::clamp(v, 0.0, double(limit)));
    };
    const int sx0 = source(visLeft, left, picture.width, false);
    const int sy0 = source(visTop, top, picture.height, false);
    const int sx1 = source(visRight, left, picture.width, true);
    const int sy1 = source(visBottom, top, picture.height, true);

    const cv::Mat crop = whole(cv::Rect(sx0, sy0, sx1 - sx0, sy1 - sy0));
    const int destX = static_cast<int>(std::lround(left + sx0 * scale));
    const int destY = static_cast<int>(std::lround(top + sy0 * scale));
    const int destW = std::max(1, static_cast<int>(std::lround((sx1 - sx0) * scale)));
    const int destH = std::max(1, static_cast<int>(std::lround((sy1 - sy0) * scale)));
    cv::Mat scaled;
    cv::resize(crop, scaled, cv::Size(destW, destH), 0, 0,
               scale < 1.0 ? cv::INTER_AREA : cv::INTER_LINEAR);

    const cv::Rect canvasRect(0, 0, kCanvasWidth, kCanvasHeight);
    const cv::Rect target = cv::Rect(destX, destY, destW, destH) & canvasRect;
    if (target.empty()) return placed;
    scaled(cv::Rect(target.x - destX, target.y - destY, target.width, target.height))
        .copyTo(placed.canvas(target));
    const cv::Rect covered(static_cast<int>(std::floor(visLeft)),
                           static_cast<int>(std::floor(visTop)),
                           static_cast<int>(std::ceil(visRight) - std::floor(visLeft)),
                           static_cast<int>(std::ceil(visBottom) - std::floor(visTop)));
    placed.area = covered & target;
    return placed;
}

}  // namespace

PlacedPicture PlaceOnCanvas(const GreyPicture& picture, const Placement& placement) {
    if (picture.width <= 0 || picture.height <= 0) return Place(cv::Mat(0, 0, CV_8UC1), placement);
    return Place(cv::Mat(picture.height, picture.width, CV_8UC1,
                         const_cast<std::uint8_t*>(picture.levels.data())),
                 placement);
}

PlacedPicture PlaceOnCanvas(const ColourPicture& picture, const Placement& placement) {
    if (picture.width <= 0 || picture.height <= 0) return Place(cv::Mat(0, 0, CV_8UC3), placement);
    // A picture decoded smaller is placed at the scale its file would get.
    Placement asFile = placement;
    if (picture.reduction > 1) {
        asFile.scalePercent = 100.0 * picture.reduction *
                              PlacementScale(picture.width * picture.reduction,
                                             picture.height * picture.reduction, placement);
    }
    return Place(cv::Mat(picture.height, picture.width, CV_8UC3,
                         const_cast<std::uint8_t*>(picture.rgb.data())),
                 asFile);
}

}  // namespace fudeline
