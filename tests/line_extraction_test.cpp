#include "trace/line_extraction.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

namespace fudeline {
namespace {

// Light paper with grain: what every line-art picture starts from.
cv::Mat Paper(int level = 230) {
    cv::Mat paper(200, 300, CV_8UC1, cv::Scalar(level));
    cv::Mat grain(paper.size(), CV_16SC1);
    cv::RNG random(7);
    random.fill(grain, cv::RNG::NORMAL, 0, 5);
    cv::Mat noisy;
    paper.convertTo(noisy, CV_16SC1);
    cv::Mat(noisy + grain).convertTo(paper, CV_8UC1);
    return paper;
}

TEST(ExtractLineArtTest, AStrokeBecomesItsCentreLine) {
    const struct {
        const char* name;
        int thickness;
        int ink;
        int paper;
    } cases[] = {
        {"black, 2 px", 2, 0, 230},
        {"dark grey, 4 px", 4, 60, 230},
        {"grey on grey paper", 3, 90, 170},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat picture = Paper(c.paper);
        cv::line(picture, {40, 100}, {260, 100}, c.ink, c.thickness, cv::LINE_AA);
        const cv::Mat lines = ExtractLineArt(picture, cv::Rect(0, 0, picture.cols, picture.rows));
        std::vector<cv::Point> points;
        cv::findNonZero(lines, points);
        ASSERT_GT(points.size(), 200u);
        for (const cv::Point& p : points) {
            EXPECT_NEAR(p.y, 100, 1);  // on the stroke: grain left no marks
            EXPECT_TRUE(p.x >= 36 && p.x <= 264);
        }
        EXPECT_LT(points.size(), 240u);  // one pixel wide
    }
}

TEST(ExtractLineArtTest, PicturesWithoutLinesGiveNoInk) {
    const struct {
        const char* name;
        cv::Mat picture;
    } cases[] = {
        {"white", cv::Mat(200, 300, CV_8UC1, cv::Scalar(255))},
        {"black", cv::Mat(200, 300, CV_8UC1, cv::Scalar(0))},
        {"plain paper with grain", Paper()},
        {"one pixel", cv::Mat(1, 1, CV_8UC1, cv::Scalar(0))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cv::countNonZero(
                      ExtractLineArt(c.picture, cv::Rect(0, 0, c.picture.cols, c.picture.rows))),
                  0);
    }
}

TEST(ExtractLineArtTest, OnlyThePictureAreaSetsTheThreshold) {
    // A grey stroke on grey paper, framed by white canvas three times its size:
    // over the whole canvas the threshold would split paper from canvas.
    cv::Mat canvas(400, 600, CV_8UC1, cv::Scalar(255));
    const cv::Rect area(0, 0, 300, 200);
    cv::Mat picture = canvas(area);
    Paper(215).copyTo(picture);
    cv::line(picture, {40, 100}, {260, 100}, 140, 2, cv::LINE_AA);
    std::vector<cv::Point> points;
    cv::findNonZero(ExtractLineArt(canvas, area), points);
    ASSERT_GT(points.size(), 200u);
    for (const cv::Point& p : points) EXPECT_NEAR(p.y, 100, 1);
}

TEST(ExtractPhotoEdgesTest, EdgesFollowTheShapeBorder) {
    cv::Mat photo(200, 300, CV_8UC1, cv::Scalar(170));
    const cv::Rect square(80, 50, 120, 90);
    photo(square).setTo(70);
    cv::GaussianBlur(photo, photo, cv::Size(), 1.5);
    // Framed by blank canvas: the picture's own border is no edge.
    cv::Mat canvas(300, 400, CV_8UC1, cv::Scalar(255));
    photo.copyTo(canvas(cv::Rect(0, 0, 300, 200)));
    const cv::Mat edges =
        ExtractPhotoEdges(canvas, cv::Rect(0, 0, 300, 200))(cv::Rect(0, 0, 300, 200));
    cv::Mat border = cv::Mat::zeros(photo.size(), CV_8UC1);
    cv::rectangle(border, square, 255, 1);
    cv::Mat nearBorder;
    cv::dilate(border, nearBorder, cv::Mat::ones(5, 5, CV_8UC1));
    EXPECT_EQ(cv::countNonZero(edges & ~nearBorder), 0) << "edges away from the border";
    cv::Mat nearEdges;
    cv::dilate(edges, nearEdges, cv::Mat::ones(5, 5, CV_8UC1));
    EXPECT_GT(cv::countNonZero(border & nearEdges), cv::countNonZero(border) * 9 / 10);
}

}  // namespace
}  // namespace fudeline
