// Removing small marks: paper grain, JPEG ringing and lone edge fragments that would
// otherwise become stray characters.
#pragma once

#include <opencv2/core.hpp>

namespace fudeline {

// Clears every 8-connected ink component of `ink` (CV_8UC1, nonzero = ink)
// with fewer than `minPixels` pixels.
void RemoveSmallMarks(cv::Mat& ink, int minPixels);
// The same, labelling the components in `labels` (any Mat; of the right
// size and type already, it is reused rather than allocated again).
void RemoveSmallMarks(cv::Mat& ink, int minPixels, cv::Mat& labels);

}  // namespace fudeline
