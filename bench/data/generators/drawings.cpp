#include "bench/data/generators/drawings.h"

#include <cmath>
#include <numbers>
#include <random>

#include "pixels/geometry.h"
#include "pixels/raster.h"
#include "pixels/pen_stroke.h"

namespace fudeline::bench {

std::vector<PenPoint> Ellipse(double cx, double cy, double rx, double ry, double from, double to) {
    std::vector<PenPoint> points;
    const int steps = std::max(8, static_cast<int>((to - from) * std::max(rx, ry) / 2));
    for (int i = 0; i <= steps; ++i) {
        const double t = from + (to - from) * i / steps;
        points.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    return points;
}

std::vector<PenPoint> Bezier(PenPoint a, PenPoint b, PenPoint c, PenPoint d) {
    std::vector<PenPoint> points;
    for (int i = 0; i <= 120; ++i) {
        const double t = i / 120.0, u = 1 - t;
        points.push_back(
            {u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
             u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y});
    }
    return points;
}

namespace {

using std::numbers::pi;

// Pen attributes drawn from a seeded generator, so every stroke differs a little.
class Pen {
  public:
    explicit Pen(unsigned seed) : random_(seed) {}

    PenStroke Stroke(std::vector<PenPoint> points) {
        std::uniform_real_distribution<double> width(2.0, 4.0);
        std::uniform_int_distribution<int> level(30, 90);
        return {std::move(points), width(random_), level(random_)};
    }
    double Uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }

  private:
    std::mt19937 random_;
};

Drawing Shapes() {
    Pen pen(11);
    Drawing d{"shapes", {}};
    d.strokes.push_back(pen.Stroke(Ellipse(150, 150, 90, 90)));
    d.strokes.push_back(pen.Stroke(Ellipse(420, 130, 130, 60)));
    d.strokes.push_back(pen.Stroke({{80, 300}, {300, 300}, {300, 470}, {80, 470}, {80, 300}}));
    d.strokes.push_back(pen.Stroke({{360, 480}, {480, 280}, {600, 480}, {360, 480}}));
    std::vector<PenPoint> star;
    for (int i = 0; i <= 10; ++i) {
        const double r = i % 2 ? 40 : 100, t = -pi / 2 + i * pi / 5;
        star.push_back({680 + r * std::cos(t), 170 + r * std::sin(t)});
    }
    d.strokes.push_back(pen.Stroke(star));
    for (int i = 0; i < 6; ++i) {
        const double t = i * pi / 6;
        d.strokes.push_back(pen.Stroke({{690 + 30 * std::cos(t), 400 + 30 * std::sin(t)},
                                        {690 + 95 * std::cos(t), 400 + 95 * std::sin(t)}}));
    }
    return d;
}

Drawing Curves() {
    Pen pen(23);
    Drawing d{"curves", {}};
    for (int i = 0; i < 9; ++i) {
        auto p = [&] { return PenPoint{pen.Uniform(30, 770), pen.Uniform(30, 490)}; };
        d.strokes.push_back(pen.Stroke(Bezier(p(), p(), p(), p())));
    }
    return d;
}

Drawing Face() {
    Pen pen(37);
    Drawing d{"face", {}};
    d.strokes.push_back(pen.Stroke(Ellipse(400, 230, 150, 180)));
    d.strokes.push_back(pen.Stroke(Ellipse(345, 190, 28, 16)));
    d.strokes.push_back(pen.Stroke(Ellipse(455, 190, 28, 16)));
    d.strokes.push_back(pen.Stroke(Ellipse(345, 190, 6, 6)));
    d.strokes.push_back(pen.Stroke(Ellipse(455, 190, 6, 6)));
    d.strokes.push_back(pen.Stroke({{400, 215}, {385, 270}, {405, 275}}));
    d.strokes.push_back(pen.Stroke(Ellipse(400, 290, 60, 35, 0.15 * pi, 0.85 * pi)));
    d.strokes.push_back(pen.Stroke({{310, 150}, {340, 140}, {375, 148}}));
    d.strokes.push_back(pen.Stroke({{425, 148}, {460, 140}, {490, 150}}));
    for (int i = 0; i < 7; ++i) {
        const double x = 290 + i * 36;
        d.strokes.push_back(pen.Stroke(Bezier({x, 85}, {x + 10, 40}, {x + 30, 30}, {x + 50, 60})));
    }
    d.strokes.push_back(pen.Stroke({{330, 390}, {200, 510}}));
    d.strokes.push_back(pen.Stroke({{470, 390}, {600, 510}}));
    return d;
}

Drawing Waves() {
    Pen pen(53);
    Drawing d{"waves", {}};
    std::vector<PenPoint> spiral;
    for (int i = 0; i <= 700; ++i) {
        const double t = i * 6 * pi / 700, r = 8 + 14 * t;
        spiral.push_back({180 + r * std::cos(t), 260 + r * std::sin(t)});
    }
    d.strokes.push_back(pen.Stroke(spiral));
    for (int w = 0; w < 5; ++w) {
        std::vector<PenPoint> wave;
        const double amplitude = 12 + 6 * w, period = 60 + 15 * w;
        for (double x = 420; x <= 780; x += 2) {
            wave.push_back({x, 70 + 95 * w + amplitude * std::sin(2 * pi * x / period)});
        }
        d.strokes.push_back(pen.Stroke(wave));
    }
    return d;
}

Drawing House() {
    Pen pen(71);
    Drawing d{"house", {}};
    d.strokes.push_back(pen.Stroke({{20, 470}, {780, 470}}));
    d.strokes.push_back(pen.Stroke({{120, 470}, {120, 280}, {380, 280}, {380, 470}}));
    d.strokes.push_back(pen.Stroke({{95, 290}, {250, 160}, {405, 290}}));
    d.strokes.push_back(pen.Stroke({{220, 470}, {220, 370}, {280, 370}, {280, 470}}));
    d.strokes.push_back(pen.Stroke({{145, 310}, {200, 310}, {200, 355}, {145, 355}, {145, 310}}));
    d.strokes.push_back(pen.Stroke({{300, 310}, {355, 310}, {355, 355}, {300, 355}, {300, 310}}));
    d.strokes.push_back(pen.Stroke({{172, 310}, {172, 355}}));
    d.strokes.push_back(pen.Stroke({{327, 310}, {327, 355}}));
    d.strokes.push_back(pen.Stroke({{330, 235}, {330, 180}, {360, 180}, {360, 260}}));
    d.strokes.push_back(pen.Stroke({{560, 470}, {565, 340}}));
    d.strokes.push_back(pen.Stroke({{600, 470}, {595, 340}}));
    std::vector<PenPoint> crown;
    for (int i = 0; i <= 360; ++i) {
        const double t = i * 2 * pi / 360, r = 95 + 12 * std::sin(7 * t);
        crown.push_back({580 + r * std::cos(t), 260 + 0.8 * r * std::sin(t)});
    }
    d.strokes.push_back(pen.Stroke(crown));
    d.strokes.push_back(pen.Stroke(Ellipse(700, 70, 35, 35)));
    for (int i = 0; i < 8; ++i) {
        const double t = i * pi / 4;
        d.strokes.push_back(pen.Stroke({{700 + 48 * std::cos(t), 70 + 48 * std::sin(t)},
                                        {700 + 70 * std::cos(t), 70 + 70 * std::sin(t)}}));
    }
    return d;
}

// Joined loops along three lines, like a hand writing.
Drawing Script() {
    Pen pen(89);
    Drawing d{"script", {}};
    for (int line = 0; line < 3; ++line) {
        std::vector<PenPoint> trail;
        const double baseline = 120 + 150 * line;
        double x = 40;
        while (x < 740) {
            const double size = pen.Uniform(18, 34), lean = pen.Uniform(4, 12);
            const int steps = 60;
            for (int i = 0; i <= steps; ++i) {
                const double t = i * 2 * pi / steps;
                trail.push_back({x + size * 0.6 * (t / pi) - size * 0.5 * std::sin(t) +
                                     lean * (1 - std::cos(t)) / 2,
                                 baseline - size * (1 - std::cos(t)) / 2 * 1.6});
            }
            x += size * 1.3;
        }
        d.strokes.push_back(pen.Stroke(trail));
    }
    return d;
}

}  // namespace

std::vector<Drawing> BenchmarkDrawings() {
    return {Shapes(), Curves(), Face(), Waves(), House(), Script()};
}

Image DrawingTruth(const Drawing& drawing) {
    Image truth(kCanvasWidth, kInkHeight);
    const ClipRect clip{0, 0, kCanvasWidth - 1, kInkHeight - 1};
    for (const PenStroke& stroke : drawing.strokes) {
        Point previous{};
        for (std::size_t i = 0; i < stroke.points.size(); ++i) {
            const Point here =
                ToInkPoint({static_cast<std::int32_t>(std::lround(stroke.points[i].x)),
                            static_cast<std::int32_t>(std::lround(stroke.points[i].y))});
            if (i > 0) DrawThinLine(truth, previous, here, kBlack, clip);
            truth.SetPixel(here.x, here.y, kBlack);
            previous = here;
        }
    }
    return truth;
}

}  // namespace fudeline::bench
