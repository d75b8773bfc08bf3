#include "bench/data/generators/test_photo.h"

#include <opencv2/imgproc.hpp>

namespace fudeline::bench {

constexpr int kWidth = 4000, kHeight = 3000;

cv::Mat TestPhoto() {
    cv::Mat photo(kHeight, kWidth, CV_8UC3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            photo.at<cv::Vec3b>(y, x) = {static_cast<std::uint8_t>(60 + 120 * y / kHeight),
                                         static_cast<std::uint8_t>(90 + 100 * x / kWidth),
                                         static_cast<std::uint8_t>(200 - 80 * y / kHeight)};
        }
    }
    cv::RNG random(2024);
    for (int i = 0; i < 120; ++i) {
        const cv::Scalar colour(random.uniform(0, 255), random.uniform(0, 255),
                                random.uniform(0, 255));
        const cv::Point centre(random.uniform(0, kWidth), random.uniform(0, kHeight));
        if (i % 3 == 0) {
            cv::rectangle(photo, centre,
                          centre + cv::Point(random.uniform(50, 900), random.uniform(50, 700)),
                          colour, cv::FILLED);
        } else {
            cv::ellipse(photo, centre, {random.uniform(30, 600), random.uniform(30, 400)},
                        random.uniform(0, 180), 0, 360, colour, cv::FILLED, cv::LINE_AA);
        }
    }
    cv::GaussianBlur(photo, photo, cv::Size(), 3.0);
    cv::Mat noise(photo.size(), CV_8UC3);
    random.fill(noise, cv::RNG::NORMAL, 0, 10);
    photo += noise;
    return photo;
}

}  // namespace fudeline::bench
