// How closely text art follows a line drawing: the rows drawn back with the
// font's own pixels and compared with the drawing at a tolerance of 2 pixels,
// so that a glyph stroke one or two pixels off the pen line still counts.
#pragma once

#include <cstdint>

#include "convert/text_cell.h"
#include "convert/text_painter.h"
#include "pixels/image.h"

namespace fudeline {

struct Quality {
    std::int64_t drawn = 0;           // dark pixels of the text
    std::int64_t truth = 0;           // pixels of the drawing
    std::int64_t drawnNearTruth = 0;  // dark pixels within 2 px of the drawing
    std::int64_t truthNearDrawn = 0;  // drawing pixels within 2 px of the text
    double precision = 1.0;           // 1 when nothing is drawn
    double recall = 1.0;              // 1 when there is nothing to follow
    double f1 = 1.0;
};

// The rows as the ink they stand for: an 800 x 464 image in ink-layer
// coordinates, white, with text row n's line at ink y 16 n (the ink's own row
// pitch, not the screen's) and the font's dark pixels black.
Image DrawRowsAsInk(const TextPainter& painter, const TextRows& rows);

// Compares the black pixels of `drawn` with the black pixels of `truth`
// (both in ink-layer coordinates; sizes may differ, outside reads as blank):
// a pixel is matched when one of the other image lies within Euclidean
// distance 2.
Quality MeasureQuality(const Image& drawn, const Image& truth);

}  // namespace fudeline
