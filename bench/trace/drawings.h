// The drawings of the line-art benchmark set, as pen strokes in canvas
// coordinates: the one description both the pictures and their truth come from.
#pragma once

#include <string>
#include <vector>

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

// A fixed set, the same on every run.
std::vector<Drawing> BenchmarkDrawings();

}  // namespace fudeline::bench
