#include "lines/colour_slopes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace fudeline {
namespace {

int Mirrored(int i, int length) { return cv::borderInterpolate(i, length, cv::BORDER_REFLECT_101); }

// One row's slopes, channel by channel, into `dx` and `dy` (width * cn
// values each, interleaved as the picture). `up`, `mid`, `down` are the rows
// above, at and below (mirrored at the picture's edges).
template <int CN>
void RowSlopes(const std::uint8_t* __restrict up, const std::uint8_t* __restrict mid,
               const std::uint8_t* __restrict down, int width, std::int16_t* __restrict dx,
               std::int16_t* __restrict dy) {
    auto at = [&](int x, int left, int right) {
        for (int c = 0; c < CN; ++c) {
            const int l = left * CN + c, i = x * CN + c, r = right * CN + c;
            dx[i] = static_cast<std::int16_t>((up[r] - up[l]) + 2 * (mid[r] - mid[l]) +
                                              (down[r] - down[l]));
            dy[i] = static_cast<std::int16_t>((down[l] + 2 * down[i] + down[r]) -
                                              (up[l] + 2 * up[i] + up[r]));
        }
    };
    at(0, Mirrored(-1, width), Mirrored(1, width));
    // The inside of the row as one run of values, neighbours CN apart: a
    // loop the compiler turns into vector code.
    const int end = (width - 1) * CN;
    for (int i = CN; i < end; ++i) {
        dx[i] = static_cast<std::int16_t>((up[i + CN] - up[i - CN]) + 2 * (mid[i + CN] - mid[i - CN]) +
                                          (down[i + CN] - down[i - CN]));
        dy[i] = static_cast<std::int16_t>((down[i - CN] + 2 * down[i] + down[i + CN]) -
                                          (up[i - CN] + 2 * up[i] + up[i + CN]));
    }
    if (width > 1) at(width - 1, Mirrored(width - 2, width), Mirrored(width, width));
}

std::uint8_t Steepness(int dx, int dy) {
    return static_cast<std::uint8_t>(std::min(255, std::max(std::abs(dx), std::abs(dy))));
}

template <int CN>
void Measure(const cv::Mat& image, ColourSlopes& slopes) {
    const int width = image.cols, height = image.rows;
    std::vector<std::int16_t> dx(static_cast<std::size_t>(width) * CN),
        dy(static_cast<std::size_t>(width) * CN);
    for (int y = 0; y < height; ++y) {
        std::int16_t* outX = slopes.dx.ptr<std::int16_t>(y);
        std::int16_t* outY = slopes.dy.ptr<std::int16_t>(y);
        std::uint8_t* steep = slopes.steepness.ptr<std::uint8_t>(y);
        const std::uint8_t* up = image.ptr<std::uint8_t>(Mirrored(y - 1, height));
        const std::uint8_t* mid = image.ptr<std::uint8_t>(y);
        const std::uint8_t* down = image.ptr<std::uint8_t>(Mirrored(y + 1, height));
        if constexpr (CN == 1) {
            RowSlopes<1>(up, mid, down, width, outX, outY);
            for (int x = 0; x < width; ++x) steep[x] = Steepness(outX[x], outY[x]);
            continue;
        }
        RowSlopes<CN>(up, mid, down, width, dx.data(), dy.data());
        for (int x = 0; x < width; ++x) {
            const std::int16_t* px = &dx[static_cast<std::size_t>(x) * CN];
            const std::int16_t* py = &dy[static_cast<std::size_t>(x) * CN];
            int best = 0, strongest = px[0] * px[0] + py[0] * py[0];
            int steepest = std::max(std::abs(px[0]), std::abs(py[0]));
            for (int c = 1; c < CN; ++c) {
                const int strength = px[c] * px[c] + py[c] * py[c];
                if (strength > strongest) {
                    strongest = strength;
                    best = c;
                }
                steepest = std::max({steepest, std::abs(px[c]), std::abs(py[c])});
            }
            outX[x] = px[best];
            outY[x] = py[best];
            steep[x] = static_cast<std::uint8_t>(std::min(255, steepest));
        }
    }
}

}  // namespace

ColourSlopes MeasureSlopes(const cv::Mat& image) {
    CV_Assert(image.type() == CV_8UC1 || image.type() == CV_8UC3);
    ColourSlopes slopes;
    slopes.steepness.create(image.size(), CV_8UC1);
    slopes.dx.create(image.size(), CV_16SC1);
    slopes.dy.create(image.size(), CV_16SC1);
    if (image.empty()) return slopes;
    if (image.channels() == 1) {
        Measure<1>(image, slopes);
    } else {
        Measure<3>(image, slopes);
    }
    return slopes;
}

}  // namespace fudeline
