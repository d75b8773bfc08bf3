#include "lines/trace_picture.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>

#include "pixels/geometry.h"
#include "pixels/trace.h"
#include "lines/line_extraction.h"
#include "lines/placement.h"

namespace fudeline {
namespace {

cv::Mat Extract(const cv::Mat& grey, TraceMode mode) {
    return mode == TraceMode::Photo ? ExtractPhotoEdges(grey) : ExtractLineArt(grey);
}

// Ink lines at canvas resolution into the ink layer, each pixel where a pen
// stroke through it would land.
Image SqueezeToInk(const cv::Mat& lines) {
    Image ink(kCanvasWidth, kInkHeight);
    for (int y = 0; y < lines.rows; ++y) {
        const std::uint8_t* row = lines.ptr<std::uint8_t>(y);
        const int inkY = ToInkPoint({0, y}).y;
        for (int x = 0; x < lines.cols; ++x) {
            if (row[x]) ink.SetPixel(x, inkY, kBlack);
        }
    }
    return ink;
}

Image ToInkImage(const cv::Mat& lines) {
    Image ink(kCanvasWidth, kInkHeight);
    for (int y = 0; y < lines.rows; ++y) {
        const std::uint8_t* row = lines.ptr<std::uint8_t>(y);
        for (int x = 0; x < lines.cols; ++x) {
            if (row[x]) ink.SetPixel(x, y, kBlack);
        }
    }
    return ink;
}

TracedInk TraceCanvas(const cv::Mat& canvas, cv::Rect area, TraceMode mode, bool thinAfterSqueeze) {
    if (mode == TraceMode::Auto) mode = ChooseTraceMode(canvas, area);
    if (!thinAfterSqueeze) return {SqueezeToInk(Extract(canvas, mode)), mode};
    cv::Mat squeezed;
    cv::resize(canvas, squeezed, cv::Size(kCanvasWidth, kInkHeight), 0, 0, cv::INTER_AREA);
    return {ToInkImage(Extract(squeezed, mode)), mode};
}

}  // namespace

TracedInk TracePicture(const GreyPicture& picture, const TraceOptions& options) {
    const PlacedPicture placed = PlaceOnCanvas(picture, options.placement);
    return TraceCanvas(placed.canvas, placed.area, options.mode, options.thinAfterSqueeze);
}

TracedInk TraceCanvasPixels(const Image& canvasPixels, TraceMode mode) {
    cv::Mat canvas(kCanvasHeight, kCanvasWidth, CV_8UC1, cv::Scalar(255));
    const int height = std::min(canvasPixels.height(), kCanvasHeight);
    const int width = std::min(canvasPixels.width(), kCanvasWidth);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = canvasPixels.Row(y);
        std::uint8_t* out = canvas.ptr<std::uint8_t>(y);
        for (int x = 0; x < width; ++x) {
            out[x] =
                GreyOf(static_cast<std::uint8_t>(row[x] >> 16),
                       static_cast<std::uint8_t>(row[x] >> 8), static_cast<std::uint8_t>(row[x]));
        }
    }
    return TraceCanvas(canvas, cv::Rect(0, 0, width, height), mode, false);
}

}  // namespace fudeline
