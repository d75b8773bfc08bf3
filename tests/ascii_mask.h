// Small binary pictures written as text, for the line extraction tests:
// '#' is ink, anything else paper.
#pragma once

#include <opencv2/core.hpp>
#include <string>
#include <vector>

namespace fudeline::testing {

inline cv::Mat MaskFromText(const std::vector<std::string>& rows) {
    cv::Mat mask = cv::Mat::zeros(static_cast<int>(rows.size()),
                                  static_cast<int>(rows.empty() ? 0 : rows[0].size()), CV_8UC1);
    for (int y = 0; y < mask.rows; ++y) {
        for (int x = 0; x < mask.cols; ++x) {
            if (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#') {
                mask.at<std::uint8_t>(y, x) = 255;
            }
        }
    }
    return mask;
}

inline std::vector<std::string> TextFromMask(const cv::Mat& mask) {
    std::vector<std::string> rows;
    for (int y = 0; y < mask.rows; ++y) {
        std::string row;
        for (int x = 0; x < mask.cols; ++x) row += mask.at<std::uint8_t>(y, x) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

}  // namespace fudeline::testing
