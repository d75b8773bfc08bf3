#include "trace/trace_picture.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <opencv2/imgproc.hpp>

#include "trace/drawing_lines.h"
#include "trace/line_extraction.h"
#include "trace/placement.h"
#include "trace/skeleton_paths.h"
#include "pixels/geometry.h"
#include "pixels/raster.h"
#include "pixels/pen_stroke.h"

namespace fudeline {
namespace {

// Line art is extracted at twice the canvas resolution: the centre of a stroke
// of even width then falls on a pixel instead of between two, and thinning's
// choice of side costs a quarter pixel instead of a half.
constexpr int kLineArtFineness = 2;
// Pen points are taken every kPointSpacing canvas pixels along a path, each
// the mean of the path pixels within kSmoothing canvas pixels of it: about as
// often as mouse moves arrive, and enough averaging to undo the staircase
// noise of a skeleton without rounding off corners.
constexpr int kPointSpacing = 2;
constexpr int kSmoothing = 1;

// The extracted lines as pen strokes: each skeleton path becomes points in
// canvas pixels, mapped to the ink layer exactly as mouse points are and
// joined with the one-pixel pen. Extraction then meets the matcher with the
// same kind of lines a drawing hand gives it.
Image DrawAsStrokes(const cv::Mat& lines, int fineness) {
    Image ink(kCanvasWidth, kInkHeight);
    const ClipRect clip{0, 0, kCanvasWidth - 1, kInkHeight - 1};
    const int spacing = kPointSpacing * fineness, reach = kSmoothing * fineness;
    for (const std::vector<cv::Point>& path : TraceSkeletonPaths(lines)) {
        const int n = static_cast<int>(path.size());
        Point previous{};
        for (int i = 0;; i = std::min(i + spacing, n - 1)) {
            const int h = std::min({reach, i, n - 1 - i});
            cv::Point2d mean(0, 0);
            for (int j = i - h; j <= i + h; ++j)
                mean += cv::Point2d(path[static_cast<std::size_t>(j)]);
            mean *= 1.0 / (2 * h + 1);
            // Fine pixel centres lie at (p + 0.5) / fineness - 0.5 canvas pixels.
            const Point here = ToInkPoint(
                {static_cast<std::int32_t>(std::lround((mean.x + 0.5) / fineness - 0.5)),
                 static_cast<std::int32_t>(std::lround((mean.y + 0.5) / fineness - 0.5))});
            if (i > 0) DrawThinLine(ink, previous, here, kBlack, clip);
            ink.SetPixel(here.x, here.y, kBlack);
            previous = here;
            if (i == n - 1) break;
        }
    }
    return ink;
}

cv::Mat Grey(const cv::Mat& canvas) {
    if (canvas.channels() == 1) return canvas;
    // Rec. 601 luma, as the grey decoders give it.
    cv::Mat grey(canvas.size(), CV_8UC1);
    for (int y = 0; y < canvas.rows; ++y) {
        const cv::Vec3b* in = canvas.ptr<cv::Vec3b>(y);
        std::uint8_t* out = grey.ptr<std::uint8_t>(y);
        for (int x = 0; x < canvas.cols; ++x) out[x] = GreyOf(in[x][0], in[x][1], in[x][2]);
    }
    return grey;
}

cv::Rect Finer(cv::Rect area, int fineness) {
    return {area.x * fineness, area.y * fineness, area.width * fineness, area.height * fineness};
}

// The canvas at `fineness` times its size, the picture's part scaled on its
// own: interpolating across its border would mix the blank canvas into its
// last pixels, a step the length of its side that reads as a frame.
cv::Mat FinerCanvas(const cv::Mat& canvas, cv::Rect area, int fineness) {
    cv::Mat fine(canvas.rows * fineness, canvas.cols * fineness, canvas.type(),
                 cv::Scalar::all(255));
    if (!area.empty()) {
        cv::Mat part = fine(Finer(area, fineness));
        cv::resize(canvas(area), part, part.size(), 0, 0, cv::INTER_CUBIC);
    }
    return fine;
}

TracedInk TraceCanvas(const cv::Mat& canvas, cv::Rect area, TraceMode mode, double scale) {
    if (mode == TraceMode::Photo) {
        return {DrawAsStrokes(ExtractPhotoEdges(Grey(canvas), area), 1), mode};
    }
    area &= cv::Rect(0, 0, canvas.cols, canvas.rows);
    if (mode == TraceMode::LineArt) {
        const cv::Mat fine = FinerCanvas(Grey(canvas), area, kLineArtFineness);
        return {DrawAsStrokes(ExtractLineArt(fine, Finer(area, kLineArtFineness)),
                              kLineArtFineness),
                mode};
    }
    // Auto: each part of the picture as what it is, strokes or regions; the
    // mode reported is the one most of the lines came from.
    const DrawingLines found =
        ExtractDrawingLines(FinerCanvas(canvas, area, kLineArtFineness),
                            Finer(area, kLineArtFineness), kLineArtFineness, scale);
    return {DrawAsStrokes(found.lines, kLineArtFineness),
            found.outlinePixels > found.strokePixels ? TraceMode::Photo : TraceMode::LineArt};
}

}  // namespace

TracedInk TracePicture(const GreyPicture& picture, const TraceOptions& options) {
    const PlacedPicture placed = PlaceOnCanvas(picture, options.placement);
    return TraceCanvas(placed.canvas, placed.area, options.mode, placed.scale);
}

TracedInk TracePicture(const ColourPicture& picture, const TraceOptions& options) {
    const PlacedPicture placed = PlaceOnCanvas(picture, options.placement);
    return TraceCanvas(placed.canvas, placed.area, options.mode, placed.scale);
}

TracedInk TraceCanvasPixels(const Image& canvasPixels, TraceMode mode) {
    cv::Mat canvas(kCanvasHeight, kCanvasWidth, CV_8UC3, cv::Scalar::all(255));
    const int height = std::min(canvasPixels.height(), kCanvasHeight);
    const int width = std::min(canvasPixels.width(), kCanvasWidth);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = canvasPixels.Row(y);
        cv::Vec3b* out = canvas.ptr<cv::Vec3b>(y);
        for (int x = 0; x < width; ++x) {
            out[x] = {static_cast<std::uint8_t>(row[x] >> 16), static_cast<std::uint8_t>(row[x] >> 8),
                      static_cast<std::uint8_t>(row[x])};
        }
    }
    return TraceCanvas(canvas, cv::Rect(0, 0, width, height), mode, 1.0);
}

}  // namespace fudeline
