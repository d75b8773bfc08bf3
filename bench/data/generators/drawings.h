// The drawings of the line-art benchmark set, as pen strokes in canvas
// coordinates: the one description both the pictures and their truth come from.
#pragma once

#include <string>
#include <vector>

#include "pixels/image.h"

namespace fudeline::bench {

struct PenPoint {
    double x = 0, y = 0;
};

struct PenStroke {
    std::vector<PenPoint> points;
    double width = 3;  // canvas pixels
    int level = 60;    // grey of the ink, 0 black .. 255 white
};

struct Drawing {
    std::string name;
    std::vector<PenStroke> strokes;
};

// Points along an ellipse (from angle `from` to `to`, radians) and a cubic
// Bezier curve, close enough together to draw as a polyline.
std::vector<PenPoint> Ellipse(double cx, double cy, double rx, double ry, double from = 0,
                              double to = 6.283185307179586);
std::vector<PenPoint> Bezier(PenPoint a, PenPoint b, PenPoint c, PenPoint d);

// A fixed set, the same on every run.
std::vector<Drawing> BenchmarkDrawings();

// The drawing's truth: its stroke centre lines, one pixel wide, mapped to ink
// rows as a pen stroke is.
Image DrawingTruth(const Drawing& drawing);

}  // namespace fudeline::bench
