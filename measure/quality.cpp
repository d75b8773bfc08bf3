#include "measure/quality.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

struct Offset {
    int dx, dy, squared;
};

// Every offset within the distance cap, nearest first.
const std::vector<Offset>& OffsetsByDistance() {
    static const std::vector<Offset> offsets = [] {
        std::vector<Offset> all;
        const int reach = static_cast<int>(kDistanceCap);
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const int squared = dx * dx + dy * dy;
                if (squared <= kDistanceCap * kDistanceCap) all.push_back({dx, dy, squared});
            }
        }
        std::stable_sort(all.begin(), all.end(),
                         [](const Offset& a, const Offset& b) { return a.squared < b.squared; });
        return all;
    }();
    return offsets;
}

// The black pixels of `image` as bytes on a width x height grid.
std::vector<std::uint8_t> BlackMask(const Image& image, int width, int height) {
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.Pixel(x, y) == kBlack) mask[static_cast<std::size_t>(y) * width + x] = 1;
        }
    }
    return mask;
}

struct OneWay {
    std::int64_t pixels = 0;
    std::array<std::int64_t, kQualityTolerances> matched{};
    double distanceSum = 0.0;
};

// For every black pixel of `from`, the distance to the nearest of `to`.
OneWay Measure(const std::vector<std::uint8_t>& from, const std::vector<std::uint8_t>& to,
               int width, int height) {
    OneWay out;
    const auto& offsets = OffsetsByDistance();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!from[static_cast<std::size_t>(y) * width + x]) continue;
            ++out.pixels;
            int squared = std::numeric_limits<int>::max();
            for (const Offset& o : offsets) {
                const int nx = x + o.dx, ny = y + o.dy;
                if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                if (to[static_cast<std::size_t>(ny) * width + nx]) {
                    squared = o.squared;
                    break;
                }
            }
            for (int t = 0; t < kQualityTolerances; ++t) {
                if (squared <= t * t) ++out.matched[static_cast<std::size_t>(t)];
            }
            out.distanceSum +=
                squared == std::numeric_limits<int>::max() ? kDistanceCap : std::sqrt(squared);
        }
    }
    return out;
}

}  // namespace

Image DrawRowsAsInk(const TextPainter& painter, const TextRows& rows) {
    Image drawn(kCanvasWidth, kInkHeight, kWhite);
    for (int row = 0; row < kRowCount; ++row) {
        painter.DrawCells(drawn, row * kInkRowHeight, rows[static_cast<std::size_t>(row)]);
    }
    return drawn;
}

Quality MeasureQuality(const Image& drawn, const Image& truth) {
    const int width = std::max(drawn.width(), truth.width());
    const int height = std::max(drawn.height(), truth.height());
    const auto drawnMask = BlackMask(drawn, width, height);
    const auto truthMask = BlackMask(truth, width, height);
    const OneWay forward = Measure(drawnMask, truthMask, width, height);
    const OneWay backward = Measure(truthMask, drawnMask, width, height);
    Quality q;
    q.drawn = forward.pixels;
    q.truth = backward.pixels;
    for (int t = 0; t < kQualityTolerances; ++t) {
        Match& m = q.at[static_cast<std::size_t>(t)];
        m.drawnMatched = forward.matched[static_cast<std::size_t>(t)];
        m.truthMatched = backward.matched[static_cast<std::size_t>(t)];
        if (q.drawn > 0) m.precision = static_cast<double>(m.drawnMatched) / q.drawn;
        if (q.truth > 0) m.recall = static_cast<double>(m.truthMatched) / q.truth;
        const double sum = m.precision + m.recall;
        m.f1 = sum > 0 ? 2 * m.precision * m.recall / sum : 0.0;
    }
    const Match& two = q.at[2];
    q.drawnNearTruth = two.drawnMatched;
    q.truthNearDrawn = two.truthMatched;
    q.precision = two.precision;
    q.recall = two.recall;
    q.f1 = two.f1;
    if (q.truth > 0) {
        q.darkRatio = static_cast<double>(q.drawn) / static_cast<double>(q.truth);
    } else if (q.drawn > 0) {
        q.darkRatio = std::numeric_limits<double>::infinity();
    }
    if (q.drawn > 0) q.drawnDistance = forward.distanceSum / static_cast<double>(q.drawn);
    if (q.truth > 0) q.truthDistance = backward.distanceSum / static_cast<double>(q.truth);
    q.distance = (q.drawnDistance + q.truthDistance) / 2;
    return q;
}

}  // namespace fudeline
