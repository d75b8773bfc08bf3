#include "trace/drawing_lines.h"

#include <gtest/gtest.h>

#include <functional>
#include <opencv2/imgproc.hpp>

namespace fudeline {
namespace {

// Pictures here are at twice the canvas resolution, as tracing samples them.
constexpr int kFine = 2;
constexpr int kWidth = 800, kHeight = 600;

cv::Mat Paper(cv::Scalar colour = cv::Scalar::all(255)) {
    return cv::Mat(kHeight, kWidth, CV_8UC3, colour);
}

DrawingLines Extract(const cv::Mat& picture) {
    return ExtractDrawingLines(picture, cv::Rect(0, 0, picture.cols, picture.rows), kFine);
}

// The rows of column `x` between `from` and `to` where a line crosses it
// (runs of line pixels count once).
std::vector<int> Crossings(const cv::Mat& lines, int x, int from, int to) {
    std::vector<int> at;
    bool inside = false;
    for (int y = from; y <= to; ++y) {
        const bool ink = lines.at<std::uint8_t>(y, x) != 0;
        if (ink && !inside) at.push_back(y);
        inside = ink;
    }
    return at;
}

TEST(DrawingLinesTest, ThinStrokeOfAnyColourIsOneLineAlongItsMiddle) {
    const struct {
        const char* name;
        cv::Scalar paper, ink;
        int width;  // picture pixels (canvas pixels x 2)
    } cases[] = {
        {"black, 1 canvas px", cv::Scalar::all(255), cv::Scalar::all(0), 2},
        {"black, 4 canvas px", cv::Scalar::all(255), cv::Scalar::all(0), 8},
        {"red", cv::Scalar::all(255), {220, 40, 40}, 6},
        {"yellow, dark only in blue", cv::Scalar::all(255), {250, 215, 40}, 6},
        {"blue on light blue", {200, 220, 250}, {40, 80, 200}, 4},
        {"grey pencil on cream", {250, 243, 225}, cv::Scalar::all(170), 4},
        {"light grey hairline", cv::Scalar::all(255), cv::Scalar::all(222), 2},
        {"bold cartoon outline, 8 canvas px", cv::Scalar::all(255), cv::Scalar::all(0), 16},
        {"bolder still, 12 canvas px", cv::Scalar::all(255), cv::Scalar::all(20), 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat picture = Paper(c.paper);
        cv::line(picture, {100, 300}, {700, 300}, c.ink, c.width, cv::LINE_AA);
        const DrawingLines found = Extract(picture);
        for (const int x : {200, 400, 600}) {
            const std::vector<int> at = Crossings(found.lines, x, 0, kHeight - 1);
            ASSERT_EQ(at.size(), 1u) << "x " << x;
            EXPECT_NEAR(at[0], 300, 2);
        }
        EXPECT_GT(found.strokePixels, found.outlinePixels);
    }
}

TEST(DrawingLinesTest, RegionsBecomeTheirOutlinesOnce) {
    const struct {
        const char* name;
        std::function<void(cv::Mat&)> draw;
        int crossings;  // along column 400, rows 50 .. 550
    } cases[] = {
        {"filled black square",
         [](cv::Mat& p) { cv::rectangle(p, {200, 150}, {600, 450}, cv::Scalar::all(0), -1); },
         2},
        {"two hues of one grey side by side",
         [](cv::Mat& p) {
             // Both grey 117 to the eye's luma weights; only the hue differs.
             cv::rectangle(p, {200, 150}, {600, 300}, cv::Scalar(200, 80, 60), -1);
             cv::rectangle(p, {200, 300}, {600, 450}, cv::Scalar(60, 150, 130), -1);
         },
         3},
        {"cartoon region: colour with a dark outline",
         [](cv::Mat& p) {
             cv::rectangle(p, {200, 150}, {600, 450}, cv::Scalar(250, 215, 40), -1);
             cv::rectangle(p, {200, 150}, {600, 450}, cv::Scalar::all(20), 6, cv::LINE_AA);
         },
         2},
        {"outlined regions touching along one outline",
         [](cv::Mat& p) {
             cv::rectangle(p, {200, 150}, {600, 300}, cv::Scalar(220, 40, 40), -1);
             cv::rectangle(p, {200, 300}, {600, 450}, cv::Scalar(40, 80, 200), -1);
             cv::rectangle(p, {200, 150}, {600, 300}, cv::Scalar::all(20), 6);
             cv::rectangle(p, {200, 300}, {600, 450}, cv::Scalar::all(20), 6);
         },
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat picture = Paper();
        c.draw(picture);
        const DrawingLines found = Extract(picture);
        EXPECT_EQ(Crossings(found.lines, 400, 50, 550).size(), static_cast<std::size_t>(c.crossings));
        // Nothing inside a region.
        EXPECT_EQ(cv::countNonZero(found.lines(cv::Rect(300, 200, 200, 60))), 0);
    }
}

// A stroke or an area by its shape, not its width: a thick outlined ring is
// one line, a filled blob of the same width and a patch of fill an outline
// runs into are outlines.
TEST(DrawingLinesTest, ThickShapesAreStrokesOrAreasByTheirShape) {
    cv::Mat picture = Paper();
    cv::circle(picture, {200, 300}, 120, cv::Scalar::all(0), 18, cv::LINE_AA);  // a ring
    cv::circle(picture, {520, 300}, 14, cv::Scalar::all(0), -1, cv::LINE_AA);   // a blob
    cv::line(picture, {600, 100}, {780, 100}, cv::Scalar::all(0), 10, cv::LINE_AA);
    cv::rectangle(picture, {690, 80}, {740, 140}, cv::Scalar::all(0), -1);  // its patch
    const DrawingLines found = Extract(picture);
    EXPECT_EQ(Crossings(found.lines, 200, 100, 250).size(), 1u);  // the ring's top, once
    EXPECT_NEAR(Crossings(found.lines, 200, 100, 250)[0], 180, 2);
    EXPECT_EQ(Crossings(found.lines, 520, 250, 350).size(), 2u);  // the blob's outline
    EXPECT_EQ(Crossings(found.lines, 640, 50, 150).size(), 1u);   // the stroke
    EXPECT_EQ(Crossings(found.lines, 715, 50, 170).size(), 2u);   // the patch's outline
}

// A picture ends at its border: a photo's edge, or a hairline frame it was
// saved with, is no line.
TEST(DrawingLinesTest, NoLineAlongThePicturesBorder) {
    cv::Mat picture = Paper(cv::Scalar(90, 140, 60));
    cv::rectangle(picture, {0, 0}, {kWidth - 1, kHeight - 1}, cv::Scalar::all(0), 2);
    cv::line(picture, {100, 300}, {700, 300}, cv::Scalar::all(0), 4);
    const DrawingLines found = Extract(picture);
    EXPECT_EQ(Crossings(found.lines, 400, 0, kHeight - 1).size(), 1u);
    EXPECT_EQ(cv::countNonZero(found.lines.col(2)), 0);
    EXPECT_EQ(cv::countNonZero(found.lines.row(kHeight - 3)), 0);
}

TEST(DrawingLinesTest, SoftThingsGiveNoLinesAndDistinctMarksStay) {
    const struct {
        const char* name;
        std::function<void(cv::Mat&)> draw;
        bool lines;
    } cases[] = {
        {"gradient across the picture",
         [](cv::Mat& p) {
             for (int x = 0; x < kWidth; ++x) {
                 p.col(x).setTo(cv::Scalar(255 - x / 5, 200, 100 + x / 8));
             }
         },
         false},
        {"paper grain and mottle",
         [](cv::Mat& p) {
             cv::Mat grain(p.size(), CV_8UC3);
             cv::RNG(7).fill(grain, cv::RNG::NORMAL, 0, 8);
             p -= grain;
         },
         false},
        {"a dark dot of one canvas pixel",
         [](cv::Mat& p) { cv::rectangle(p, {400, 300}, {401, 301}, cv::Scalar::all(0), -1); },
         true},
        {"a short dark dash",
         [](cv::Mat& p) { cv::line(p, {400, 300}, {410, 300}, cv::Scalar::all(0), 2); },
         true},
        {"a grid of tiny grey dots still shows",
         [](cv::Mat& p) {
             for (int y = 40; y < kHeight; y += 40) {
                 for (int x = 40; x < kWidth; x += 40) {
                     p.at<cv::Vec3b>(y, x) = cv::Vec3b::all(120);
                 }
             }
         },
         true},
        {"a pale square below every threshold still shows",
         [](cv::Mat& p) { cv::rectangle(p, {200, 150}, {600, 450}, cv::Scalar::all(225), -1); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat picture = Paper();
        c.draw(picture);
        EXPECT_EQ(cv::countNonZero(Extract(picture).lines) > 0, c.lines);
    }
}

// Alone, a faint speck is the picture's only content and is traced; beside
// a drawing it is grain.
TEST(DrawingLinesTest, FaintSpecksBesideADrawingAreGrain) {
    cv::Mat picture = Paper();
    cv::line(picture, {100, 100}, {700, 100}, cv::Scalar::all(30), 4, cv::LINE_AA);
    for (const cv::Point speck : {cv::Point(400, 400), cv::Point(200, 300), cv::Point(600, 500)}) {
        cv::circle(picture, speck, 1, cv::Scalar::all(190), -1);
    }
    const DrawingLines found = Extract(picture);
    EXPECT_GT(cv::countNonZero(found.lines(cv::Rect(0, 90, kWidth, 20))), 500);
    EXPECT_EQ(cv::countNonZero(found.lines(cv::Rect(0, 200, kWidth, 400))), 0);
}

TEST(DrawingLinesTest, ADropShadowLeavesOnlyTheShapesOutline) {
    cv::Mat picture = Paper();
    cv::rectangle(picture, {240, 190}, {640, 490}, cv::Scalar::all(150), -1);
    cv::GaussianBlur(picture, picture, cv::Size(), 12);
    cv::rectangle(picture, {200, 150}, {600, 450}, cv::Scalar(220, 40, 40), -1);
    cv::Mat lines = Extract(picture).lines.clone();
    EXPECT_GT(cv::countNonZero(lines), 1000);
    cv::rectangle(lines, {194, 144}, {606, 456}, 0, -1);  // the shape and its outline
    EXPECT_EQ(cv::countNonZero(lines), 0);
}

TEST(DrawingLinesTest, LooksOnlyInsideTheArea) {
    cv::Mat picture = Paper();
    cv::rectangle(picture, {0, 0}, {399, 599}, cv::Scalar(40, 80, 200), -1);
    // The picture covers the left half; its edge against blank canvas is no line.
    const DrawingLines found = ExtractDrawingLines(picture, cv::Rect(0, 0, 400, 600), kFine);
    EXPECT_EQ(cv::countNonZero(found.lines), 0);
    EXPECT_EQ(cv::countNonZero(ExtractDrawingLines(picture, cv::Rect(), kFine).lines), 0);
}

}  // namespace
}  // namespace fudeline
