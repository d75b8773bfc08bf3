#include "pixels/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

const ClipRect kInkClip{0, 0, kInkClipRight, kInkClipBottom};

int CountColour(const Image& image, std::uint32_t colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.Pixel(x, y) == colour;
    }
    return n;
}

TEST(Image, ReadsOutsideAsNotAPixel) {
    Image image(4, 3);
    EXPECT_EQ(image.Pixel(0, 0), kWhite);
    EXPECT_EQ(image.Pixel(-1, 0), Image::kOutside);
    EXPECT_EQ(image.Pixel(4, 0), Image::kOutside);
    EXPECT_EQ(image.Pixel(0, 3), Image::kOutside);
    image.SetPixel(9, 9, kBlack);  // ignored
    image.FillRect(-5, 1, 100, 1, kBlack);
    EXPECT_EQ(CountColour(image, kBlack), 4);
}

TEST(Image, BlitCopiesOrAnds) {
    Image dst(3, 1, 0x00FF00);
    Image src(2, 1, 0x0F0F0F);
    dst.Blit(src, 2, 0, /*andMode=*/true);
    EXPECT_EQ(dst.Pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(dst.Pixel(2, 0), 0x000F00u);
    dst.Blit(src, -1, 0);
    EXPECT_EQ(dst.Pixel(0, 0), 0x0F0F0Fu);
}

TEST(DrawThinLine, ExcludesTheEndPoint) {
    Image ink(800, 464);
    const ChangedRows changed = DrawThinLine(ink, {10, 32}, {20, 32}, kBlack, kInkClip);
    for (int x = 10; x < 20; ++x) EXPECT_EQ(ink.Pixel(x, 32), kBlack) << x;
    EXPECT_EQ(ink.Pixel(20, 32), kWhite);
    EXPECT_EQ(CountColour(ink, kBlack), 10);
    EXPECT_EQ(changed.minY, 32);
    EXPECT_EQ(changed.maxY, 32);
    EXPECT_TRUE(DrawThinLine(ink, {5, 5}, {5, 5}, kBlack, kInkClip).Empty());
}

TEST(DrawThinLine, IsConnectedAndSymmetricInSteps) {
    Image ink(800, 464);
    DrawThinLine(ink, {0, 0}, {30, 7}, kBlack, kInkClip);
    // One pixel per column, each within one row of the previous.
    int prevY = 0;
    for (int x = 0; x < 30; ++x) {
        int found = -1;
        for (int y = 0; y <= 8; ++y) {
            if (ink.Pixel(x, y) == kBlack) found = y;
        }
        ASSERT_GE(found, 0) << x;
        EXPECT_LE(std::abs(found - prevY), 1);
        prevY = found;
    }
    EXPECT_EQ(CountColour(ink, kBlack), 30);
}

TEST(DrawThinLine, ClipsToColumn798AndFarOutsideCostsNothing) {
    Image ink(800, 464);
    DrawThinLine(ink, {790, 10}, {900, 10}, kBlack, kInkClip);
    EXPECT_EQ(ink.Pixel(798, 10), kBlack);
    EXPECT_EQ(ink.Pixel(799, 10), kWhite);
    // A line across two billion pixels returns at once with its visible part.
    DrawThinLine(ink, {-2000000000, 100}, {2000000000, 100}, kBlack, kInkClip);
    EXPECT_EQ(ink.Pixel(0, 100), kBlack);
    EXPECT_EQ(ink.Pixel(798, 100), kBlack);
    EXPECT_EQ(ink.Pixel(799, 100), kWhite);
}

TEST(DrawThinLine, EndsAtTheEdgesOfThe32BitRange) {
    Image ink(800, 464);
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    DrawThinLine(ink, {lo, lo}, {hi, hi}, kBlack, kInkClip);        // through the middle
    DrawWideLine(ink, {400, lo}, {400, hi}, kLightGrey, kInkClip);  // top to bottom
    EXPECT_EQ(ink.Pixel(200, 200), kBlack);
    EXPECT_EQ(ink.Pixel(403, 0), kLightGrey);
    EXPECT_EQ(ink.Pixel(396, 463), kLightGrey);
}

TEST(DrawWideLine, RoundEightPixelStrokeIncludingTheEnd) {
    Image ink(800, 464);
    DrawWideLine(ink, {100, 100}, {100, 100}, kLightGrey, kInkClip);
    EXPECT_EQ(CountColour(ink, kLightGrey), 52);  // one 8-pixel disc
    for (int d = -4; d <= 3; ++d) {
        EXPECT_EQ(ink.Pixel(100 + d, 100), kLightGrey);
        EXPECT_EQ(ink.Pixel(100, 100 + d), kLightGrey);
    }
    EXPECT_EQ(ink.Pixel(96, 96), kWhite);  // corners are cut

    Image line(800, 464);
    const ChangedRows changed = DrawWideLine(line, {50, 40}, {80, 40}, kLightGrey, kInkClip);
    EXPECT_EQ(changed.minY, 36);
    EXPECT_EQ(changed.maxY, 43);
    EXPECT_EQ(line.Pixel(83, 40), kLightGrey);  // round end beyond the end point
    EXPECT_EQ(line.Pixel(84, 40), kWhite);
}

TEST(DrawWideLine, DiscsOfEveryEraserWidthAreRoundAndAsWideAsAsked) {
    const struct {
        int width;
        int pixels;  // of one disc
    } cases[] = {{2, 4}, {4, 12}, {8, 52}, {16, 208}, {kWidestEraser, 812}, {1, 4}, {100, 812}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        Image ink(800, 464);
        DrawWideLine(ink, {100, 100}, {100, 100}, kLightGrey, kInkClip, c.width);
        EXPECT_EQ(CountColour(ink, kLightGrey), c.pixels);
        // As wide and as tall as the width (clamped to what the eraser
        // offers), centred on the pixel's corner, the corners cut.
        const int w = std::clamp(c.width, kNarrowestEraser, kWidestEraser);
        for (int d = -w / 2; d < w / 2; ++d) {
            EXPECT_EQ(ink.Pixel(100 + d, 100), kLightGrey) << d;
            EXPECT_EQ(ink.Pixel(100, 100 + d), kLightGrey) << d;
        }
        EXPECT_EQ(ink.Pixel(100 - w / 2 - 1, 100), kWhite);
        EXPECT_EQ(ink.Pixel(100 + w / 2, 100), kWhite);
        if (w > 2) {
            EXPECT_EQ(ink.Pixel(100 - w / 2, 100 - w / 2), kWhite);
        }
    }
}

TEST(DrawWideLine, ReportsOnlyRowsWhosePixelsChanged) {
    Image ink(800, 464);
    DrawWideLine(ink, {50, 40}, {80, 40}, kLightGrey, kInkClip);
    EXPECT_TRUE(DrawWideLine(ink, {50, 40}, {80, 40}, kLightGrey, kInkClip).Empty());
}

}  // namespace
}  // namespace fudeline
