// Pictures read as an artist traces them, region by region: a thin stroke of
// any colour becomes one line along its middle; a filled area or a region of
// flat colour becomes its outline where it meets a clearly different colour;
// soft things (gradients, shadows, paper grain, JPEG noise) give nothing.
#pragma once

#include <opencv2/core.hpp>

namespace fudeline {

struct DrawingLines {
    cv::Mat lines;          // CV_8UC1, 0/255, 255 = a one-pixel line
    int strokePixels = 0;   // of `lines`, centre lines of thin strokes
    int outlinePixels = 0;  // of `lines`, outlines of regions
};

// `rgb` is CV_8UC3 or CV_8UC1 (0 ink .. 255 paper); only `area` (the part the
// picture covers) is looked at, so the picture's border against blank canvas
// is no line. `pixelsPerCanvasPixel` says how finely the picture is sampled
// (lengths such as "thin" are in canvas pixels). Its pixels are let go as
// soon as they are read: a caller that moves it in frees them early.
// `pictureScale` says how many canvas pixels one of the picture's own pixels
// spans: a small picture blown up has its strokes blown up with it.
DrawingLines ExtractDrawingLines(cv::Mat rgb, cv::Rect area, int pixelsPerCanvasPixel,
                                 double pictureScale = 1.0);

}  // namespace fudeline
