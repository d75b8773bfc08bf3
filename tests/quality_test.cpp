#include "measure/quality.h"

#include <gtest/gtest.h>

#include "test_catalogs.h"

#include <cmath>
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

// A bold stroke over a thin line matches at 2 px but not exactly; the exact
// and 1-px counts, the dark ratio and the distance must tell them apart.
TEST(MeasureQualityTest, TolerancesDarkRatioAndDistance) {
    struct Case {
        const char* name;
        std::vector<Px> drawn, truth;
        double f1At0, f1At1, f1At2, darkRatio, distance;
    };
    std::vector<Px> bold = VerticalLine(100, 10, 19);
    for (const Px& p : VerticalLine(101, 10, 19)) bold.push_back(p);
    for (const Px& p : VerticalLine(102, 10, 19)) bold.push_back(p);
    const std::vector<Case> cases = {
        {"identical", VerticalLine(100, 10, 19), VerticalLine(100, 10, 19), 1, 1, 1, 1, 0},
        // Drawn pixels 1 px off: exact 0, at 1 px all; each side pays 1.
        {"one off", VerticalLine(101, 10, 19), VerticalLine(100, 10, 19), 0, 1, 1, 1, 1},
        // Knight's step is sqrt 5: beyond 2 px, within the cap.
        {"knight's step", {{52, 51}}, {{50, 50}}, 0, 0, 0, 1, std::sqrt(5.0)},
        // Three columns over one: precision 1/3, 2/3, 1 at 0, 1, 2 px; recall 1.
        {"bold over thin", bold, VerticalLine(100, 10, 19), 0.5, 0.8, 1, 3, (0 + 1 + 2) / 3.0 / 2},
        // Nothing within the cap of 4 px: each pixel pays the cap.
        {"far away", {{300, 300}}, {{50, 50}}, 0, 0, 0, 1, kDistanceCap},
        {"nothing drawn", {}, VerticalLine(100, 10, 19), 0, 0, 0, 0, kDistanceCap / 2},
        {"both empty", {}, {}, 1, 1, 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Quality q = MeasureQuality(WithPixels(c.drawn), WithPixels(c.truth));
        EXPECT_NEAR(q.at[0].f1, c.f1At0, 1e-12);
        EXPECT_NEAR(q.at[1].f1, c.f1At1, 1e-12);
        EXPECT_NEAR(q.at[2].f1, c.f1At2, 1e-12);
        EXPECT_DOUBLE_EQ(q.f1, q.at[2].f1);
        EXPECT_NEAR(q.darkRatio, c.darkRatio, 1e-12);
        EXPECT_NEAR(q.distance, c.distance, 1e-12);
    }
    EXPECT_TRUE(std::isinf(MeasureQuality(WithPixels({{1, 1}}), WithPixels({})).darkRatio));
}

TEST(MeasureQualityTest, TruthBeyondTheTextRowsCountsAsMissed) {
    // A drawing taller than the rows: what lies below them cannot be matched,
    // and must not be read outside the smaller image.
    const Image truth = WithPixels({{10, 10}, {10, 500}}, kCanvasWidth, kCanvasHeight);
    const Quality q = MeasureQuality(WithPixels({{10, 10}}), truth);
    EXPECT_DOUBLE_EQ(q.recall, 0.5);
    EXPECT_DOUBLE_EQ(q.precision, 1.0);
}

TEST(DrawRowsAsInk, RowsLieAtTheInkPitchWithTheirSpacing) {
    const TextPainter painter(testing::TestFont());
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
