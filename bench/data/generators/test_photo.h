// A photo-like picture for timing tracing: 4000 x 3000 (12 megapixels) of
// soft gradients, overlapping shapes of many tones, blur and sensor noise,
// BGR. Nothing in it is meant to be traced well; it is meant to cost what a
// camera picture costs.
#pragma once

#include <opencv2/core.hpp>

namespace fudeline::bench {

cv::Mat TestPhoto();

}  // namespace fudeline::bench
