// Grey pictures to one-pixel ink lines, in two ways: line art (dark strokes on
// light paper) by a threshold, and photos or scans by their edges.
#pragma once

#include <opencv2/core.hpp>

#include "trace/trace_options.h"

namespace fudeline {

// Line art: the threshold comes from the picture (Otsu's, over `area`, the
// part the picture covers, so blank canvas around it does not count as paper),
// strokes of any width become their centre lines, small marks are dropped.
// CV_8UC1 in (0 ink .. 255 paper), 0/255 out with 255 = ink.
cv::Mat ExtractLineArt(const cv::Mat& grey, cv::Rect area);

// Photos and scans: smoothing, local contrast equalisation (CLAHE), Canny
// edges with thresholds taken from the picture, thinning, small marks dropped.
// Only `area` (the part the picture covers) is looked at, so the picture's own
// border against blank canvas is no edge.
cv::Mat ExtractPhotoEdges(const cv::Mat& grey, cv::Rect area);

}  // namespace fudeline
