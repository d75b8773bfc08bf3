#include "convert/quality.h"

#include <algorithm>
#include <vector>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

// The black pixels of `image` widened by the radius-2 disk (13 pixels), on
// a width x height grid.
std::vector<std::uint8_t> NearMask(const Image& image, int width, int height) {
    std::vector<std::uint8_t> near(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.Pixel(x, y) != kBlack) continue;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (dx * dx + dy * dy > 4 || nx < 0 || ny < 0 || nx >= width || ny >= height)
                        continue;
                    near[static_cast<std::size_t>(ny) * width + nx] = 1;
                }
            }
        }
    }
    return near;
}

// Counts the black pixels of `image` and those lying on `near`.
void CountNear(const Image& image, const std::vector<std::uint8_t>& near, int width,
               std::int64_t& total, std::int64_t& hits) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.Pixel(x, y) != kBlack) continue;
            ++total;
            hits += near[static_cast<std::size_t>(y) * width + x];
        }
    }
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
    Quality q;
    CountNear(drawn, NearMask(truth, width, height), width, q.drawn, q.drawnNearTruth);
    CountNear(truth, NearMask(drawn, width, height), width, q.truth, q.truthNearDrawn);
    if (q.drawn > 0) q.precision = static_cast<double>(q.drawnNearTruth) / q.drawn;
    if (q.truth > 0) q.recall = static_cast<double>(q.truthNearDrawn) / q.truth;
    const double sum = q.precision + q.recall;
    q.f1 = sum > 0 ? 2 * q.precision * q.recall / sum : 0.0;
    return q;
}

}  // namespace fudeline
