// One-pixel lines as pen paths: the skeleton walked from end points and
// junctions into chains of pixels, so it can be redrawn as strokes are.
#pragma once

#include <opencv2/core.hpp>
#include <vector>

namespace fudeline {

// Every chain of 8-connected ink pixels of `skeleton` (CV_8UC1, nonzero = ink,
// one pixel wide) between two nodes (end points, junctions), every closed loop
// (first pixel repeated at the end) and every lone pixel, each pixel of the
// skeleton in at least one path.
std::vector<std::vector<cv::Point>> TraceSkeletonPaths(const cv::Mat& skeleton);

}  // namespace fudeline
