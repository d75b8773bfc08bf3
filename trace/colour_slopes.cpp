#include "trace/colour_slopes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace fudeline {
namespace {

int Mirrored(int i, int length) { return cv::borderInterpolate(i, length, cv::BORDER_REFLECT_101); }

// One row's slopes of one channel into `dx` and `dy`. `up`, `mid`, `down`
// are the rows above, at and below (mirrored at the picture's edges).
void RowSlopes(const std::uint8_t* __restrict up, const std::uint8_t* __restrict mid,
               const std::uint8_t* __restrict down, int width, std::int16_t* __restrict dx,
               std::int16_t* __restrict dy) {
    auto at = [&](int x, int l, int r) {
        dx[x] = static_cast<std::int16_t>((up[r] - up[l]) + 2 * (mid[r] - mid[l]) + (down[r] - down[l]));
        dy[x] = static_cast<std::int16_t>((down[l] + 2 * down[x] + down[r]) -
                                          (up[l] + 2 * up[x] + up[r]));
    };
    at(0, Mirrored(-1, width), Mirrored(1, width));
    // Written out for the inside so the compiler makes it vector code.
    for (int x = 1; x < width - 1; ++x) {
        dx[x] = static_cast<std::int16_t>((up[x + 1] - up[x - 1]) + 2 * (mid[x + 1] - mid[x - 1]) +
                                          (down[x + 1] - down[x - 1]));
        dy[x] = static_cast<std::int16_t>((down[x - 1] + 2 * down[x] + down[x + 1]) -
                                          (up[x - 1] + 2 * up[x] + up[x + 1]));
    }
    if (width > 1) at(width - 1, Mirrored(width - 2, width), Mirrored(width, width));
}

std::uint8_t Steepness(int dx, int dy) {
    return static_cast<std::uint8_t>(std::min(255, std::max(std::abs(dx), std::abs(dy))));
}

void MeasureGrey(const cv::Mat& image, ColourSlopes& slopes) {
    const int width = image.cols, height = image.rows;
    for (int y = 0; y < height; ++y) {
        std::int16_t* dx = slopes.dx.ptr<std::int16_t>(y);
        std::int16_t* dy = slopes.dy.ptr<std::int16_t>(y);
        std::uint8_t* steep = slopes.steepness.ptr<std::uint8_t>(y);
        RowSlopes(image.ptr<std::uint8_t>(Mirrored(y - 1, height)), image.ptr<std::uint8_t>(y),
                  image.ptr<std::uint8_t>(Mirrored(y + 1, height)), width, dx, dy);
        for (int x = 0; x < width; ++x) steep[x] = Steepness(dx[x], dy[x]);
    }
}

// Per pixel, the slopes of the strongest of three channels (the first of
// equals, as Canny picks it) and the steepest step of any.
void PickStrongest(const std::int16_t* __restrict x0, const std::int16_t* __restrict y0,
                   const std::int16_t* __restrict x1, const std::int16_t* __restrict y1,
                   const std::int16_t* __restrict x2, const std::int16_t* __restrict y2,
                   int width, std::int16_t* __restrict outX, std::int16_t* __restrict outY,
                   std::uint8_t* __restrict steep) {
    for (int x = 0; x < width; ++x) {
        // Every value loaded up front: no branches, so the loop is vector code.
        const int a0 = x0[x], b0 = y0[x], a1 = x1[x], b1 = y1[x], a2 = x2[x], b2 = y2[x];
        const int s0 = a0 * a0 + b0 * b0, s1 = a1 * a1 + b1 * b1, s2 = a2 * a2 + b2 * b2;
        const bool second = s1 > s0;
        const bool third = s2 > (second ? s1 : s0);
        const int a = second ? a1 : a0, b = second ? b1 : b0;
        outX[x] = static_cast<std::int16_t>(third ? a2 : a);
        outY[x] = static_cast<std::int16_t>(third ? b2 : b);
        const int steepest = std::max(std::max(std::max(std::abs(a0), std::abs(b0)),
                                               std::max(std::abs(a1), std::abs(b1))),
                                      std::max(std::abs(a2), std::abs(b2)));
        steep[x] = static_cast<std::uint8_t>(std::min(255, steepest));
    }
}

// Colour rows are split into their channels (the last three rows kept), so
// that every loop runs over plain runs of one channel's values.
void MeasureColour(const cv::Mat& image, ColourSlopes& slopes) {
    constexpr int kChannels = 3;
    const int width = image.cols, height = image.rows;
    const std::size_t w = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> planes(3 * kChannels * w);  // [slot][channel][x]
    int slotRow[3] = {-1, -1, -1};
    auto channelRow = [&](int row, int c) {
        const int slot = row % 3;
        if (slotRow[slot] != row) {
            cv::Mat split[kChannels];
            for (int k = 0; k < kChannels; ++k) {
                split[k] = cv::Mat(1, width, CV_8UC1, &planes[(slot * kChannels + k) * w]);
            }
            cv::split(image.row(row), split);
            slotRow[slot] = row;
        }
        return &planes[(slot * kChannels + c) * w];
    };
    std::vector<std::int16_t> dx(kChannels * w), dy(kChannels * w);
    for (int y = 0; y < height; ++y) {
        const int above = Mirrored(y - 1, height), below = Mirrored(y + 1, height);
        for (int c = 0; c < kChannels; ++c) {
            RowSlopes(channelRow(above, c), channelRow(y, c), channelRow(below, c), width,
                      &dx[c * w], &dy[c * w]);
        }
        PickStrongest(&dx[0], &dy[0], &dx[w], &dy[w], &dx[2 * w], &dy[2 * w], width,
                      slopes.dx.ptr<std::int16_t>(y), slopes.dy.ptr<std::int16_t>(y),
                      slopes.steepness.ptr<std::uint8_t>(y));
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
        MeasureGrey(image, slopes);
    } else {
        MeasureColour(image, slopes);
    }
    return slopes;
}

}  // namespace fudeline
