#include "session/stroke_stabilizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace fudeline {
namespace {

constexpr std::int64_t kSubpixels = 256;

// Beyond this many pixels from the canvas nothing is drawn anyway; held
// there, squared distances in subpixels stay far inside 64 bits.
constexpr std::int64_t kFarthest = std::int64_t{1} << 21;

struct Strength {
    std::int64_t shareNumerator;
    std::int64_t shareDenominator;
    int maxLag;  // pixels
};

// Weak takes a third of the way per point and trails at most 4 pixels, a
// quarter of a cell: a third of a slow stroke's 1-2 pixel tremor goes while
// small curves keep most of their size. Strong takes a sixth and trails up
// to 8, half a cell, for a hand that shakes more than the drawing has detail.
Strength StrengthOf(Stabilizer stabilizer) {
    switch (stabilizer) {
        case Stabilizer::Weak:
            return {1, 3, 4};
        case Stabilizer::Strong:
            return {1, 6, 8};
        case Stabilizer::Off:
            break;
    }
    return {1, 1, 0};
}

// a / b rounded to the nearest, halves away from zero; b > 0.
std::int64_t RoundDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

std::uint64_t ISqrt(std::uint64_t n) {
    // The square root of a double is exactly rounded everywhere; the two
    // loops make it the exact floor whatever it was.
    auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r > 0 && r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return r;
}

std::int64_t Near(std::int32_t v) {
    return std::clamp<std::int64_t>(v, -kFarthest, kFarthest);
}

std::int32_t ToPixel(std::int64_t subpixels) {
    // Floor division by a power of two (an arithmetic shift since C++20).
    static_assert(kSubpixels == 256);
    return static_cast<std::int32_t>((subpixels + kSubpixels / 2) >> 8);
}

// How far a settled path may pass from the evened-out points, in subpixels:
// two pixels for weak, which straightens the wobble of a hand that shakes a
// pixel or so and keeps a curve's bends; three for strong.
std::int64_t SettleTolerance(Stabilizer stabilizer) {
    switch (stabilizer) {
        case Stabilizer::Weak:
            return 5 * kSubpixels / 2;
        case Stabilizer::Strong:
            return 3 * kSubpixels;
        case Stabilizer::Off:
            break;
    }
    return 0;
}

__extension__ typedef unsigned __int128 Wide;

struct Subpoint {
    std::int64_t x, y;
};

// Marks in `keep` the points of (from, to) that Douglas-Peucker keeps.
void KeepBends(const std::vector<Subpoint>& p, std::size_t from, std::size_t to,
               std::int64_t tolerance, std::vector<bool>& keep) {
    std::vector<std::pair<std::size_t, std::size_t>> todo{{from, to}};
    while (!todo.empty()) {
        const auto [a, b] = todo.back();
        todo.pop_back();
        if (b <= a + 1) continue;
        const std::int64_t dx = p[b].x - p[a].x, dy = p[b].y - p[a].y;
        const auto lengthSquared = static_cast<Wide>(dx * dx + dy * dy);
        // The point farthest from the chord, by |cross| = distance x length
        // squared, all in whole numbers (the page must keep the same points):
        // the points are held near the canvas, so a cross product fits 64
        // bits and its square 128.
        std::size_t farthest = a;
        Wide most = 0;
        for (std::size_t k = a + 1; k < b; ++k) {
            const std::int64_t ex = p[k].x - p[a].x, ey = p[k].y - p[a].y;
            const std::int64_t cross = dx * ey - dy * ex;
            const auto size = static_cast<Wide>(cross < 0 ? -cross : cross);
            const Wide d = lengthSquared == 0 ? static_cast<Wide>(ex * ex + ey * ey) : size * size;
            if (k == a + 1 || d > most) {
                most = d;
                farthest = k;
            }
        }
        const Wide limit = static_cast<Wide>(tolerance * tolerance) * (lengthSquared == 0 ? 1 : lengthSquared);
        if (most > limit) {
            keep[farthest] = true;
            todo.push_back({a, farthest});
            todo.push_back({farthest, b});
        }
    }
}

}  // namespace

std::vector<PenPoint> SettledPath(std::span<const PenPoint> points, Stabilizer stabilizer) {
    const std::int64_t tolerance = SettleTolerance(stabilizer);
    if (tolerance == 0 || points.size() < 3) return {points.begin(), points.end()};
    const std::size_t n = points.size();
    std::vector<Subpoint> even(n);
    even.front() = {Near(points.front().x) * kSubpixels, Near(points.front().y) * kSubpixels};
    even.back() = {Near(points.back().x) * kSubpixels, Near(points.back().y) * kSubpixels};
    for (std::size_t i = 1; i + 1 < n; ++i) {
        even[i] = {RoundDiv((Near(points[i - 1].x) + Near(points[i].x) + Near(points[i + 1].x)) * kSubpixels, 3),
                   RoundDiv((Near(points[i - 1].y) + Near(points[i].y) + Near(points[i + 1].y)) * kSubpixels, 3)};
    }
    std::vector<bool> keep(n, false);
    keep.front() = keep.back() = true;
    KeepBends(even, 0, n - 1, tolerance, keep);
    std::vector<PenPoint> settled;
    for (std::size_t i = 0; i < n; ++i) {
        if (!keep[i]) continue;
        const PenPoint p{ToPixel(even[i].x), ToPixel(even[i].y)};
        if (settled.empty() || settled.back() != p) settled.push_back(p);
    }
    // The ends are the user's own points, whatever rounding did between.
    settled.front() = points.front();
    if (settled.size() == 1 && points.back() != points.front()) settled.push_back(points.back());
    settled.back() = points.back();
    return settled;
}

std::string_view StabilizerName(Stabilizer stabilizer) {
    switch (stabilizer) {
        case Stabilizer::Weak:
            return "weak";
        case Stabilizer::Strong:
            return "strong";
        case Stabilizer::Off:
            break;
    }
    return "off";
}

std::optional<Stabilizer> ParseStabilizer(std::string_view name) {
    for (const Stabilizer s : {Stabilizer::Off, Stabilizer::Weak, Stabilizer::Strong}) {
        if (name == StabilizerName(s)) return s;
    }
    return std::nullopt;
}

int StrokeStabilizer::MaxLag(Stabilizer stabilizer) {
    return StrengthOf(stabilizer).maxLag;
}

void StrokeStabilizer::Begin(PenPoint p, Stabilizer stabilizer) {
    stabilizer_ = stabilizer;
    moved_ = false;
    drew_ = false;
    Restart(p);
}

void StrokeStabilizer::Restart(PenPoint p) {
    pointer_ = p;
    drawnTo_ = p;
    penX_ = Near(p.x) * kSubpixels;
    penY_ = Near(p.y) * kSubpixels;
}

std::optional<PenPoint> StrokeStabilizer::Follow(PenPoint p) {
    pointer_ = p;
    moved_ = true;
    if (stabilizer_ == Stabilizer::Off) {
        drawnTo_ = p;
        drew_ = true;
        return p;
    }
    const Strength strength = StrengthOf(stabilizer_);
    const std::int64_t toX = Near(p.x) * kSubpixels, toY = Near(p.y) * kSubpixels;
    penX_ += RoundDiv((toX - penX_) * strength.shareNumerator, strength.shareDenominator);
    penY_ += RoundDiv((toY - penY_) * strength.shareNumerator, strength.shareDenominator);
    // Held on a string no longer than the greatest lag.
    const std::int64_t dx = toX - penX_, dy = toY - penY_;
    const std::int64_t lag = strength.maxLag * kSubpixels;
    const auto distanceSquared = static_cast<std::uint64_t>(dx * dx + dy * dy);
    if (distanceSquared > static_cast<std::uint64_t>(lag * lag)) {
        const auto distance = static_cast<std::int64_t>(ISqrt(distanceSquared));
        penX_ = toX - RoundDiv(dx * lag, distance);
        penY_ = toY - RoundDiv(dy * lag, distance);
    }
    const PenPoint pen{ToPixel(penX_), ToPixel(penY_)};
    if (pen == drawnTo_) return std::nullopt;
    drawnTo_ = pen;
    drew_ = true;
    return pen;
}

std::optional<PenPoint> StrokeStabilizer::Finish() {
    const bool draw = pointer_ != drawnTo_ || (moved_ && !drew_);
    Restart(pointer_);
    if (!draw) return std::nullopt;
    drew_ = true;
    return pointer_;
}

PenPoint SnapToAngleStep(PenPoint from, PenPoint to) {
    // cos and sin of 0, 15, ..., 90 degrees in 1/2^24, close enough that a
    // line across the whole range of client pixels ends within a pixel of
    // its step; the other quadrants by symmetry.
    constexpr std::int64_t kUnit = std::int64_t{1} << 24;
    constexpr std::array<std::int64_t, 7> kQuarter{kUnit,   16205546, 14529495, 11863283,
                                                   8388608, 4342263,  0};
    const std::int64_t dx =
        std::clamp<std::int64_t>(std::int64_t{to.x} - from.x, -kFarthest / 2, kFarthest / 2);
    const std::int64_t dy =
        std::clamp<std::int64_t>(std::int64_t{to.y} - from.y, -kFarthest / 2, kFarthest / 2);
    if (dx == 0 && dy == 0) return from;
    std::int64_t bestX = 0, bestY = 0, bestDot = 0;
    bool first = true;
    for (int step = 0; step < 24; ++step) {
        const int inQuarter = step % 6, quarter = step / 6;
        const std::int64_t c = kQuarter[static_cast<std::size_t>(inQuarter)];
        const std::int64_t s = kQuarter[static_cast<std::size_t>(6 - inQuarter)];
        // Turned by a quarter `quarter` times: (c, s) -> (-s, c).
        std::int64_t ux = c, uy = s;
        for (int q = 0; q < quarter; ++q) {
            const std::int64_t turned = -uy;
            uy = ux;
            ux = turned;
        }
        const std::int64_t dot = dx * ux + dy * uy;
        if (first || dot > bestDot) {
            bestDot = dot;
            bestX = ux;
            bestY = uy;
            first = false;
        }
    }
    // The length in 1/256 pixel, then along the chosen direction.
    const auto length =
        static_cast<std::int64_t>(ISqrt(static_cast<std::uint64_t>(dx * dx + dy * dy) << 16));
    const std::int64_t x = std::int64_t{from.x} + RoundDiv(length * bestX, kSubpixels * kUnit);
    const std::int64_t y = std::int64_t{from.y} + RoundDiv(length * bestY, kSubpixels * kUnit);
    auto clamp32 = [](std::int64_t v) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
    };
    return {clamp32(x), clamp32(y)};
}

}  // namespace fudeline
