#include "bench/data/generators/vector_scenes.h"

#include <cmath>
#include <numbers>
#include <opencv2/imgproc.hpp>
#include <random>

#include "pixels/geometry.h"
#include "pixels/pen_stroke.h"

namespace fudeline::bench {
namespace {

using std::numbers::pi;
using Kind = Shape::Kind;

// Shapes are drawn solid at this many times the canvas and averaged down
// (at twice the canvas, half as many times the picture: the grid stays bounded).
constexpr int kSupersample = 4;
constexpr int kShift = 3;  // fractional bits of OpenCV's point coordinates

Shape Fill(std::vector<PenPoint> points, Rgb colour, double opacity = 1) {
    return {Kind::Fill, std::move(points), colour, opacity, 0, false, 0};
}
Shape Stroke(std::vector<PenPoint> points, Rgb colour, double width, bool closed = false) {
    return {Kind::Stroke, std::move(points), colour, 1, width, closed, 0};
}
Shape Shadow(std::vector<PenPoint> points, double dx, double dy, double blur, double opacity) {
    for (PenPoint& p : points) p = {p.x + dx, p.y + dy};
    return {Kind::Shadow, std::move(points), {40, 40, 50}, opacity, 0, false, blur};
}
// A shape filled and outlined in one colour, as cartoons are drawn.
void Outlined(Scene& scene, const std::vector<PenPoint>& points, Rgb fill, double width = 3,
              Rgb line = {25, 20, 30}) {
    scene.shapes.push_back(Fill(points, fill));
    scene.shapes.push_back(Stroke(points, line, width, true));
}

std::vector<PenPoint> Rect(double x, double y, double w, double h) {
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}
std::vector<PenPoint> Star(double cx, double cy, double outer, double inner, int tips = 5) {
    std::vector<PenPoint> points;
    for (int i = 0; i < 2 * tips; ++i) {
        const double r = i % 2 ? inner : outer, t = -pi / 2 + i * pi / tips;
        points.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
    }
    return points;
}
std::vector<PenPoint> Circle(double cx, double cy, double r) {
    std::vector<PenPoint> points = Ellipse(cx, cy, r, r);
    points.pop_back();
    return points;
}
std::vector<PenPoint> Sector(double cx, double cy, double r, double from, double to) {
    std::vector<PenPoint> points = Ellipse(cx, cy, r, r, from, to);
    points.push_back({cx, cy});
    return points;
}

const Rgb kDark{20, 20, 20}, kRed{220, 40, 40}, kBlue{40, 80, 200}, kGreen{40, 160, 70},
    kOrange{245, 150, 30}, kPurple{130, 50, 160}, kBrown{120, 70, 30}, kYellow{250, 215, 40},
    kSkin{250, 215, 180}, kSky{120, 180, 240}, kPink{240, 140, 180}, kTeal{30, 150, 150},
    kGrey{110, 110, 110};

Scene ThinStrokes(const std::string& name, unsigned seed, Rgb paper) {
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    Scene s{name, Scene::Paper::Plain, paper, paper, {}};
    const Rgb colours[] = {kDark, kRed, kBlue, kGreen, kOrange, kPurple, kBrown, kGrey, kTeal};
    const double widths[] = {1, 1.5, 2, 3, 4};
    for (int i = 0; i < 12; ++i) {
        auto p = [&] { return PenPoint{uniform(30, 770), uniform(30, 490)}; };
        const Rgb c = colours[i % 9];
        const double w = widths[i % 5];
        if (i % 3 == 0) {
            s.shapes.push_back(Stroke(Circle(uniform(120, 680), uniform(100, 420), uniform(25, 80)),
                                      c, w, true));
        } else {
            s.shapes.push_back(Stroke(Bezier(p(), p(), p(), p()), c, w));
        }
    }
    // Dots and short dashes: deliberate small marks.
    for (int i = 0; i < 8; ++i) {
        const double x = 60 + 90 * i, y = 500;
        s.shapes.push_back(i % 2 ? Stroke({{x, y}, {x + 6, y}}, kDark, 2)
                                 : Fill(Circle(x, y, 1.8), kDark));
    }
    return s;
}

Scene FilledLogo() {
    Scene s{"filled-logo", Scene::Paper::Plain, {255, 255, 255}, {255, 255, 255}, {}};
    s.shapes.push_back(Fill(Circle(170, 170, 120), kBlue));
    s.shapes.push_back(Fill(Star(170, 170, 90, 38), kYellow));
    s.shapes.push_back(Fill(Rect(340, 60, 180, 120), kRed));
    s.shapes.push_back(Fill(Rect(420, 120, 160, 140), kGreen));
    s.shapes.push_back(Fill(Circle(660, 150, 80), kDark));
    s.shapes.push_back(Fill(Circle(660, 150, 45), {255, 255, 255}));
    // Letters as thick bars, as a monogram is.
    s.shapes.push_back(Fill(Rect(80, 340, 30, 150), kPurple));
    s.shapes.push_back(Fill(Rect(80, 340, 110, 28), kPurple));
    s.shapes.push_back(Fill(Rect(80, 405, 85, 26), kPurple));
    s.shapes.push_back(Fill({{260, 490}, {320, 330}, {350, 330}, {410, 490}, {378, 490},
                             {335, 370}, {292, 490}},
                            kOrange));
    return s;
}

Scene FilledSigns() {
    Scene s{"filled-signs", Scene::Paper::Plain, {250, 250, 245}, {250, 250, 245}, {}};
    // A peace sign: a black disc, a white disc, black bars.
    s.shapes.push_back(Fill(Circle(200, 260, 160), kDark));
    s.shapes.push_back(Fill(Circle(200, 260, 132), {250, 250, 245}));
    s.shapes.push_back(Fill(Rect(186, 128, 28, 264), kDark));
    s.shapes.push_back(Fill({{186, 260}, {214, 260}, {116, 370}, {96, 352}}, kDark));
    s.shapes.push_back(Fill({{186, 260}, {214, 260}, {304, 352}, {284, 370}}, kDark));
    // Pie sectors in flat colours touching each other.
    s.shapes.push_back(Fill(Sector(580, 190, 140, 0, 2.1), kTeal));
    s.shapes.push_back(Fill(Sector(580, 190, 140, 2.1, 4.2), kPink));
    s.shapes.push_back(Fill(Sector(580, 190, 140, 4.2, 2 * pi), kOrange));
    s.shapes.push_back(Fill(Rect(430, 380, 320, 100), kSky));
    s.shapes.push_back(Fill(Rect(470, 400, 90, 60), kBrown));
    return s;
}

Scene CartoonFace() {
    Scene s{"cartoon-face", Scene::Paper::Plain, {255, 255, 255}, {255, 255, 255}, {}};
    Outlined(s, Ellipse(400, 270, 170, 190), kSkin);
    Outlined(s, {{240, 200}, {260, 90}, {400, 50}, {540, 90}, {560, 200}, {470, 130}, {330, 130}},
             kBrown);
    Outlined(s, Ellipse(340, 240, 30, 22), {255, 255, 255}, 2.5);
    Outlined(s, Ellipse(460, 240, 30, 22), {255, 255, 255}, 2.5);
    Outlined(s, Circle(340, 242, 10), kBlue, 2);
    Outlined(s, Circle(460, 242, 10), kBlue, 2);
    Outlined(s, Ellipse(400, 370, 60, 26, 0, pi), kRed, 2.5);
    s.shapes.push_back(Stroke({{395, 280}, {380, 320}, {405, 325}}, kDark, 2));
    Outlined(s, Ellipse(300, 330, 28, 14), kPink, 2);
    Outlined(s, Ellipse(500, 330, 28, 14), kPink, 2);
    return s;
}

Scene CartoonRobe() {
    Scene s{"cartoon-robe", Scene::Paper::Plain, {255, 255, 255}, {255, 255, 255}, {}};
    Outlined(s, {{250, 120}, {550, 120}, {680, 500}, {120, 500}}, kPurple);
    Outlined(s, Circle(400, 90, 60), kSkin);
    Outlined(s, {{330, 50}, {400, 0}, {470, 50}}, kBlue);
    for (int i = 0; i < 6; ++i) {
        s.shapes.push_back(Fill(Star(220 + 75 * i, 300 + (i % 2) * 90, 22, 9), kYellow));
    }
    Outlined(s, Rect(130, 180, 90, 60), kGreen, 2.5);
    Outlined(s, Rect(600, 180, 120, 80), kOrange, 2.5);
    return s;
}

Scene ShadowedShapes(const std::string& name, Rgb top, Rgb bottom, bool outlined) {
    Scene s{name, Scene::Paper::Gradient, top, bottom, {}};
    const std::vector<std::vector<PenPoint>> shapes = {Circle(170, 180, 100),
                                                       Rect(350, 80, 180, 150),
                                                       Star(640, 190, 110, 50),
                                                       Rect(120, 360, 260, 110),
                                                       Ellipse(560, 410, 150, 70)};
    const Rgb fills[] = {kRed, kYellow, kBlue, kGreen, kOrange};
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        s.shapes.push_back(Shadow(shapes[i], 10, 12, 6, 0.45));
        if (outlined) {
            Outlined(s, shapes[i], fills[i], 2.5);
        } else {
            s.shapes.push_back(Fill(shapes[i], fills[i]));
        }
    }
    return s;
}

Scene TransparentCartoon() {
    Scene s{"alpha-cartoon", Scene::Paper::Transparent, {}, {}, {}};
    s.shapes.push_back(Shadow(Ellipse(400, 280, 200, 200), 12, 14, 8, 0.5));
    Outlined(s, Ellipse(400, 280, 200, 200), kYellow);
    Outlined(s, Circle(330, 230, 26), kDark, 2);
    Outlined(s, Circle(470, 230, 26), kDark, 2);
    s.shapes.push_back(Stroke(Ellipse(400, 320, 110, 70, 0.2, pi - 0.2), kDark, 3));
    Outlined(s, Star(110, 100, 70, 30), kRed, 2.5);
    Outlined(s, Rect(620, 380, 140, 110), kTeal, 2.5);
    return s;
}

Scene TransparentMarks() {
    Scene s{"alpha-marks", Scene::Paper::Transparent, {}, {}, {}};
    s.shapes.push_back(Fill(Circle(220, 220, 150), kSky, 0.6));
    s.shapes.push_back(Fill(Rect(450, 60, 280, 200), kPink, 0.8));
    const Rgb colours[] = {kDark, kRed, kBlue, kGreen, kPurple};
    for (int i = 0; i < 5; ++i) {
        s.shapes.push_back(Stroke(Bezier({40.0 + 150 * i, 480}, {100.0 + 150 * i, 300},
                                         {20.0 + 150 * i, 380}, {120.0 + 150 * i, 320}),
                                  colours[i], 1 + 0.75 * i));
    }
    s.shapes.push_back(Stroke(Star(590, 160, 80, 35), kDark, 2, true));
    return s;
}

// Points in canvas pixels as OpenCV's fixed-point points `factor` times larger.
std::vector<cv::Point> Fixed(const std::vector<PenPoint>& points, double factor, int shift) {
    std::vector<cv::Point> out;
    // Canvas pixel centres lie at factor * (x + 0.5) - 0.5 on the larger grid.
    for (const PenPoint& p : points) {
        out.emplace_back(cvRound((factor * (p.x + 0.5) - 0.5) * (1 << shift)),
                         cvRound((factor * (p.y + 0.5) - 0.5) * (1 << shift)));
    }
    return out;
}

// The shape's coverage at `scale` times the canvas, 0..1.
cv::Mat Coverage(const Shape& shape, int scale) {
    const int fine = std::max(1, kSupersample / scale);
    const int width = kCanvasWidth * scale, height = kCanvasHeight * scale;
    cv::Mat solid = cv::Mat::zeros(height * fine, width * fine, CV_8UC1);
    const std::vector<cv::Point> points = Fixed(shape.points, scale * fine, kShift);
    if (shape.kind == Kind::Stroke) {
        // OpenCV's thickness t covers about t + 1 pixels.
        cv::polylines(solid, points, shape.closed, 255,
                      std::max(1, cvRound(shape.width * scale * fine) - 1), cv::LINE_8, kShift);
    } else {
        cv::fillPoly(solid, std::vector<std::vector<cv::Point>>{points}, 255, cv::LINE_8, kShift);
    }
    cv::Mat coverage;
    cv::resize(solid, coverage, cv::Size(width, height), 0, 0, cv::INTER_AREA);
    coverage.convertTo(coverage, CV_32F, 1.0 / 255);
    if (shape.kind == Kind::Shadow) {
        cv::GaussianBlur(coverage, coverage, cv::Size(), shape.blur * scale);
    }
    return coverage * shape.opacity;
}

}  // namespace

std::vector<Scene> VectorScenes() {
    return {ThinStrokes("thin-colours", 5, {255, 255, 255}),
            ThinStrokes("thin-on-cream", 9, {250, 243, 225}),
            FilledLogo(),
            FilledSigns(),
            CartoonFace(),
            CartoonRobe(),
            ShadowedShapes("shadow-flat", {200, 225, 250}, {255, 255, 255}, false),
            ShadowedShapes("shadow-outlined", {255, 250, 235}, {235, 225, 250}, true),
            TransparentCartoon(),
            TransparentMarks()};
}

cv::Mat RenderScene(const Scene& scene, int scale) {
    const int width = kCanvasWidth * scale, height = kCanvasHeight * scale;
    // Straight (not premultiplied) colour and coverage, painted "over".
    cv::Mat colour(height, width, CV_32FC3), alpha(height, width, CV_32F, cv::Scalar(1));
    for (int y = 0; y < height; ++y) {
        const double t = double(y) / (height - 1);
        const Rgb& a = scene.paperColour;
        const Rgb& b = scene.paper == Scene::Paper::Gradient ? scene.gradientEnd : a;
        colour.row(y).setTo(cv::Scalar(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t,
                                       a.b + (b.b - a.b) * t));
    }
    if (scene.paper == Scene::Paper::Transparent) {
        colour.setTo(cv::Scalar::all(0));
        alpha.setTo(0);
    }
    for (const Shape& shape : scene.shapes) {
        const cv::Mat a = Coverage(shape, scale);
        for (int y = 0; y < height; ++y) {
            const float* cover = a.ptr<float>(y);
            float* under = alpha.ptr<float>(y);
            cv::Vec3f* c = colour.ptr<cv::Vec3f>(y);
            for (int x = 0; x < width; ++x) {
                const float over = cover[x], total = over + under[x] * (1 - over);
                if (total <= 0) continue;
                const cv::Vec3f mine(float(shape.colour.r), float(shape.colour.g),
                                     float(shape.colour.b));
                c[x] = (mine * over + c[x] * (under[x] * (1 - over))) / total;
                under[x] = total;
            }
        }
    }
    cv::Mat channels[4], rgba;
    cv::split(colour, channels);
    channels[3] = alpha * 255;
    cv::merge(channels, 4, rgba);
    rgba.convertTo(rgba, CV_8UC4);
    return rgba;
}

Image SceneTruth(const Scene& scene) {
    // Which shape is seen at each canvas pixel: 0 paper, n > 0 the filled
    // region n, -n the stroke n (which hides whatever boundary lies under it).
    cv::Mat label(kCanvasHeight, kCanvasWidth, CV_32S, cv::Scalar(0));
    int next = 1;
    std::vector<cv::Mat> centres;  // stroke n's centre line, canvas pixels
    for (const Shape& shape : scene.shapes) {
        const std::vector<cv::Point> points = Fixed(shape.points, 1, kShift);
        if (shape.kind == Kind::Fill) {
            cv::fillPoly(label, std::vector<std::vector<cv::Point>>{points}, next++, cv::LINE_8,
                         kShift);
        } else if (shape.kind == Kind::Stroke) {
            const int n = static_cast<int>(centres.size()) + 1;
            cv::polylines(label, points, shape.closed, -n, std::max(1, cvRound(shape.width)),
                          cv::LINE_8, kShift);
            centres.push_back(cv::Mat::zeros(label.size(), CV_8UC1));
            cv::polylines(centres.back(), points, shape.closed, 255, 1, cv::LINE_8, kShift);
        }
    }
    Image truth(kCanvasWidth, kInkHeight);
    auto mark = [&](int x, int y) {
        const Point ink = ToInkPoint({x, y});
        truth.SetPixel(ink.x, ink.y, kBlack);
    };
    for (int y = 0; y < kCanvasHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            const int here = label.at<int>(y, x);
            if (here < 0) {
                // A stroke's centre where nothing painted later covers it.
                if (centres[static_cast<std::size_t>(-here - 1)].at<std::uint8_t>(y, x)) mark(x, y);
                continue;
            }
            const bool edge = (x + 1 < kCanvasWidth && label.at<int>(y, x + 1) >= 0 &&
                               label.at<int>(y, x + 1) != here) ||
                              (y + 1 < kCanvasHeight && label.at<int>(y + 1, x) >= 0 &&
                               label.at<int>(y + 1, x) != here);
            if (edge) mark(x, y);
        }
    }
    return truth;
}

}  // namespace fudeline::bench
