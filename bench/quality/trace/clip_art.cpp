#include "bench/quality/trace/clip_art.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include <opencv2/imgproc.hpp>

#include "pixels/geometry.h"
#include "pixels/grey_picture.h"
#include "pixels/pen_stroke.h"

namespace fudeline::bench {
namespace {

// The truth is found at this many pixels per canvas pixel, so that the
// centre of an even-width stroke falls on a pixel.
constexpr int kTruthFineness = 2;
// Thresholded specks smaller than this (fine pixels) are anti-aliasing
// crumbs, not strokes.
constexpr int kSpeckPixels = 4;

// Zhang and Suen's thinning of a 0/1 picture, written here rather than taken
// from the tracer so that the truth owes it nothing.
void Thin(cv::Mat& bits) {
    cv::Mat padded;
    cv::copyMakeBorder(bits, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    std::vector<cv::Point> gone;
    for (bool changed = true; changed;) {
        changed = false;
        for (int pass = 0; pass < 2; ++pass) {
            gone.clear();
            for (int y = 1; y < padded.rows - 1; ++y) {
                const std::uint8_t* up = padded.ptr<std::uint8_t>(y - 1);
                const std::uint8_t* mid = padded.ptr<std::uint8_t>(y);
                const std::uint8_t* down = padded.ptr<std::uint8_t>(y + 1);
                for (int x = 1; x < padded.cols - 1; ++x) {
                    if (!mid[x]) continue;
                    const int p[8] = {up[x],       up[x + 1], mid[x + 1], down[x + 1],
                                      down[x],     down[x - 1], mid[x - 1], up[x - 1]};
                    int neighbours = 0, rises = 0;
                    for (int i = 0; i < 8; ++i) {
                        neighbours += p[i];
                        rises += !p[i] && p[(i + 1) % 8];
                    }
                    if (neighbours < 2 || neighbours > 6 || rises != 1) continue;
                    const bool drop = pass == 0 ? !(p[0] && p[2] && p[4]) && !(p[2] && p[4] && p[6])
                                                : !(p[0] && p[2] && p[6]) && !(p[0] && p[4] && p[6]);
                    if (drop) gone.emplace_back(x, y);
                }
            }
            for (const cv::Point& at : gone) padded.at<std::uint8_t>(at) = 0;
            changed = changed || !gone.empty();
        }
    }
    padded(cv::Rect(1, 1, bits.cols, bits.rows)).copyTo(bits);
}

bool IsStroke(const std::uint8_t* rgb, int channels, StrokeRule rule) {
    const int r = rgb[0], g = channels == 3 ? rgb[1] : r, b = channels == 3 ? rgb[2] : r;
    const int luma = GreyOf(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                            static_cast<std::uint8_t>(b));
    switch (rule) {
        case StrokeRule::Dark:
            return luma <= 128;
        case StrokeRule::Light:
            return luma <= 255 - 30;
        case StrokeRule::Coloured:
            return std::min({r, g, b}) <= 255 - 100;
        case StrokeRule::None:
            return false;
    }
    return false;
}

}  // namespace

std::vector<ClipArtEntry> ReadClipArtList(const std::string& path) {
    std::vector<ClipArtEntry> entries;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        ClipArtEntry entry;
        if (!(words >> entry.group >> entry.path)) continue;
        if (const auto at = entry.group.find('@'); at != std::string::npos) {
            entry.iconSize = std::stoi(entry.group.substr(at + 1));
            entry.group.resize(at);
        }
        entries.push_back(entry);
    }
    return entries;
}

StrokeRule RuleOf(const std::string& group) {
    if (group == "black" || group == "icon") return StrokeRule::Dark;
    if (group == "light") return StrokeRule::Light;
    if (group == "colour") return StrokeRule::Coloured;
    return StrokeRule::None;
}

ColourPicture ShrinkToIcon(const ColourPicture& picture, int size) {
    const double scale =
        std::min(1.0, std::min(double(size) / picture.width, double(size) / picture.height));
    const cv::Mat whole(picture.height, picture.width, CV_8UC3,
                        const_cast<std::uint8_t*>(picture.rgb.data()));
    cv::Mat icon;
    cv::resize(whole, icon,
               cv::Size(std::max(1, int(picture.width * scale + 0.5)),
                        std::max(1, int(picture.height * scale + 0.5))),
               0, 0, cv::INTER_AREA);
    ColourPicture shrunk{icon.cols, icon.rows, {}, 1};
    shrunk.rgb.assign(icon.datastart, icon.dataend);
    return shrunk;
}

Image CentreLineTruth(const cv::Mat& canvas, cv::Rect area, StrokeRule rule) {
    Image truth(kCanvasWidth, kInkHeight);
    area &= cv::Rect(0, 0, canvas.cols, canvas.rows);
    if (rule == StrokeRule::None || area.empty()) return truth;
    cv::Mat fine;
    cv::resize(canvas(area), fine, cv::Size(), kTruthFineness, kTruthFineness, cv::INTER_LINEAR);
    cv::Mat bits(fine.size(), CV_8UC1);
    for (int y = 0; y < fine.rows; ++y) {
        for (int x = 0; x < fine.cols; ++x) {
            bits.at<std::uint8_t>(y, x) =
                IsStroke(fine.ptr<std::uint8_t>(y) + x * fine.channels(), fine.channels(), rule);
        }
    }
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(bits, labels, stats, centroids, 8, CV_32S);
    for (int y = 0; y < bits.rows; ++y) {
        for (int x = 0; x < bits.cols; ++x) {
            const int label = labels.at<int>(y, x);
            if (label > 0 && label < count && stats.at<int>(label, cv::CC_STAT_AREA) < kSpeckPixels)
                bits.at<std::uint8_t>(y, x) = 0;
        }
    }
    Thin(bits);
    for (int y = 0; y < bits.rows; ++y) {
        for (int x = 0; x < bits.cols; ++x) {
            if (!bits.at<std::uint8_t>(y, x)) continue;
            const auto canvasX = static_cast<std::int32_t>(
                std::lround((x + 0.5) / kTruthFineness - 0.5) + area.x);
            const auto canvasY = static_cast<std::int32_t>(
                std::lround((y + 0.5) / kTruthFineness - 0.5) + area.y);
            const Point at = ToInkPoint({canvasX, canvasY});
            truth.SetPixel(at.x, at.y, kBlack);
        }
    }
    return truth;
}

double BorderLineShare(const Image& ink, cv::Rect area) {
    if (area.empty()) return 0;
    auto inked = [&](int x, int y) { return ink.Pixel(x, y) == kBlack; };
    const int left = area.x, right = area.x + area.width - 1;
    const int top = ToInkPoint({0, area.y}).y, bottom = ToInkPoint({0, area.y + area.height - 1}).y;
    double share = 0;
    // Down the left and right sides, then along the top and bottom.
    for (const int side : {left, right}) {
        const int inward = side == left ? 1 : -1;
        int covered = 0;
        for (int y = top; y <= bottom; ++y) {
            bool near = false;
            for (int d = 0; d <= 2; ++d) near = near || inked(side + inward * d, y);
            covered += near;
        }
        share = std::max(share, double(covered) / (bottom - top + 1));
    }
    for (const int side : {top, bottom}) {
        const int inward = side == top ? 1 : -1;
        int covered = 0;
        for (int x = left; x <= right; ++x) {
            bool near = false;
            for (int d = 0; d <= 2; ++d) near = near || inked(x, side + inward * d);
            covered += near;
        }
        share = std::max(share, double(covered) / (right - left + 1));
    }
    return share;
}

}  // namespace fudeline::bench
