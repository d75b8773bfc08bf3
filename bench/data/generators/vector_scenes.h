// The vector-like pictures of the tracing benchmark: flat-colour shapes,
// coloured strokes, outlined cartoon regions, gradients, drop shadows and
// transparency, each described once so that both the picture and its truth
// (what an artist tracing it would draw) come from the same description.
#pragma once

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "pixels/image.h"
#include "bench/data/generators/drawings.h"

namespace fudeline::bench {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

struct Shape {
    enum class Kind { Fill, Stroke, Shadow };
    Kind kind = Kind::Fill;
    std::vector<PenPoint> points;  // canvas pixels: a polygon, or a stroke's path
    Rgb colour;
    double opacity = 1;
    double width = 2;   // strokes, canvas pixels
    bool closed = false;  // strokes
    double blur = 0;    // shadows: the Gaussian's sigma, canvas pixels
};

struct Scene {
    std::string name;  // "class-name": the class is what the benchmark reports by
    enum class Paper { Plain, Gradient, Transparent };
    Paper paper = Paper::Plain;
    Rgb paperColour{255, 255, 255}, gradientEnd{255, 255, 255};  // gradient: top to bottom
    std::vector<Shape> shapes;  // painted in order
};

// A fixed set, the same on every run.
std::vector<Scene> VectorScenes();

// The scene at `scale` times the canvas: 8-bit RGBA (red first), alpha 0
// where nothing covers transparent paper (whose colour there is black, as
// many files store it).
cv::Mat RenderScene(const Scene& scene, int scale);

// What an artist traces, one pixel wide in ink coordinates: stroke centre
// lines and the visible boundaries between filled regions and paper.
Image SceneTruth(const Scene& scene);

}  // namespace fudeline::bench
