#include "trace/thinning.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include "ascii_mask.h"

namespace fudeline {
namespace {

using testing::MaskFromText;
using testing::TextFromMask;

int Components(const cv::Mat& ink) {
    cv::Mat labels;
    return cv::connectedComponents(ink, labels, 8) - 1;
}

// Holes: paper regions (4-connected, as paper next to 8-connected ink is) not
// touching the border; the mask is padded so the outside is one region.
int Holes(const cv::Mat& ink) {
    cv::Mat padded, labels;
    cv::copyMakeBorder(ink, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    return cv::connectedComponents(padded == 0, labels, 4) - 2;
}

bool HasSolidTwoByTwo(const cv::Mat& ink) {
    for (int y = 0; y + 1 < ink.rows; ++y) {
        for (int x = 0; x + 1 < ink.cols; ++x) {
            if (ink.at<std::uint8_t>(y, x) && ink.at<std::uint8_t>(y + 1, x) &&
                ink.at<std::uint8_t>(y, x + 1) && ink.at<std::uint8_t>(y + 1, x + 1)) {
                return true;
            }
        }
    }
    return false;
}

TEST(ThinToCentreLinesTest, HandMadeShapesBecomeTheirCentreLines) {
    const struct {
        const char* name;
        std::vector<std::string> in, out;
    } cases[] = {
        {"a one-pixel line stays",
         {"..........", ".########.", ".........."},
         {"..........", ".########.", ".........."}},
        {"a 3-pixel bar keeps its middle row",
         {"..........", ".########.", ".########.", ".########.", ".........."},
         {"..........", "..........", "..######..", "..........", ".........."}},
        {"a 2 x 2 block keeps one pixel",
         {"....", ".##.", ".##.", "...."},
         {"....", "..#.", "....", "...."}},
        {"an empty picture stays empty", {"....", "....", "...."}, {"....", "....", "...."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat ink = MaskFromText(c.in);
        ThinToCentreLines(ink);
        EXPECT_EQ(TextFromMask(ink), c.out);
    }
}

TEST(ThinToCentreLinesTest, ThickStrokesKeepTheirShape) {
    // Strokes drawn thick; thinning must leave one pixel wide lines that keep
    // each stroke in one piece, keep loops closed, and lie inside the stroke.
    const struct {
        const char* name;
        int thickness;
        int components, holes;
        void (*draw)(cv::Mat&, int);
    } cases[] = {
        {"diagonal", 2, 1, 0,
         [](cv::Mat& m, int t) {
             cv::line(m, {5, 5}, {50, 38}, 255, t);
         }},
        {"steep diagonal, 4 px", 4, 1, 0,
         [](cv::Mat& m, int t) {
             cv::line(m, {10, 3}, {25, 55}, 255, t);
         }},
        {"ring", 5, 1, 1,
         [](cv::Mat& m, int t) {
             cv::circle(m, {30, 30}, 18, 255, t);
         }},
        {"cross", 3, 1, 0,
         [](cv::Mat& m, int t) {
             cv::line(m, {5, 30}, {55, 30}, 255, t);
             cv::line(m, {30, 5}, {30, 55}, 255, t);
         }},
        {"two strokes apart", 3, 2, 0,
         [](cv::Mat& m, int t) {
             cv::line(m, {5, 10}, {55, 10}, 255, t);
             cv::line(m, {5, 40}, {55, 50}, 255, t);
         }},
        {"touching the edge", 4, 1, 0,
         [](cv::Mat& m, int t) {
             cv::line(m, {0, 0}, {59, 59}, 255, t);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat stroke = cv::Mat::zeros(60, 60, CV_8UC1);
        c.draw(stroke, c.thickness);
        cv::Mat ink = stroke.clone();
        ThinToCentreLines(ink);
        EXPECT_EQ(Components(ink), c.components);
        EXPECT_EQ(Holes(ink), c.holes);
        EXPECT_FALSE(HasSolidTwoByTwo(ink));
        EXPECT_EQ(cv::countNonZero(ink & ~stroke), 0) << "ink outside the stroke";
        EXPECT_LE(cv::countNonZero(ink), cv::countNonZero(stroke) / c.thickness + 10) << "not thin";
    }
}

TEST(ThinToCentreLinesTest, CentreOfAnOddStrokeIsExact) {
    // A 5-pixel horizontal stroke: its centre row, and ends pulled in by at
    // most the half width.
    cv::Mat ink = cv::Mat::zeros(20, 60, CV_8UC1);
    ink(cv::Rect(10, 8, 40, 5)).setTo(255);
    ThinToCentreLines(ink);
    std::vector<cv::Point> points;
    cv::findNonZero(ink, points);
    ASSERT_FALSE(points.empty());
    for (const cv::Point& p : points) EXPECT_EQ(p.y, 10);
    EXPECT_GE(static_cast<int>(points.size()), 40 - 2 * 3);
}

}  // namespace
}  // namespace fudeline
