#include "trace/placement.h"

#include <gtest/gtest.h>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

GreyPicture Filled(int width, int height, std::uint8_t level) {
    return {width, height,
            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, level)};
}

TEST(PlaceOnCanvasTest, CoversTheRightPartOfTheCanvas) {
    const struct {
        const char* name;
        int width, height;
        Placement placement;
        cv::Rect area;
    } cases[] = {
        {"canvas size fits exactly", 800, 522, {}, {0, 0, 800, 522}},
        {"twice the canvas shrinks to it", 1600, 1044, {}, {0, 0, 800, 522}},
        {"wide: fits the width, top left", 1600, 200, {}, {0, 0, 800, 100}},
        {"tall: fits the height", 100, 1044, {}, {0, 0, 50, 522}},
        {"small: grows to fit", 80, 52, {}, {0, 0, 800, 520}},
        {"one pixel grows to the height", 1, 1, {}, {0, 0, 522, 522}},
        {"30000 x 10", 30000, 10, {}, {0, 0, 800, 1}},
        {"scale and offset", 100, 100, {50.0, 10, 20}, {10, 20, 50, 50}},
        {"offset off the top left", 100, 100, {100.0, -40, -30}, {0, 0, 60, 70}},
        {"off the canvas", 100, 100, {100.0, 900, 0}, {}},
        {"huge scale stays on the canvas", 4000, 3000, {10000.0, -100000, -5000}, {0, 0, 800, 522}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlacedPicture placed = PlaceOnCanvas(Filled(c.width, c.height, 0), c.placement);
        ASSERT_EQ(placed.canvas.cols, kCanvasWidth);
        ASSERT_EQ(placed.canvas.rows, kCanvasHeight);
        EXPECT_EQ(placed.area, c.area);
        // Ink exactly where the picture lies, paper elsewhere.
        EXPECT_EQ(cv::countNonZero(placed.canvas == 0), c.area.area());
        if (!c.area.empty()) {
            EXPECT_EQ(cv::countNonZero(placed.canvas(c.area)), 0);
        }
    }
}

TEST(PlaceOnCanvasTest, ShrinkingAveragesAreas) {
    // Alternate black and white columns at twice the canvas size: every
    // canvas pixel averages two of each, mid grey, where sampling would give
    // black or white.
    GreyPicture stripes = Filled(1600, 1044, 255);
    for (int y = 0; y < stripes.height; ++y) {
        for (int x = 0; x < stripes.width; x += 2) stripes.levels[y * 1600 + x] = 0;
    }
    const PlacedPicture placed = PlaceOnCanvas(stripes, {});
    double low, high;
    cv::minMaxLoc(placed.canvas, &low, &high);
    EXPECT_NEAR(low, 127.5, 1);
    EXPECT_NEAR(high, 127.5, 1);
}

TEST(PlacementScaleTest, FitsOrTakesTheGivenScale) {
    EXPECT_DOUBLE_EQ(PlacementScale(1600, 1044, {}), 0.5);
    EXPECT_DOUBLE_EQ(PlacementScale(400, 522, {}), 1.0);
    EXPECT_DOUBLE_EQ(PlacementScale(400, 100, {}), 2.0);
    EXPECT_DOUBLE_EQ(PlacementScale(400, 100, {25.0, 0, 0}), 0.25);
}

// A picture decoded at 1/reduction of its file's size lands where the file would.
TEST(PlaceOnCanvasTest, ReducedPictureLandsWhereItsFileWould) {
    const struct {
        const char* name;
        Placement placement;
    } cases[] = {
        {"fit", {}},
        {"by hand", {25.0, 30, -10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlacedPicture file = PlaceOnCanvas(Filled(1600, 1000, 0), c.placement);
        ColourPicture reduced{400, 250, std::vector<std::uint8_t>(400 * 250 * 3, 0), 4};
        const PlacedPicture placed = PlaceOnCanvas(reduced, c.placement);
        EXPECT_EQ(placed.canvas.type(), CV_8UC3);
        EXPECT_EQ(placed.area, file.area);
    }
}

}  // namespace
}  // namespace fudeline
