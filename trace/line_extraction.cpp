#include "trace/line_extraction.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "trace/small_mark_removal.h"
#include "trace/thinning.h"

namespace fudeline {
namespace {

// Blobs smaller than this before thinning are paper grain or JPEG noise.
constexpr int kLineArtGrainPixels = 6;
// Centre-line fragments shorter than this after thinning would each become a
// stray dot or apostrophe in the text.
constexpr int kLineArtFragmentPixels = 4;
constexpr int kPhotoFragmentPixels = 12;
// Canny's upper threshold: this many times the mean gradient, and at least the
// floor (a 3 x 3 Sobel gradient; a sharp step of 20 grey levels gives 80).
constexpr double kEdgeToMeanGradient = 3.0;
constexpr double kMinEdgeGradient = 60.0;

struct ToneClasses {
    double threshold = 0;
    double darkShare = 0;  // of the pixels, at or below the threshold
    double darkMean = 0, lightMean = 0, lightDeviation = 0;
};

ToneClasses SplitTones(const cv::Mat& grey) {
    ToneClasses tones;
    cv::Mat unused;
    tones.threshold = cv::threshold(grey, unused, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    const cv::Mat dark = grey <= tones.threshold;
    const double total = static_cast<double>(grey.total());
    tones.darkShare = total > 0 ? cv::countNonZero(dark) / total : 0;
    cv::Scalar mean, deviation;
    tones.darkMean = cv::mean(grey, dark)[0];
    cv::meanStdDev(grey, mean, deviation, ~dark);
    tones.lightMean = mean[0];
    tones.lightDeviation = deviation[0];
    return tones;
}

}  // namespace

cv::Mat ExtractLineArt(const cv::Mat& grey, cv::Rect area) {
    CV_Assert(grey.type() == CV_8UC1);
    area &= cv::Rect(0, 0, grey.cols, grey.rows);
    if (area.empty()) return cv::Mat::zeros(grey.size(), CV_8UC1);
    cv::Mat smooth, ink;
    // A light blur first, so JPEG blocks and paper grain do not break the
    // threshold's edge into ragged teeth that thinning turns into spurs.
    cv::GaussianBlur(grey, smooth, cv::Size(3, 3), 0);
    // A picture with no dark part (all paper, or all ink) has no lines to find:
    // Otsu's threshold then splits noise.
    const ToneClasses tones = SplitTones(smooth(area));
    if (tones.lightMean - tones.darkMean < 32 || tones.darkShare > 0.5) {
        return cv::Mat::zeros(grey.size(), CV_8UC1);
    }
    cv::threshold(smooth, ink, tones.threshold, 255, cv::THRESH_BINARY_INV);
    RemoveSmallMarks(ink, kLineArtGrainPixels);
    ThinToCentreLines(ink);
    RemoveSmallMarks(ink, kLineArtFragmentPixels);
    return ink;
}

cv::Mat ExtractPhotoEdges(const cv::Mat& grey, cv::Rect area) {
    CV_Assert(grey.type() == CV_8UC1);
    cv::Mat result = cv::Mat::zeros(grey.size(), CV_8UC1);
    area &= cv::Rect(0, 0, grey.cols, grey.rows);
    if (area.empty()) return result;
    cv::Mat smooth, equalised, edges;
    // A copy, since filters on a view would reach past it into the canvas.
    cv::GaussianBlur(grey(area).clone(), smooth, cv::Size(5, 5), 0);
    cv::createCLAHE(2.0, cv::Size(8, 8))->apply(smooth, equalised);
    // Thresholds from the picture's own gradients: an edge is a few times
    // steeper than the picture's average slope, so busy photos keep their
    // main outlines and flat ones still show theirs; the floor keeps grain
    // and JPEG blocks out.
    cv::Mat dx, dy, magnitude;
    cv::Sobel(equalised, dx, CV_32F, 1, 0);
    cv::Sobel(equalised, dy, CV_32F, 0, 1);
    cv::magnitude(dx, dy, magnitude);
    const double high = std::max(kMinEdgeGradient, kEdgeToMeanGradient * cv::mean(magnitude)[0]);
    const double low = high / 2;
    cv::Canny(equalised, edges, low, high, 3, true);
    ThinToCentreLines(edges);
    RemoveSmallMarks(edges, kPhotoFragmentPixels);
    edges.copyTo(result(area));
    return result;
}

}  // namespace fudeline
