#include "session/stroke_stabilizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace fudeline {
namespace {

constexpr Stabilizer kAll[] = {Stabilizer::Off, Stabilizer::Weak, Stabilizer::Strong};

// What a stroke draws: the down point, every point handed out, and the
// point Finish draws to.
std::vector<PenPoint> Steady(const std::vector<PenPoint>& pointer, Stabilizer stabilizer) {
    StrokeStabilizer steady;
    steady.Begin(pointer.front(), stabilizer);
    std::vector<PenPoint> drawn{pointer.front()};
    for (std::size_t i = 1; i < pointer.size(); ++i) {
        if (const auto p = steady.Follow(pointer[i])) drawn.push_back(*p);
    }
    if (const auto p = steady.Finish()) drawn.push_back(*p);
    return drawn;
}

double Distance(PenPoint a, PenPoint b) {
    return std::hypot(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y);
}

// A hand's stroke along a line: points `step` pixels apart, rounded to pixels,
// moved across the line by `jitter` pixels at most (seeded noise).
std::vector<PenPoint> HandLine(PenPoint from, double degrees, int length, double step,
                               double jitter, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> noise(-jitter, jitter);
    const double c = std::cos(degrees * std::numbers::pi / 180);
    const double s = std::sin(degrees * std::numbers::pi / 180);
    std::vector<PenPoint> points;
    for (double t = 0; t <= length + 1e-9; t += step) {
        const double across = t == 0 || t + step > length + 1e-9 ? 0 : noise(rng);
        points.push_back({static_cast<std::int32_t>(std::lround(from.x + t * c - across * s)),
                          static_cast<std::int32_t>(std::lround(from.y + t * s + across * c))});
    }
    return points;
}

// How far the drawn polyline strays from the line through `from` at
// `degrees`: the root mean square over its segments' pixels as a one-pixel
// line draws them.
double StrayFromLine(const std::vector<PenPoint>& drawn, PenPoint from, double degrees) {
    const double c = std::cos(degrees * std::numbers::pi / 180);
    const double s = std::sin(degrees * std::numbers::pi / 180);
    double sum = 0;
    int n = 0;
    for (std::size_t i = 1; i < drawn.size(); ++i) {
        const PenPoint a = drawn[i - 1], b = drawn[i];
        const int steps = std::max({std::abs(b.x - a.x), std::abs(b.y - a.y), 1});
        for (int k = 0; k < steps; ++k) {
            const double x = a.x + (b.x - a.x) * double(k) / steps - from.x;
            const double y = a.y + (b.y - a.y) * double(k) / steps - from.y;
            const double across = -x * s + y * c;
            sum += across * across;
            ++n;
        }
    }
    return std::sqrt(sum / n);
}

TEST(StrokeStabilizer, OffHandsOutEveryPointAsItCame) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coordinate(-40000, 40000);
    std::vector<PenPoint> pointer;
    for (int i = 0; i < 500; ++i) pointer.push_back({coordinate(rng), coordinate(rng)});
    pointer.push_back(pointer.back());  // a repeated point is a segment too
    StrokeStabilizer steady;
    steady.Begin(pointer.front(), Stabilizer::Off);
    for (std::size_t i = 1; i < pointer.size(); ++i) {
        const auto p = steady.Follow(pointer[i]);
        ASSERT_TRUE(p);
        EXPECT_EQ(*p, pointer[i]);
    }
    EXPECT_FALSE(steady.Finish());
}

// Whatever the strength, speed or direction: the pen keeps to the line the
// pointer drew (each point it takes lies between the pointer's points) and
// the stroke ends on the pointer's last point.
TEST(StrokeStabilizer, AStraightLineStaysStraightAndEndsWhereItEnded) {
    const struct {
        double degrees;
        int length;
        double step;
    } lines[] = {
        {0, 300, 1}, {0, 300, 3}, {0, 300, 25}, {90, 200, 2},   {45, 250, 4},
        {180, 150, 6}, {-30, 220, 1.5}, {112, 90, 10}, {200, 400, 40}, {7, 60, 0.7},
    };
    for (const Stabilizer stabilizer : kAll) {
        for (const auto& line : lines) {
            const PenPoint from{400, 260};
            const auto pointer = HandLine(from, line.degrees, line.length, line.step, 0, 1);
            const auto drawn = Steady(pointer, stabilizer);
            SCOPED_TRACE(std::string(StabilizerName(stabilizer)) + " at " +
                         std::to_string(line.degrees) + " degrees, step " +
                         std::to_string(line.step));
            EXPECT_EQ(drawn.back(), pointer.back());
            EXPECT_LE(StrayFromLine(drawn, from, line.degrees), 0.6);
            const double c = std::cos(line.degrees * std::numbers::pi / 180);
            const double s = std::sin(line.degrees * std::numbers::pi / 180);
            for (const PenPoint p : drawn) {
                // Pointer points are within half a pixel of the line, the pen's
                // rounding within another 0.71.
                EXPECT_LE(std::abs(-(p.x - from.x) * s + (p.y - from.y) * c), 1.21);
            }
        }
    }
}

TEST(StrokeStabilizer, StrongerSettingsTakeMoreOfAHandsTremorOut) {
    const struct {
        double degrees, step, jitter;
    } hands[] = {
        {0, 1.5, 1}, {0, 3, 2}, {90, 2, 1.5}, {45, 2.5, 2}, {-60, 4, 2},
    };
    for (const auto& hand : hands) {
        double stray[3] = {0, 0, 0};
        for (unsigned seed = 1; seed <= 10; ++seed) {
            const PenPoint from{100, 300};
            const auto pointer = HandLine(from, hand.degrees, 300, hand.step, hand.jitter, seed);
            for (int i = 0; i < 3; ++i) {
                stray[i] += StrayFromLine(Steady(pointer, kAll[i]), from, hand.degrees);
            }
        }
        SCOPED_TRACE(hand.degrees);
        EXPECT_LT(stray[1], 0.8 * stray[0]);
        EXPECT_LT(stray[2], 0.9 * stray[1]);
    }
}

// However fast and wild the pointer, the pen never falls more than its
// greatest lag (and a pixel of rounding) behind it, and stays put when it
// has nowhere new to go.
TEST(StrokeStabilizer, ThePenTrailsThePointerByNoMoreThanItsGreatestLag) {
    EXPECT_EQ(StrokeStabilizer::MaxLag(Stabilizer::Off), 0);
    EXPECT_LE(StrokeStabilizer::MaxLag(Stabilizer::Weak), StrokeStabilizer::MaxLag(Stabilizer::Strong));
    EXPECT_LE(StrokeStabilizer::MaxLag(Stabilizer::Strong), 8);  // half a cell
    std::mt19937 rng(11);
    for (const Stabilizer stabilizer : {Stabilizer::Weak, Stabilizer::Strong}) {
        for (const int reach : {1, 5, 60, 3000}) {
            std::uniform_int_distribution<int> move(-reach, reach);
            StrokeStabilizer steady;
            PenPoint pointer{0, 0}, pen = pointer;
            steady.Begin(pointer, stabilizer);
            for (int i = 0; i < 2000; ++i) {
                pointer = {pointer.x + move(rng), pointer.y + move(rng)};
                if (const auto p = steady.Follow(pointer)) {
                    EXPECT_NE(*p, pen);
                    pen = *p;
                }
                EXPECT_LE(Distance(pen, pointer), StrokeStabilizer::MaxLag(stabilizer) + 1.0)
                    << "reach " << reach << ", move " << i;
            }
        }
    }
}

TEST(StrokeStabilizer, FinishDrawsToThePointerOnlyWhereAStrokeWouldHaveDrawn) {
    const struct {
        const char* what;
        std::vector<PenPoint> moves;
        bool draws;
    } cases[] = {
        {"a press alone", {}, false},
        // An unsteadied stroke draws a segment here: an eraser takes a disc.
        {"a move that stays on the press point", {{50, 50}}, true},
        {"a small wobble around it", {{51, 50}, {50, 51}, {50, 50}}, true},
        {"a stroke that ended on the pen", {{80, 50}, {80, 50}, {80, 50}, {80, 50}, {80, 50},
                                            {80, 50}, {80, 50}, {80, 50}, {80, 50}, {80, 50},
                                            {80, 50}, {80, 50}, {80, 50}, {80, 50}, {80, 50},
                                            {80, 50}, {80, 50}, {80, 50}, {80, 50}, {80, 50}},
         false},
        {"a stroke the pen lags", {{60, 50}, {70, 50}, {80, 50}}, true},
    };
    for (const Stabilizer stabilizer : {Stabilizer::Weak, Stabilizer::Strong}) {
        for (const auto& c : cases) {
            StrokeStabilizer steady;
            steady.Begin({50, 50}, stabilizer);
            for (const PenPoint p : c.moves) steady.Follow(p);
            const auto rest = steady.Finish();
            EXPECT_EQ(rest.has_value(), c.draws) << c.what;
            if (rest) {
                EXPECT_EQ(*rest, c.moves.back()) << c.what;
            }
            EXPECT_FALSE(steady.Finish()) << c.what << ": the pen is on the pointer now";
        }
    }
}

TEST(StrokeStabilizer, NamesReadBackAndNothingElseReads) {
    for (const Stabilizer stabilizer : kAll) {
        EXPECT_EQ(ParseStabilizer(StabilizerName(stabilizer)), stabilizer);
    }
    for (const char* name : {"", "Off", "WEAK", "medium", "strong ", "1"}) {
        EXPECT_FALSE(ParseStabilizer(name)) << name;
    }
}

TEST(SnapToAngleStep, TurnsToTheNearest15DegreesAndKeepsTheLength) {
    const struct {
        int dx, dy;
        int degrees;  // the step expected, y downward as on the canvas
    } cases[] = {
        {100, 0, 0},     {100, 12, 0},    {100, 14, 15},  {100, 27, 15},  {100, 29, 15},
        {100, 100, 45},  {0, 100, 90},    {-3, 100, 90},  {-100, 0, 180}, {-100, -27, 195},
        {0, -250, 270},  {173, -100, 330}, {300, -1, 0},  {2, 1, 30},     {1, 1, 45},
        {-7, 4, 150},    {5000, 1333, 15}, {-20000, 21000, 135},
    };
    const PenPoint from{300, 200};
    for (const auto& c : cases) {
        const PenPoint end = SnapToAngleStep(from, {from.x + c.dx, from.y + c.dy});
        const double length = std::hypot(static_cast<double>(c.dx), static_cast<double>(c.dy));
        const double ex = end.x - from.x, ey = end.y - from.y;
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        EXPECT_NEAR(std::hypot(ex, ey), length, 0.75);
        const double rad = c.degrees * std::numbers::pi / 180;
        // The end is the exact point on the step's ray, rounded to a pixel.
        EXPECT_NEAR(ex, length * std::cos(rad), 0.5 + 1e-6);
        EXPECT_NEAR(ey, length * std::sin(rad), 0.5 + 1e-6);
    }
    EXPECT_EQ(SnapToAngleStep(from, from), from);
}

TEST(SnapToAngleStep, EveryDirectionLandsOnAStepAndPointsFarAwayStayInRange) {
    // Every pointer on a circle of radius 150 goes to one of the 24 steps,
    // each reached, none more than 7.5 degrees (and a pixel) from the pointer.
    const PenPoint from{0, 0};
    std::vector<int> hits(24, 0);
    for (int tenth = 0; tenth < 3600; ++tenth) {
        const double a = tenth * std::numbers::pi / 1800;
        const PenPoint to{static_cast<std::int32_t>(std::lround(150 * std::cos(a))),
                          static_cast<std::int32_t>(std::lround(150 * std::sin(a)))};
        const PenPoint end = SnapToAngleStep(from, to);
        double degrees = std::atan2(static_cast<double>(end.y), static_cast<double>(end.x)) * 180 / std::numbers::pi;
        if (degrees < 0) degrees += 360;
        const int step = static_cast<int>(std::lround(degrees / 15)) % 24;
        EXPECT_NEAR(degrees, step * 15.0 + (step == 0 && degrees > 180 ? 360 : 0), 0.3);
        double off = std::abs(degrees - std::atan2(static_cast<double>(to.y), static_cast<double>(to.x)) * 180 / std::numbers::pi);
        off = std::fmod(off, 360.0);
        EXPECT_LE(std::min(off, 360 - off), 7.5 + 0.5) << tenth;
        ++hits[static_cast<std::size_t>(step)];
    }
    for (int step = 0; step < 24; ++step) EXPECT_GT(hits[static_cast<std::size_t>(step)], 0) << step;
    const PenPoint far = SnapToAngleStep({INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX});
    EXPECT_LT(far.x, INT32_MAX);
    EXPECT_GT(far.y, INT32_MIN);
}

// How far `point` lies from the polyline `path`, in pixels.
double DistanceToPath(PenPoint point, const std::vector<PenPoint>& path) {
    double best = Distance(point, path.front());
    for (std::size_t i = 1; i < path.size(); ++i) {
        const double ax = path[i - 1].x, ay = path[i - 1].y, bx = path[i].x, by = path[i].y;
        const double dx = bx - ax, dy = by - ay, length = dx * dx + dy * dy;
        const double t = length == 0 ? 0 : std::clamp(((point.x - ax) * dx + (point.y - ay) * dy) / length, 0.0, 1.0);
        best = std::min(best, std::hypot(point.x - (ax + t * dx), point.y - (ay + t * dy)));
    }
    return best;
}

// A settled path keeps the stroke's ends and its bends, and drops a hand's
// wobble: a wobbly straight stroke becomes one segment, a corner keeps its
// corner, a circle stays a circle cut into chords, and Off or a stroke too
// short to bend keeps its points.
TEST(SettledPath, StraightensAWobbleAndKeepsEndsAndBends) {
    std::vector<PenPoint> circle;
    for (int degrees = 0; degrees <= 360; degrees += 10) {
        circle.push_back({static_cast<std::int32_t>(std::lround(300 + 40 * std::cos(degrees * std::numbers::pi / 180))),
                          static_cast<std::int32_t>(std::lround(200 + 40 * std::sin(degrees * std::numbers::pi / 180)))});
    }
    std::vector<PenPoint> corner = HandLine({100, 100}, 0, 120, 4, 0, 1);
    for (const PenPoint p : HandLine({220, 100}, 90, 120, 4, 0, 1)) corner.push_back(p);
    struct Case {
        const char* name;
        std::vector<PenPoint> points;
        Stabilizer stabilizer;
        std::size_t mostPoints;   // at most this many points settled
        std::size_t leastPoints;  // and at least this many
    } cases[] = {
        {"level wobble, weak", HandLine({100, 100}, 0, 300, 4, 1.2, 3), Stabilizer::Weak, 2, 2},
        {"upright wobble, weak", HandLine({100, 50}, 90, 300, 4, 1.2, 4), Stabilizer::Weak, 2, 2},
        {"45-degree wobble, strong", HandLine({100, 50}, 45, 300, 4, 2, 5), Stabilizer::Strong, 2, 2},
        {"corner, weak", corner, Stabilizer::Weak, 4, 3},
        {"circle, weak", circle, Stabilizer::Weak, 37, 8},
        {"level wobble, off", HandLine({100, 100}, 0, 300, 4, 1.2, 3), Stabilizer::Off, 76, 76},
        {"two points, weak", {{10, 10}, {12, 40}}, Stabilizer::Weak, 2, 2},
        {"one point, weak", {{10, 10}}, Stabilizer::Weak, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<PenPoint> settled = SettledPath(c.points, c.stabilizer);
        ASSERT_FALSE(settled.empty());
        EXPECT_EQ(settled.front(), c.points.front());
        EXPECT_EQ(settled.back(), c.points.back());
        EXPECT_LE(settled.size(), c.mostPoints);
        EXPECT_GE(settled.size(), c.leastPoints);
        if (c.stabilizer == Stabilizer::Off) {
            EXPECT_EQ(settled, c.points);
        }
        // No drawn point is far from the settled path: the wobble at most,
        // plus the tolerance and a pixel of rounding.
        for (const PenPoint p : c.points) EXPECT_LE(DistanceToPath(p, settled), 2.0 + 3.0 + 1.0);
    }
}

}  // namespace
}  // namespace fudeline
