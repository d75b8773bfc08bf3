// JPEG bytes of an OpenCV picture, for the generated benchmark pictures (the
// product itself only ever reads JPEG).
#pragma once

#include <opencv2/core.hpp>
#include <string>

namespace fudeline::bench {

// `picture` is 8-bit grey (one channel) or BGR (three).
std::string EncodeJpeg(const cv::Mat& picture, int quality);

}  // namespace fudeline::bench
