#include "trace/drawing_lines.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "trace/colour_slopes.h"
#include "trace/small_mark_removal.h"
#include "trace/thinning.h"

namespace fudeline {
namespace {

// Dark shapes are looked for up to this many canvas pixels across: the
// widest outline a cartoon gives after fitting, and an icon's stroke blown
// up. Whether a shape is a stroke or a filled area is then a matter of its
// shape, not of its width (see DecideShapes); darker things wider than this
// are areas whatever their shape, and are found by their outlines.
constexpr int kWidestShape = 16;
// ... or, for a small picture blown up, this many of its own pixels: an
// icon's stroke of two pixels between two of its pixel columns.
constexpr double kWidestInPicturePixels = 2.5;
// A dark shape is a stroke when its area is at least this many times the
// square of its width (its length at least this many widths); a shape
// less drawn out than that (a blob, a filled square) is an area.
constexpr double kStrokeElongation = 4.0;
// Parts of a stroke wider than this many times its width (a filled patch
// the outline runs into: hair, a shoe) are areas of their own.
constexpr double kBulge = 2.2;
// Shapes up to this many canvas pixels wide are strokes whatever their
// shape: a dot is drawn as a dot, not as a ring.
constexpr double kThinnestArea = 3.0;
// A stroke is darker than the paper on both of its sides in at least one
// colour channel (a yellow line on white is dark in blue) by this much on
// clean paper (about the lightest grey a hairline is drawn in; lower, the
// anti-aliased gaps in dense text art fill in), a pale pencil line being a
// line as much as a black one; on busy paper (grain, mottle, JPEG noise) by this
// many times the mean contrast around it, so that only what stands out from
// its own surroundings counts.
constexpr int kStrokeContrast = 28;
// The mean is of contrasts cut at the level of grain, so that a bold stroke
// nearby does not count as busy paper.
constexpr int kContrastToSurroundings = 2;
constexpr int kGrainContrast = 40;
// ... and darker in brightness by at least this much.
constexpr int kBrightnessValley = 12;
// ... and has sharp sides: a colour step at least this steep (3 x 3 Sobel of
// the smoothed picture, strongest channel) lies within the stroke's width.
// A soft shadow or a gradient is a band of similar tone with no sharp side.
constexpr int kSharpSide = 40;
// Marks smaller than this many square canvas pixels are paper grain or JPEG
// noise unless they are this dark against their surroundings: then they are
// dots, short dashes, the sound marks of text.
constexpr int kGrainArea = 3;
constexpr int kDistinctMarkContrast = 110;
// Region outlines: Canny's thresholds on the colour gradient (3 x 3 Sobel,
// strongest channel), for a clearly different colour on both sides.
constexpr double kOutlineLow = 90;
constexpr double kOutlineHigh = 180;
// Outline fragments shorter than this many canvas pixels are noise.
constexpr int kOutlineFragment = 6;
// Lines within this many canvas pixels of the picture's own border are
// dropped: a picture ends there, and whatever runs along its edge (a
// photo's last row against the canvas, a hairline frame a file was saved
// with) would come out as a frame around the whole drawing.
constexpr int kBorderMargin = 2;
// Below this range of tone the picture is blank: nothing to trace.
constexpr int kVisibleRange = 24;

// Canvas-sized buffers reused from stage to stage of one reading: each new
// one costs a page fault per 4 KiB when first written, which on some
// machines outweighs all the filtering done in it.
struct Scratch {
    cv::Mat grey;    // CV_8UC1: one channel, or brightness
    cv::Mat spare;   // CV_8UC1: its closing, later the strokes' sides
    cv::Mat labels;  // CV_32SC1: connected components
};

// Raises `contrast` to how much darker than its closing `grey` (CV_8UC1)
// is: the closing fills in every dark thing narrower than the kernel. With
// `first`, `contrast` is set instead.
void RaiseToDarkness(const cv::Mat& grey, const cv::Mat& kernel, cv::Mat& closed,
                     cv::Mat& contrast, bool first) {
    cv::morphologyEx(grey, closed, cv::MORPH_CLOSE, kernel, cv::Point(-1, -1), 1,
                     cv::BORDER_REPLICATE);
    cv::subtract(closed, grey, closed);  // saturated: a closing is never below
    if (first) {
        cv::swap(contrast, closed);
    } else {
        cv::max(contrast, closed, contrast);
    }
}

// Dark shapes, before thinning: where the picture is darker than the
// closing (which fills in every dark thing narrower than the kernel) by the
// stroke contrast, near a sharp side, without grain. `contrast` is kept for
// telling distinct marks from grain.
cv::Mat DarkShapes(const cv::Mat& smooth, const cv::Mat& steep, int f, double pictureScale,
                   cv::Mat& contrast, Scratch& scratch) {
    const int widest = static_cast<int>(
        std::ceil(std::max(double{kWidestShape}, kWidestInPicturePixels * pictureScale)));
    const cv::Mat kernel =
        cv::getStructuringElement(cv::MORPH_RECT, cv::Size(widest * f + 1, widest * f + 1));
    // Channel by channel (a yellow line on white is dark only in blue), and
    // in brightness: a dark outline between a red and a blue region is darker
    // than both, though in each channel one of them is as dark as it is.
    // One channel at a time, through the same two grey buffers.
    cv::Mat valley;
    if (smooth.channels() == 1) {
        RaiseToDarkness(smooth, kernel, scratch.spare, contrast, true);
    } else {
        cv::cvtColor(smooth, scratch.grey, cv::COLOR_RGB2GRAY);
        RaiseToDarkness(scratch.grey, kernel, scratch.spare, contrast, true);
        // A stroke is darker than both its sides in brightness too, if only a
        // little: a band that is dark in one channel only against a brighter
        // shape beside it (a grey shadow beside a red shape) is a step from
        // paper to shadow to shape, not a stroke.
        cv::compare(contrast, kBrightnessValley, valley, cv::CMP_GE);
        for (int c = 0; c < smooth.channels(); ++c) {
            cv::extractChannel(smooth, scratch.grey, c);
            RaiseToDarkness(scratch.grey, kernel, scratch.spare, contrast, false);
        }
    }
    cv::Mat strokes;
    cv::compare(steep, kSharpSide, strokes, cv::CMP_GE);
    cv::dilate(strokes, strokes, kernel);  // near a sharp side
    if (!valley.empty()) strokes &= valley;
    // A stroke reaches as far as it is a third as dark as it gets nearby: the
    // faint fringe that anti-aliasing and blur leave beside it would pull its
    // middle to one side.
    cv::Mat nearPeak;
    cv::dilate(contrast, nearPeak, cv::Mat(), cv::Point(-1, -1), f);
    cv::min(contrast, kGrainContrast, scratch.spare);
    cv::blur(scratch.spare, scratch.spare, kernel.size(), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    for (int y = 0; y < strokes.rows; ++y) {
        const std::uint8_t* c = contrast.ptr<std::uint8_t>(y);
        const std::uint8_t* around = scratch.spare.ptr<std::uint8_t>(y);
        const std::uint8_t* top = nearPeak.ptr<std::uint8_t>(y);
        std::uint8_t* s = strokes.ptr<std::uint8_t>(y);
        for (int x = 0; x < strokes.cols; ++x) {
            const int threshold = std::max({kStrokeContrast, kContrastToSurroundings * around[x],
                                            (top[x] + 2) / 3});
            s[x] = static_cast<std::uint8_t>(s[x] & -static_cast<int>(c[x] >= threshold));
        }
    }

    // Small marks stay only when dark and distinct.
    cv::Mat& labels = scratch.labels;
    cv::Mat stats, centroids;
    const int count = cv::connectedComponentsWithStats(strokes, labels, stats, centroids, 8, CV_32S);
    std::vector<std::uint8_t> peak(static_cast<std::size_t>(count), 0);
    for (int y = 0; y < labels.rows; ++y) {
        const int* label = labels.ptr<int>(y);
        const std::uint8_t* c = contrast.ptr<std::uint8_t>(y);
        for (int x = 0; x < labels.cols; ++x) {
            std::uint8_t& p = peak[static_cast<std::size_t>(label[x])];
            if (label[x] && c[x] > p) p = c[x];
        }
    }
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(count), 1);
    for (int i = 1; i < count; ++i) {
        keep[static_cast<std::size_t>(i)] =
            stats.at<int>(i, cv::CC_STAT_AREA) >= kGrainArea * f * f ||
            peak[static_cast<std::size_t>(i)] >= kDistinctMarkContrast;
    }
    for (int y = 0; y < labels.rows; ++y) {
        const int* label = labels.ptr<int>(y);
        std::uint8_t* s = strokes.ptr<std::uint8_t>(y);
        for (int x = 0; x < labels.cols; ++x) {
            if (s[x] && !keep[static_cast<std::size_t>(label[x])]) s[x] = 0;
        }
    }
    return strokes;
}

// Each dark shape read by its shape: a stroke (long, of nearly even width)
// is drawn once along its middle, however wide; an area (wide and compact,
// or a patch much wider than the stroke it hangs on) by its outline, which
// the region outlines give. Returns the stroke parts, whole; `centreLines`
// becomes their one-pixel middles.
cv::Mat DecideShapes(const cv::Mat& shapes, int f, cv::Mat& centreLines, Scratch& scratch) {
    centreLines = shapes.clone();
    ThinToCentreLines(centreLines);
    cv::Mat distance;
    cv::distanceTransform(shapes, distance, cv::DIST_L2, 3);
    cv::Mat& labels = scratch.labels;
    cv::Mat stats, centroids;
    const int count = cv::connectedComponentsWithStats(shapes, labels, stats, centroids, 8, CV_32S);
    // Each shape's widths along its middle; its width is their upper quartile,
    // so neither the thin ends nor a patch it runs into sets it.
    std::vector<std::vector<float>> widths(static_cast<std::size_t>(count));
    for (int y = 0; y < shapes.rows; ++y) {
        const std::uint8_t* c = centreLines.ptr<std::uint8_t>(y);
        const int* label = labels.ptr<int>(y);
        const float* d = distance.ptr<float>(y);
        for (int x = 0; x < shapes.cols; ++x) {
            if (c[x]) widths[static_cast<std::size_t>(label[x])].push_back(2 * d[x]);
        }
    }
    std::vector<float> bulge(static_cast<std::size_t>(count), 0);
    std::vector<std::uint8_t> area(static_cast<std::size_t>(count), 0);
    const double thinnest = kThinnestArea * f;
    for (int i = 1; i < count; ++i) {
        std::vector<float>& w = widths[static_cast<std::size_t>(i)];
        if (w.empty()) continue;
        auto quartile = w.begin() + static_cast<std::ptrdiff_t>(w.size() * 3 / 4);
        std::nth_element(w.begin(), quartile, w.end());
        const double width = *quartile;
        area[static_cast<std::size_t>(i)] =
            width > thinnest &&
            stats.at<int>(i, cv::CC_STAT_AREA) < kStrokeElongation * width * width;
        bulge[static_cast<std::size_t>(i)] =
            static_cast<float>(std::max(kBulge * width, thinnest));
    }
    cv::Mat areas = cv::Mat::zeros(shapes.size(), CV_8UC1);
    for (int y = 0; y < shapes.rows; ++y) {
        const std::uint8_t* c = centreLines.ptr<std::uint8_t>(y);
        const int* label = labels.ptr<int>(y);
        const float* d = distance.ptr<float>(y);
        std::uint8_t* a = areas.ptr<std::uint8_t>(y);
        for (int x = 0; x < shapes.cols; ++x) {
            const auto l = static_cast<std::size_t>(label[x]);
            if (area[l]) {
                a[x] = 255;
            } else if (c[x] && 2 * d[x] > bulge[l]) {
                // The patch is the union of the discs its middle is the centre of.
                cv::circle(areas, {x, y}, static_cast<int>(std::lround(d[x])), 255, -1);
            }
        }
    }
    areas &= shapes;
    centreLines.setTo(0, areas);
    cv::Mat strokes = shapes.clone();
    strokes.setTo(0, areas);
    return strokes;
}

cv::Mat RegionOutlines(const ColourSlopes& slopes, const cv::Mat& strokes, int f, double low,
                       double high, Scratch& scratch) {
    cv::Mat edges;
    cv::Canny(slopes.dx, slopes.dy, edges, low, high, true);
    // A stroke's two sides are the stroke, already drawn once along its middle.
    cv::dilate(strokes, scratch.spare,
               cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * f + 3, 2 * f + 3)));
    edges.setTo(0, scratch.spare);
    RemoveSmallMarks(edges, kOutlineFragment * f, scratch.labels);
    return edges;
}

// How many pixels of `lines` are also in `strokes`.
int CountShared(const cv::Mat& lines, const cv::Mat& strokes) {
    int count = 0;
    for (int y = 0; y < lines.rows; ++y) {
        const std::uint8_t* l = lines.ptr<std::uint8_t>(y);
        const std::uint8_t* s = strokes.ptr<std::uint8_t>(y);
        for (int x = 0; x < lines.cols; ++x) count += (l[x] != 0) & (s[x] != 0);
    }
    return count;
}

}  // namespace

DrawingLines ExtractDrawingLines(cv::Mat rgb, cv::Rect area, int f, double pictureScale) {
    CV_Assert(rgb.type() == CV_8UC3 || rgb.type() == CV_8UC1);
    DrawingLines result;
    area &= cv::Rect(0, 0, rgb.cols, rgb.rows);
    if (area.empty()) {
        result.lines = cv::Mat::zeros(rgb.size(), CV_8UC1);
        return result;
    }
    cv::Mat smooth;
    // A light blur, so JPEG blocks and grain do not break sides into teeth;
    // the view taken alone, since filters on a view would otherwise reach
    // past it into the canvas.
    cv::GaussianBlur(rgb(area), smooth, cv::Size(3, 3), 0, 0,
                     cv::BORDER_REPLICATE | cv::BORDER_ISOLATED);
    const cv::Size size = rgb.size();
    rgb.release();

    // The slopes once, for both the gate on strokes and the outlines.
    const ColourSlopes slopes = MeasureSlopes(smooth);
    const cv::Mat& steep = slopes.steepness;
    // Strokes whole (not yet thinned): they are thinned with the outlines, once.
    Scratch scratch;
    cv::Mat contrast;
    cv::Mat shapes = DarkShapes(smooth, steep, f, pictureScale, contrast, scratch);
    cv::Mat centreLines;
    cv::Mat strokes = DecideShapes(shapes, f, centreLines, scratch);
    scratch.grey.release();
    cv::Mat outlines = RegionOutlines(slopes, strokes, f, kOutlineLow, kOutlineHigh, scratch);

    // A picture with visible content never gives nothing: faint outlines
    // then count, at thresholds from the picture's own steepest step.
    if (cv::countNonZero(strokes) == 0 && cv::countNonZero(outlines) == 0) {
        double lowest = 0, highest = 0;
        std::vector<cv::Mat> channels;
        cv::split(smooth, channels);
        int range = 0;
        for (const cv::Mat& c : channels) {
            cv::minMaxLoc(c, &lowest, &highest);
            range = std::max(range, static_cast<int>(highest - lowest));
        }
        if (range >= kVisibleRange) {
            double steepest = 0;
            cv::minMaxLoc(steep, nullptr, &steepest);
            const double high = std::max(20.0, steepest * 0.5);
            outlines = RegionOutlines(slopes, strokes, f, high / 2, high, scratch);
            // Marks too small or pale for an outline (a grid of fine dots):
            // the darkest of them, however faint.
            if (cv::countNonZero(outlines) == 0) {
                double darkest = 0;
                cv::minMaxLoc(contrast, nullptr, &darkest);
                strokes = contrast >= std::max(kVisibleRange / 2.0, darkest / 2);
                centreLines = strokes;
            }
        }
    }

    cv::Mat& lines = outlines;
    cv::bitwise_or(outlines, centreLines, lines);
    ThinToCentreLines(lines);
    const int margin = std::min({kBorderMargin * f, lines.cols / 4, lines.rows / 4});
    lines.rowRange(0, margin).setTo(0);
    lines.rowRange(lines.rows - margin, lines.rows).setTo(0);
    lines.colRange(0, margin).setTo(0);
    lines.colRange(lines.cols - margin, lines.cols).setTo(0);
    result.strokePixels = CountShared(lines, strokes);
    result.outlinePixels = cv::countNonZero(lines) - result.strokePixels;
    if (area == cv::Rect(cv::Point(0, 0), size)) {
        result.lines = lines;
    } else {
        result.lines = cv::Mat::zeros(size, CV_8UC1);
        lines.copyTo(result.lines(area));
    }
    return result;
}

}  // namespace fudeline
