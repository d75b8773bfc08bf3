#include "trace/small_mark_removal.h"

#include <opencv2/imgproc.hpp>

#include <vector>

namespace fudeline {

void RemoveSmallMarks(cv::Mat& ink, int minPixels) {
    cv::Mat labels;
    RemoveSmallMarks(ink, minPixels, labels);
}

void RemoveSmallMarks(cv::Mat& ink, int minPixels, cv::Mat& labels) {
    CV_Assert(ink.type() == CV_8UC1);
    cv::Mat stats, centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(count), 0);
    for (int label = 1; label < count; ++label) {
        keep[static_cast<std::size_t>(label)] =
            stats.at<int>(label, cv::CC_STAT_AREA) >= minPixels ? 1 : 0;
    }
    for (int y = 0; y < ink.rows; ++y) {
        const int* labelRow = labels.ptr<int>(y);
        std::uint8_t* inkRow = ink.ptr<std::uint8_t>(y);
        for (int x = 0; x < ink.cols; ++x) {
            if (inkRow[x] && !keep[static_cast<std::size_t>(labelRow[x])]) inkRow[x] = 0;
        }
    }
}

}  // namespace fudeline
