// A picture's slopes in one pass, for region tracing: the steepness that
// gates strokes and the gradient that region outlines follow, without the
// per-channel derivative pictures (several times the picture's size) that
// separate filters would allocate and fill for each call.
#pragma once

#include <opencv2/core.hpp>

namespace fudeline {

struct ColourSlopes {
    // CV_8UC1: the steepest 3 x 3 Sobel step at each pixel, over both
    // directions and every channel, saturated at 255.
    cv::Mat steepness;
    // CV_16SC1: the 3 x 3 Sobel slopes (x, y) of the channel whose gradient
    // is strongest at each pixel (dx^2 + dy^2, the first channel on a tie),
    // the one Canny follows in a colour picture; so Canny on these gives the
    // same edges as on every channel's slopes.
    cv::Mat dx, dy;
};

// `image` is CV_8UC1 or CV_8UC3; its border is mirrored as cv::Sobel's
// default (BORDER_REFLECT_101), so the results equal cv::Sobel's exactly.
ColourSlopes MeasureSlopes(const cv::Mat& image);

}  // namespace fudeline
