// How closely text art follows a line drawing: the rows drawn back with the
// font's own pixels and compared with the drawing.
//
// A tolerance of 2 pixels alone flatters bold glyphs: a thick stroke lying
// over a thin pen line matches almost all of its pixels within 2 px. So the
// match is also counted exactly (0 px) and at 1 px, the dark pixels drawn are
// set against the drawing's, and a two-way distance says how far, on
// average, each side's pixels lie from the other's.
#pragma once

#include <array>
#include <cstdint>

#include "text/text_cell.h"
#include "render/text_painter.h"
#include "pixels/image.h"

namespace fudeline {

// Tolerances the match is counted at, in pixels (Euclidean).
inline constexpr int kQualityTolerances = 4;  // 0, 1, 2 and 3 px
// What one pixel pays at most in the distance score: a pixel with nothing
// of the other image this close is as wrong as one far away.
inline constexpr double kDistanceCap = 4.0;

struct Match {
    std::int64_t drawnMatched = 0;  // dark pixels with a drawing pixel this close
    std::int64_t truthMatched = 0;  // drawing pixels with a dark pixel this close
    double precision = 1.0;         // 1 when nothing is drawn
    double recall = 1.0;            // 1 when there is nothing to follow
    double f1 = 1.0;
};

struct Quality {
    std::int64_t drawn = 0;           // dark pixels of the text
    std::int64_t truth = 0;           // pixels of the drawing
    std::int64_t drawnNearTruth = 0;  // dark pixels within 2 px of the drawing
    std::int64_t truthNearDrawn = 0;  // drawing pixels within 2 px of the text
    double precision = 1.0;           // at 2 px, as `at[2]`
    double recall = 1.0;
    double f1 = 1.0;
    std::array<Match, kQualityTolerances> at{};  // at[t]: matched within t px
    // Dark pixels drawn per drawing pixel; 1 when both are empty, infinite
    // when the text draws over an empty drawing.
    double darkRatio = 1.0;
    // The mean over drawn pixels of the distance to the nearest drawing
    // pixel, and over drawing pixels of the distance to the nearest drawn
    // one, each capped at kDistanceCap; `distance` is the mean of the two.
    double drawnDistance = 0.0;
    double truthDistance = 0.0;
    double distance = 0.0;
};

// The rows as the ink they stand for: an 800 x 464 image in ink-layer
// coordinates, white, with text row n's line at ink y 16 n (the ink's own row
// pitch, not the screen's) and the font's dark pixels black.
Image DrawRowsAsInk(const TextPainter& painter, const TextRows& rows);

// Compares the black pixels of `drawn` with the black pixels of `truth`
// (both in ink-layer coordinates; sizes may differ, outside reads as blank).
Quality MeasureQuality(const Image& drawn, const Image& truth);

}  // namespace fudeline
