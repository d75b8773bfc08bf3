#include "trace/trace_picture.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

GreyPicture FromMat(const cv::Mat& grey) {
    GreyPicture picture{grey.cols, grey.rows, {}};
    picture.levels.assign(grey.datastart, grey.dataend);
    return picture;
}

// Dark-grey anti-aliased strokes on light paper, drawn at `scale` times the canvas.
GreyPicture Drawing(int scale, const std::vector<std::pair<cv::Point, cv::Point>>& strokes) {
    cv::Mat picture(kCanvasHeight * scale, kCanvasWidth * scale, CV_8UC1, cv::Scalar(225));
    for (const auto& [from, to] : strokes) {
        cv::line(picture, from * scale, to * scale, 50, 2 * scale, cv::LINE_AA);
    }
    return FromMat(picture);
}

std::vector<cv::Point> InkPixels(const Image& ink) {
    std::vector<cv::Point> pixels;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (ink.Pixel(x, y) == kBlack) pixels.emplace_back(x, y);
        }
    }
    return pixels;
}

TEST(TracePictureTest, StrokesLandWhereAPenStrokeWould) {
    // Canvas y 180 is ink y 160, canvas y 90 is ink 80; x is unchanged.
    const struct {
        const char* name;
        int scale;
        Placement placement;
        int inkY, fromX, toX;
    } cases[] = {
        {"canvas size", 1, {}, 160, 100, 700},
        {"twice the canvas", 2, {}, 160, 100, 700},
        {"half size by hand", 1, {50.0, 0, 0}, 80, 50, 350},
        {"offset by hand", 1, {100.0, 40, -90}, 80, 140, 740},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TraceOptions options;
        options.placement = c.placement;
        const TracedInk traced =
            TracePicture(Drawing(c.scale, {{{100, 180}, {700, 180}}}), options);
        EXPECT_EQ(traced.mode, TraceMode::LineArt);
        ASSERT_EQ(traced.ink.width(), kCanvasWidth);
        ASSERT_EQ(traced.ink.height(), kInkHeight);
        const auto pixels = InkPixels(traced.ink);
        ASSERT_FALSE(pixels.empty());
        int minX = kCanvasWidth, maxX = 0;
        for (const cv::Point& p : pixels) {
            EXPECT_EQ(p.y, c.inkY);
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
        }
        EXPECT_NEAR(minX, c.fromX, 2);
        EXPECT_NEAR(maxX, c.toX, 2);
    }
}

// A small icon fitted to the canvas is blown up many times, its strokes
// with it: each is still one line, not the two sides of a wide band.
TEST(TracePictureTest, ABlownUpIconsStrokesAreOneLineEach) {
    cv::Mat icon(40, 60, CV_8UC1, cv::Scalar(255));
    // A frame two pixels wide, as icons draw their outlines.
    cv::rectangle(icon, {8, 8}, {51, 31}, cv::Scalar(0), 1);
    cv::rectangle(icon, {9, 9}, {50, 30}, cv::Scalar(0), 1);
    const TracedInk traced = TracePicture(FromMat(icon), {});  // 13 times as large
    const Image& ink = traced.ink;
    for (const int x : {200, 400}) {  // down a column: the top and the bottom side
        int crossings = 0;
        for (int y = 1; y < ink.height(); ++y) {
            crossings += ink.Pixel(x, y) == kBlack && ink.Pixel(x, y - 1) != kBlack;
        }
        EXPECT_EQ(crossings, 2) << "x " << x;
    }
    for (const int y : {150, 250}) {  // across a row: the left and the right side
        int crossings = 0;
        for (int x = 1; x < ink.width(); ++x) {
            crossings += ink.Pixel(x, y) == kBlack && ink.Pixel(x - 1, y) != kBlack;
        }
        EXPECT_EQ(crossings, 2) << "y " << y;
    }
}

TEST(TracePictureTest, DiagonalsStayThinUnbrokenPenLines) {
    const TracedInk traced = TracePicture(Drawing(1, {{{100, 50}, {400, 480}}}), {});
    // The pen line from (100, 44) to (400, 426) in ink rows: every row in
    // between has one run of one or two pixels, touching the next row's.
    std::vector<int> left(kInkHeight, kCanvasWidth), right(kInkHeight, -1);
    for (const cv::Point& p : InkPixels(traced.ink)) {
        const double lineX = 100 + (p.y - 44) * 300.0 / (426 - 44);
        EXPECT_NEAR(p.x, lineX, 2);
        left[static_cast<std::size_t>(p.y)] = std::min(left[static_cast<std::size_t>(p.y)], p.x);
        right[static_cast<std::size_t>(p.y)] = std::max(right[static_cast<std::size_t>(p.y)], p.x);
    }
    for (std::size_t y = 46; y < 424; ++y) {
        ASSERT_GE(right[y], 0) << "gap at row " << y;
        EXPECT_LE(right[y] - left[y], 1) << "row " << y;
        EXPECT_LE(left[y + 1] - right[y], 1) << "rows " << y << " and " << y + 1 << " apart";
    }
}

TEST(TracePictureTest, DegeneratePicturesGiveEmptyOrSaneInk) {
    const struct {
        const char* name;
        int width, height;
        std::uint8_t level;
        TraceMode mode;
    } cases[] = {
        {"1 x 1 black", 1, 1, 0, TraceMode::Auto},
        {"1 x 1 white", 1, 1, 255, TraceMode::Photo},
        {"30000 x 10", 30000, 10, 0, TraceMode::Auto},
        {"10 x 30000", 10, 30000, 0, TraceMode::LineArt},
        {"all black", 800, 522, 0, TraceMode::Auto},
        {"all black, photo", 800, 522, 0, TraceMode::Photo},
        {"all white", 800, 522, 255, TraceMode::Auto},
        {"all white, line art", 1600, 1044, 255, TraceMode::LineArt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GreyPicture picture{c.width, c.height, {}};
        picture.levels.assign(static_cast<std::size_t>(c.width) * c.height, c.level);
        TraceOptions options;
        options.mode = c.mode;
        const TracedInk traced = TracePicture(picture, options);
        EXPECT_NE(traced.mode, TraceMode::Auto);
        EXPECT_EQ(traced.ink.width(), kCanvasWidth);
        EXPECT_EQ(traced.ink.height(), kInkHeight);
        // A flat picture has no lines, only perhaps its outline against the paper.
        EXPECT_LT(InkPixels(traced.ink).size(), 2u * (kCanvasWidth + kInkHeight));
    }
}

TEST(TraceCanvasPixelsTest, TakesTheCanvasAsShown) {
    Image canvas(kCanvasWidth, kCanvasHeight, 0xF0E8D8);  // tinted paper
    canvas.FillRect(399, 36, 3, 451, 0x402010);           // a brown vertical stroke, y 36-486
    const TracedInk traced = TraceCanvasPixels(canvas, TraceMode::Auto);
    EXPECT_EQ(traced.mode, TraceMode::LineArt);
    const auto pixels = InkPixels(traced.ink);
    ASSERT_FALSE(pixels.empty());
    int minY = kInkHeight, maxY = 0;
    for (const cv::Point& p : pixels) {
        EXPECT_EQ(p.x, 400);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    EXPECT_NEAR(minY, 32, 2);   // 16 * 36 / 18
    EXPECT_NEAR(maxY, 432, 2);  // 16 * 486 / 18
}

}  // namespace
}  // namespace fudeline
