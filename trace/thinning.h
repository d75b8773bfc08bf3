// Thinning of binary ink to one-pixel centre lines. OpenCV's core and imgproc
// have no skeleton, so it lives here: Guo and Hall's two-subiteration parallel
// thinning, which (unlike Zhang and Suen's) keeps a 2 x 2 block as one pixel
// instead of erasing it, so a 2-pixel stroke never vanishes.
#pragma once

#include <opencv2/core.hpp>

namespace fudeline {

// `ink` is CV_8UC1, nonzero = ink; it becomes 0/255 centre lines, 8-connected,
// keeping every stroke's connectivity and end points. Pixels on the picture's
// edge are treated as having paper beyond them.
void ThinToCentreLines(cv::Mat& ink);

}  // namespace fudeline
