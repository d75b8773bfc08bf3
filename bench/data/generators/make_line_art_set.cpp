// Writes the line-art benchmark set: each drawing as a picture of dark-grey,
// anti-aliased strokes 2-4 px wide on textured paper, at canvas size and twice
// it, as PNG and JPEG, and its one-pixel truth in ink coordinates: the stroke
// centre lines mapped to ink rows as a pen stroke is.
//   make_line_art_set OUTDIR
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <iostream>
#include <opencv2/imgproc.hpp>

#include "bench/data/generators/drawings.h"
#include "bench/data/generators/jpeg_encode.h"
#include "bench/tool_arguments.h"
#include "files/file_bytes.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"

using namespace fudeline;
using namespace fudeline::bench;

namespace {

constexpr int kJpegQuality = 85;

// Paper: an uneven tone, a soft mottle and a fine grain, the same for a given seed.
cv::Mat Paper(int width, int height, int scale, unsigned seed) {
    cv::RNG random(seed);
    cv::Mat paper(height, width, CV_32F);
    for (int y = 0; y < height; ++y) {
        paper.row(y).setTo(226.0 + 10.0 * y / height);
    }
    cv::Mat mottle(height, width, CV_32F), grain(height, width, CV_32F);
    random.fill(mottle, cv::RNG::NORMAL, 0, 14);
    cv::GaussianBlur(mottle, mottle, cv::Size(), 4.0 * scale);
    random.fill(grain, cv::RNG::NORMAL, 0, 4);
    return paper + mottle + grain;
}

cv::Mat Render(const Drawing& drawing, int scale) {
    const int width = kCanvasWidth * scale, height = kCanvasHeight * scale;
    cv::Mat picture =
        Paper(width, height, scale, static_cast<unsigned>(drawing.name.size() * 7919));
    // Strokes are drawn solid at kSupersample times the size and averaged
    // down: OpenCV's own anti-aliased thick lines come only in whole-pixel
    // radii, so a 2-pixel stroke would be 3.4 pixels wide.
    constexpr int kSupersample = 4;
    const int fine = scale * kSupersample;
    for (const PenStroke& stroke : drawing.strokes) {
        // Canvas pixel centres sit at fine * (x + 0.5) - 0.5 in the larger grid.
        std::vector<cv::Point> points;
        for (const PenPoint& p : stroke.points) {
            points.emplace_back(cvRound(fine * (p.x + 0.5) - 0.5),
                                cvRound(fine * (p.y + 0.5) - 0.5));
        }
        cv::Mat solid = cv::Mat::zeros(height * kSupersample, width * kSupersample, CV_8UC1);
        // OpenCV's thickness t covers t + 1 pixels.
        cv::polylines(solid, points, false, 255, std::max(1, cvRound(stroke.width * fine) - 1),
                      cv::LINE_8);
        cv::Mat coverage, alpha;
        cv::resize(solid, coverage, cv::Size(width, height), 0, 0, cv::INTER_AREA);
        coverage.convertTo(alpha, CV_32F, 1.0 / 255);
        picture = picture.mul(1 - alpha) + alpha * stroke.level;
    }
    cv::Mat grey;
    picture.convertTo(grey, CV_8U);
    return grey;
}

GreyPicture ToGreyPicture(const cv::Mat& grey) {
    GreyPicture picture{grey.cols, grey.rows, {}};
    picture.levels.assign(grey.datastart, grey.dataend);
    return picture;
}

bool Write(const std::string& path, const Result<std::string>& bytes) {
    Status written = bytes ? WriteFileBytes(path, *bytes) : Status(bytes.error());
    if (!written) {
        std::cerr << "make_line_art_set: cannot write " << path << ": " << written.error().Message()
                  << "\n";
    }
    return written.has_value();
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = CheckToolArguments(argc, argv, "make_line_art_set OUTDIR", 1); status >= 0) {
        return status;
    }
    const std::string dir = argv[1];
    for (const Drawing& drawing : BenchmarkDrawings()) {
        if (!Write(dir + "/" + drawing.name + "-truth.png", EncodeInkPng(DrawingTruth(drawing)))) {
            return 1;
        }
        for (const int scale : {1, 2}) {
            const cv::Mat picture = Render(drawing, scale);
            const std::string stem = dir + "/" + drawing.name + "-" + std::to_string(scale) + "x";
            if (!Write(stem + ".png", EncodeGreyPng(ToGreyPicture(picture))) ||
                !Write(stem + ".jpg", EncodeJpeg(picture, kJpegQuality))) {
                return 1;
            }
        }
    }
    return 0;
}
