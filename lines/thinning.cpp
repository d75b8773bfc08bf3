#include "lines/thinning.h"

#include <opencv2/imgproc.hpp>

#include <vector>

namespace fudeline {
namespace {

// One subiteration over the padded 0/1 picture; returns whether anything was removed.
bool ThinningPass(cv::Mat& padded, bool second, std::vector<std::uint8_t*>& removals) {
    removals.clear();
    for (int y = 1; y < padded.rows - 1; ++y) {
        const std::uint8_t* above = padded.ptr<std::uint8_t>(y - 1);
        std::uint8_t* row = padded.ptr<std::uint8_t>(y);
        const std::uint8_t* below = padded.ptr<std::uint8_t>(y + 1);
        for (int x = 1; x < padded.cols - 1; ++x) {
            if (!row[x]) continue;
            // Neighbours clockwise from north.
            const int p2 = above[x], p3 = above[x + 1], p4 = row[x + 1], p5 = below[x + 1];
            const int p6 = below[x], p7 = below[x - 1], p8 = row[x - 1], p9 = above[x - 1];
            const int crossings = ((1 - p2) & (p3 | p4)) + ((1 - p4) & (p5 | p6)) +
                                  ((1 - p6) & (p7 | p8)) + ((1 - p8) & (p9 | p2));
            if (crossings != 1) continue;
            const int n1 = (p9 | p2) + (p3 | p4) + (p5 | p6) + (p7 | p8);
            const int n2 = (p2 | p3) + (p4 | p5) + (p6 | p7) + (p8 | p9);
            const int n = n1 < n2 ? n1 : n2;
            if (n < 2 || n > 3) continue;
            const int side = second ? ((p2 | p3 | (1 - p5)) & p4) : ((p6 | p7 | (1 - p9)) & p8);
            if (side == 0) removals.push_back(row + x);
        }
    }
    for (std::uint8_t* p : removals) *p = 0;
    return !removals.empty();
}

}  // namespace

void ThinToCentreLines(cv::Mat& ink) {
    CV_Assert(ink.type() == CV_8UC1);
    cv::Mat padded;
    cv::copyMakeBorder(ink, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    cv::threshold(padded, padded, 0, 1, cv::THRESH_BINARY);
    std::vector<std::uint8_t*> removals;
    for (;;) {
        const bool first = ThinningPass(padded, false, removals);
        const bool second = ThinningPass(padded, true, removals);
        if (!first && !second) break;
    }
    padded(cv::Rect(1, 1, ink.cols, ink.rows)).convertTo(ink, CV_8U, 255);
}

}  // namespace fudeline
