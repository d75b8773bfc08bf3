#include "lines/line_extraction.h"

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

// A photo-like picture: a smooth gradient of the whole tone range with shapes of many tones.
cv::Mat Photo() {
    cv::Mat photo(200, 300, CV_8UC1);
    for (int y = 0; y < photo.rows; ++y) {
        for (int x = 0; x < photo.cols; ++x)
            photo.at<std::uint8_t>(y, x) = static_cast<std::uint8_t>(x * 255 / 300);
    }
    cv::RNG random(3);
    for (int i = 0; i < 25; ++i) {
        cv::circle(photo, {random.uniform(0, 300), random.uniform(0, 200)}, random.uniform(10, 50),
                   random.uniform(0, 255), cv::FILLED);
    }
    cv::GaussianBlur(photo, photo, cv::Size(), 2);
    return photo;
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

TEST(ChooseTraceModeTest, TellsLineArtFromPhotos) {
    cv::Mat drawing = Paper();
    cv::circle(drawing, {150, 100}, 60, 40, 3, cv::LINE_AA);
    cv::line(drawing, {20, 20}, {280, 180}, 40, 2, cv::LINE_AA);
    const cv::Rect whole(0, 0, 300, 200);
    EXPECT_EQ(ChooseTraceMode(drawing, whole), TraceMode::LineArt);
    EXPECT_EQ(ChooseTraceMode(Photo(), whole), TraceMode::Photo);
    // Only the area the picture covers counts: paper around a photo is not line art.
    cv::Mat framed(400, 600, CV_8UC1, cv::Scalar(255));
    Photo().copyTo(framed(whole));
    EXPECT_EQ(ChooseTraceMode(framed, whole), TraceMode::Photo);
    EXPECT_EQ(ChooseTraceMode(framed, cv::Rect()), TraceMode::LineArt);
}

}  // namespace
}  // namespace fudeline
