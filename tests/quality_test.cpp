#include "convert/quality.h"

#include <gtest/gtest.h>

#include "test_catalogs.h"

#include <vector>

#include "glyphs/cp932.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

struct Px {
    int x, y;
};

Image WithPixels(const std::vector<Px>& pixels, int width = kCanvasWidth, int height = kInkHeight) {
    Image image(width, height, kWhite);
    for (const Px& p : pixels) image.SetPixel(p.x, p.y, kBlack);
    return image;
}

std::vector<Px> VerticalLine(int x, int top, int bottom) {
    std::vector<Px> line;
    for (int y = top; y <= bottom; ++y) line.push_back({x, y});
    return line;
}

struct QualityCase {
    const char* name;
    std::vector<Px> drawn, truth;
    double precision, recall, f1;
};

TEST(MeasureQualityTest, MatchesPixelsWithinTwoPixelsEuclidean) {
    std::vector<Px> lineAndStray = VerticalLine(100, 10, 19);
    for (int i = 0; i < 10; ++i) lineAndStray.push_back({400 + 5 * i, 300});
    const std::vector<QualityCase> cases = {
        {"identical", VerticalLine(100, 10, 40), VerticalLine(100, 10, 40), 1, 1, 1},
        {"shifted by 2", VerticalLine(102, 10, 40), VerticalLine(100, 10, 40), 1, 1, 1},
        {"shifted by 3", VerticalLine(103, 10, 40), VerticalLine(100, 10, 40), 0, 0, 0},
        {"diagonal neighbour (1,1)", {{51, 51}}, {{50, 50}}, 1, 1, 1},
        {"knight's step (2,1) is beyond 2", {{52, 51}}, {{50, 50}}, 0, 0, 0},
        {"half the text astray", lineAndStray, VerticalLine(100, 10, 19), 0.5, 1, 2 / 3.0},
        {"half the drawing missed", VerticalLine(100, 10, 19), VerticalLine(100, 10, 29), 1,
         12 / 20.0, 2 * (12 / 20.0) / (1 + 12 / 20.0)},
        {"nothing drawn", {}, VerticalLine(100, 10, 40), 1, 0, 0},
        {"nothing to follow", VerticalLine(100, 10, 40), {}, 0, 1, 0},
        {"both empty", {}, {}, 1, 1, 1},
        {"image edges", {{0, 0}, {799, 463}}, {{1, 1}, {799, 461}}, 1, 1, 1},
    };
    for (const QualityCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Quality q = MeasureQuality(WithPixels(c.drawn), WithPixels(c.truth));
        EXPECT_DOUBLE_EQ(q.precision, c.precision);
        EXPECT_DOUBLE_EQ(q.recall, c.recall);
        EXPECT_NEAR(q.f1, c.f1, 1e-12);
        EXPECT_EQ(q.drawn, static_cast<std::int64_t>(c.drawn.size()));
        EXPECT_EQ(q.truth, static_cast<std::int64_t>(c.truth.size()));
    }
}

TEST(MeasureQualityTest, TruthBeyondTheTextRowsCountsAsMissed) {
    // A drawing taller than the rows: what lies below them cannot be matched,
    // and must not be read outside the smaller image.
    const Image truth = WithPixels({{10, 10}, {10, 500}}, kCanvasWidth, kCanvasHeight);
    const Quality q = MeasureQuality(WithPixels({{10, 10}}), truth);
    EXPECT_DOUBLE_EQ(q.recall, 0.5);
    EXPECT_DOUBLE_EQ(q.precision, 1.0);
}

class DrawRowsAsInkTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { font_ = &testing::TestFont(); }
    static const MonaFont* font_;
};
const MonaFont* DrawRowsAsInkTest::font_ = nullptr;

TEST_F(DrawRowsAsInkTest, RowsLieAtTheInkPitchWithTheirSpacing) {
    const TextPainter painter(*font_);
    TextRows rows;
    rows[0] = {{0, "|", 4}};
    rows[3] = {{22, "-", 8},
               {3, "\x81\x5C", 16}};  // spaces draw nothing; the 3-pixel gap shows a "."
    rows[28] = {{792, "|", 4}};
    const Image drawn = DrawRowsAsInk(painter, rows);
    ASSERT_EQ(drawn.width(), kCanvasWidth);
    ASSERT_EQ(drawn.height(), kInkHeight);

    Image expected(kCanvasWidth, kInkHeight, kWhite);
    painter.DrawString(expected, 0, 0, "|", kCanvasWidth);
    painter.DrawString(expected, 22, 48, "-", kCanvasWidth);
    painter.DrawString(expected, 30, 48, ".", kCanvasWidth);
    painter.DrawString(expected, 33, 48, "\x81\x5C", kCanvasWidth);
    painter.DrawString(expected, 792, 448, "|", kCanvasWidth);
    EXPECT_TRUE(drawn == expected);
    // The drawing of the rows is itself a perfect match for them.
    EXPECT_DOUBLE_EQ(MeasureQuality(drawn, expected).f1, 1.0);
}

}  // namespace
}  // namespace fudeline
