// Where a picture lies on the canvas: scaled to fit 800 x 522 keeping its
// aspect ratio at the top left, or at a scale and offset the user gives.
#pragma once

#include <opencv2/core.hpp>

#include "trace/trace_options.h"
#include "pixels/colour_picture.h"
#include "pixels/grey_picture.h"

namespace fudeline {

struct PlacedPicture {
    // kCanvasWidth x kCanvasHeight, paper (255) where the picture is not:
    // CV_8UC1 from a grey picture, CV_8UC3 (RGB) from a colour one.
    cv::Mat canvas;
    cv::Rect area;   // the part of the canvas the picture covers (may be empty)
    double scale = 1.0;  // canvas pixels per picture pixel
};

// The picture as it is shown on the canvas. Shrinking averages areas; only the
// part that lands on the canvas is ever scaled, so memory stays bounded for any
// scale and offset.
PlacedPicture PlaceOnCanvas(const GreyPicture& picture, const Placement& placement);
PlacedPicture PlaceOnCanvas(const ColourPicture& picture, const Placement& placement);

}  // namespace fudeline
