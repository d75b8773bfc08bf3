#include "trace/thinning.h"

#include <opencv2/imgproc.hpp>

#include <vector>

namespace fudeline {
namespace {

// Guo and Hall's deletion test for one pixel of the padded 0/1 picture.
bool Deletable(const std::uint8_t* p, std::ptrdiff_t stride, bool second) {
    const int p2 = p[-stride], p3 = p[-stride + 1], p4 = p[1], p5 = p[stride + 1];
    const int p6 = p[stride], p7 = p[stride - 1], p8 = p[-1], p9 = p[-stride - 1];
    const int crossings = ((1 - p2) & (p3 | p4)) + ((1 - p4) & (p5 | p6)) + ((1 - p6) & (p7 | p8)) +
                          ((1 - p8) & (p9 | p2));
    if (crossings != 1) return false;
    const int n1 = (p9 | p2) + (p3 | p4) + (p5 | p6) + (p7 | p8);
    const int n2 = (p2 | p3) + (p4 | p5) + (p6 | p7) + (p8 | p9);
    const int n = n1 < n2 ? n1 : n2;
    if (n < 2 || n > 3) return false;
    const int side = second ? ((p2 | p3 | (1 - p5)) & p4) : ((p6 | p7 | (1 - p9)) & p8);
    return side == 0;
}

}  // namespace

// Only pixels whose neighbourhood changed are looked at again: a scan of the
// whole picture per subiteration would cost its area times the half width of
// the widest stroke, seconds for a large filled shape.
void ThinToCentreLines(cv::Mat& ink) {
    CV_Assert(ink.type() == CV_8UC1);
    cv::Mat padded;
    cv::copyMakeBorder(ink, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    cv::threshold(padded, padded, 0, 1, cv::THRESH_BINARY);
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(padded.step);
    const std::ptrdiff_t neighbours[8] = {-stride - 1, -stride,    -stride + 1, -1,
                                          1,           stride - 1, stride,      stride + 1};
    std::uint8_t* base = padded.data;
    // Per pixel, in one byte (one canvas-sized buffer, not two): how many
    // subiterations in a row it was tested and kept (kIdle bits; dropped from
    // the list at 2: both tests failed with nothing changed), and whether it
    // is on the list (kListed).
    constexpr std::uint8_t kIdle = 3, kListed = 4;
    cv::Mat state = cv::Mat::zeros(padded.size(), CV_8UC1);
    std::uint8_t* const mark = state.data;
    std::vector<std::ptrdiff_t> list, next, removals;
    for (int y = 1; y < padded.rows - 1; ++y) {
        for (int x = 1; x < padded.cols - 1; ++x) {
            if (padded.at<std::uint8_t>(y, x)) {
                list.push_back(y * stride + x);
                mark[y * stride + x] = kListed;
            }
        }
    }
    int quietSubiterations = 0;
    for (bool second = false; quietSubiterations < 2 && !list.empty(); second = !second) {
        removals.clear();
        next.clear();
        for (const std::ptrdiff_t at : list) {
            if (Deletable(base + at, stride, second)) {
                removals.push_back(at);
            } else if ((++mark[at] & kIdle) < 2) {
                next.push_back(at);
            } else {
                mark[at] &= static_cast<std::uint8_t>(~kListed);
            }
        }
        for (const std::ptrdiff_t at : removals) {
            base[at] = 0;
            mark[at] &= static_cast<std::uint8_t>(~kListed);
        }
        for (const std::ptrdiff_t at : removals) {
            for (const std::ptrdiff_t d : neighbours) {
                const std::ptrdiff_t q = at + d;
                if (!base[q]) continue;
                mark[q] &= static_cast<std::uint8_t>(~kIdle);
                if (!(mark[q] & kListed)) {
                    mark[q] |= kListed;
                    next.push_back(q);
                }
            }
        }
        quietSubiterations = removals.empty() ? quietSubiterations + 1 : 0;
        list.swap(next);
    }
    padded(cv::Rect(1, 1, ink.cols, ink.rows)).convertTo(ink, CV_8U, 255);
}

}  // namespace fudeline
