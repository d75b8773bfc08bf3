#include "session/compose.h"

#include <gtest/gtest.h>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

TEST(ComposeCanvas, RowLinesLieUnderRowsZeroTo27) {
    Image view;
    CanvasView parts;
    parts.showRowLines = true;
    ComposeCanvas(parts, view);
    for (int y = 0; y < kCanvasHeight; ++y) {
        const bool line = y < 520 && (y % 18 == 16 || y % 18 == 17);
        EXPECT_EQ(view.Pixel(0, y), line ? kLightGrey : kWhite) << y;
        EXPECT_EQ(view.Pixel(799, y), line ? kLightGrey : kWhite) << y;
    }
}

TEST(ComposeCanvas, PreviewPenRedEraserGreyTextAndedOver) {
    StrokePreview stroke;
    stroke.AddSegment({10, 10}, {30, 10}, /*pen=*/true);
    Image text(kCanvasWidth, kCanvasHeight);
    text.SetPixel(20, 10, kBlack);
    Image view;
    CanvasView parts;
    parts.stroke = &stroke;
    parts.textLayer = &text;
    ComposeCanvas(parts, view);
    EXPECT_EQ(view.Pixel(10, 10), kRed);
    EXPECT_EQ(view.Pixel(29, 10), kRed);
    EXPECT_EQ(view.Pixel(30, 10), kWhite);  // the one-pixel pen leaves out the end
    EXPECT_EQ(view.Pixel(20, 10), kBlack);  // black text over red is black

    stroke.AddSegment({30, 10}, {30, 40}, /*pen=*/false);
    ComposeCanvas(parts, view);
    EXPECT_EQ(view.Pixel(33, 40), kLightGrey);
    EXPECT_EQ(view.Pixel(15, 10), kRed);  // earlier segments stay

    stroke.Clear();
    ComposeCanvas(parts, view);
    EXPECT_EQ(view.Pixel(10, 10), kWhite);
    EXPECT_EQ(view.Pixel(30, 20), kWhite);
}

// A Shift line follows the pointer over the stroke drawn so far: each move
// shows it anew and takes no pixel from the segments it crossed.
TEST(ComposeCanvas, AMovingStraightLineLeavesTheStrokeUnderItWhole) {
    StrokePreview stroke;
    stroke.AddSegment({10, 50}, {100, 50}, /*pen=*/true);
    Image view;
    CanvasView parts;
    parts.stroke = &stroke;
    const struct {
        PenPoint to;
        bool pen;
        PenPoint shown, gone;  // a pixel of this line, one of the line before
    } moves[] = {
        {{50, 100}, true, {50, 90}, {50, 90}},
        {{90, 100}, true, {80, 75}, {50, 90}},
        {{90, 10}, false, {70, 5}, {80, 75}},
        {{50, 52}, true, {50, 30}, {70, 5}},
    };
    for (const auto& move : moves) {
        stroke.SetLine({50, 0}, move.to, move.pen);
        ComposeCanvas(parts, view);
        EXPECT_EQ(view.Pixel(move.shown.x, move.shown.y), move.pen ? kRed : kLightGrey);
        if (move.gone != move.shown) {
            EXPECT_EQ(view.Pixel(move.gone.x, move.gone.y), kWhite);
        }
        for (int x = 10; x < 100; ++x) ASSERT_EQ(view.Pixel(x, 50), kRed) << x;
    }
    stroke.ClearLine();
    ComposeCanvas(parts, view);
    EXPECT_EQ(view.Pixel(50, 30), kWhite);
    EXPECT_FALSE(stroke.Empty());
    stroke.SetLine({50, 0}, {50, 100}, true);
    stroke.Clear();
    EXPECT_TRUE(stroke.Empty());
    ComposeCanvas(parts, view);
    EXPECT_EQ(view.Pixel(50, 30), kWhite);
    EXPECT_EQ(view.Pixel(20, 50), kWhite);
}

TEST(ComposeCanvas, PictureShowsThroughWhiteTextAndIsCut) {
    Image picture(900, 30, 0x336699);
    Image text(kCanvasWidth, kCanvasHeight);
    Image view;
    CanvasView parts;
    parts.picture = &picture;
    parts.textLayer = &text;
    ComposeCanvas(parts, view);
    EXPECT_EQ(view.width(), kCanvasWidth);
    EXPECT_EQ(view.Pixel(799, 29), 0x336699u);
    EXPECT_EQ(view.Pixel(5, 30), kWhite);
}

}  // namespace
}  // namespace fudeline
