#include "trace/colour_slopes.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

namespace fudeline {
namespace {

// The one-pass slopes against OpenCV's own filters, which they replace:
// cv::Sobel per channel, the steepest step saturated, and Canny, which on a
// colour gradient follows the strongest channel at each pixel.
TEST(ColourSlopesTest, EqualsSobelAndCannyOnEveryChannel) {
    const struct {
        int rows, cols, channels;
    } cases[] = {
        {1, 1, 1}, {1, 7, 3}, {7, 1, 3}, {2, 2, 3}, {3, 5, 1}, {37, 53, 1}, {64, 97, 3},
    };
    cv::RNG random(16);
    for (const auto& c : cases) {
        for (const bool steps : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.rows << "x" << c.cols << "x" << c.channels
                                            << (steps ? " steps" : " noise"));
            cv::Mat image(c.rows, c.cols, CV_8UC(c.channels));
            random.fill(image, cv::RNG::UNIFORM, 0, 256);
            if (steps) {
                // Few levels, so channels often tie in strength.
                image.forEach<std::uint8_t>([](std::uint8_t& v, const int*) { v = v / 64 * 85; });
            }
            const ColourSlopes slopes = MeasureSlopes(image);

            cv::Mat dx, dy, ax, ay, steep;
            cv::Sobel(image, dx, CV_16S, 1, 0);
            cv::Sobel(image, dy, CV_16S, 0, 1);
            cv::convertScaleAbs(dx, ax);
            cv::convertScaleAbs(dy, ay);
            cv::max(ax, ay, steep);
            steep = steep.reshape(1, c.rows * c.cols);
            cv::reduce(steep, steep, 1, cv::REDUCE_MAX);
            EXPECT_EQ(cv::norm(steep.reshape(1, c.rows), slopes.steepness, cv::NORM_INF), 0);

            for (const double high : {60.0, 200.0}) {
                cv::Mat expected, found;
                cv::Canny(dx, dy, expected, high / 2, high, true);
                cv::Canny(slopes.dx, slopes.dy, found, high / 2, high, true);
                EXPECT_EQ(cv::countNonZero(expected != found), 0) << "threshold " << high;
            }
            if (c.channels == 1) {
                EXPECT_EQ(cv::countNonZero(dx != slopes.dx), 0);
                EXPECT_EQ(cv::countNonZero(dy != slopes.dy), 0);
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
