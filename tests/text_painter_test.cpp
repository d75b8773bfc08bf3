#include "render/text_painter.h"

#include <gtest/gtest.h>

#include "test_catalogs.h"

#include "glyphs/cp932.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

class TextPainterTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { font_ = &testing::TestFont(); }

    // True where the layer matches `glyph` drawn with its cell's top-left at (x, y).
    static bool ShowsGlyph(const Image& layer, int x, int y, const FontGlyph& glyph) {
        for (int gy = 0; gy < 16; ++gy) {
            for (int gx = 0; gx < glyph.advance; ++gx) {
                const std::uint32_t want = glyph.IsDark(gx, gy) ? kBlack : kWhite;
                if (layer.Pixel(x + gx, y + gy) != want) return false;
            }
        }
        return true;
    }
    static const FontGlyph& G(std::string_view sjis) {
        return *font_->GlyphFor(*Cp932CharToUnicode(sjis));
    }

    static const MonaFont* font_;
    Image layer_{kCanvasWidth, kCanvasHeight};
};
const MonaFont* TextPainterTest::font_ = nullptr;

TEST_F(TextPainterTest, DrawsCellsWhiteThenDarkPixelsBlack) {
    layer_.FillRect(0, 0, 100, 20, kBlack);
    TextPainter painter(*font_);
    painter.DrawString(layer_, 5, 2, "A\x82\xA0", kCanvasWidth);
    EXPECT_TRUE(ShowsGlyph(layer_, 5, 2, G("A")));
    EXPECT_TRUE(ShowsGlyph(layer_, 5 + G("A").advance, 2, G("\x82\xA0")));
    EXPECT_EQ(layer_.Pixel(4, 2), kBlack);  // outside the cells: untouched
}

TEST_F(TextPainterTest, RowPlacesCharactersByStoredGapsAndWidths) {
    TextPainter painter(*font_);
    const TextRow cells = {{20, "-", 8}, {3, "-", 8}};
    layer_.FillRect(0, 36, 800, 18, kBlack);  // row 2 dirty before the redraw
    painter.DrawTextRow(layer_, 2, cells);
    const int y = 2 * kRowHeight;
    EXPECT_TRUE(ShowsGlyph(layer_, 20, y, G("-")));
    EXPECT_TRUE(ShowsGlyph(layer_, 31, y, G("-")));
    EXPECT_TRUE(ShowsGlyph(layer_, 28, y, G(".")));  // a 3-pixel gap shows a full stop
    EXPECT_EQ(layer_.Pixel(500, y + 17), kWhite);    // the band was whitened
    EXPECT_EQ(layer_.Pixel(0, y + 18), kWhite);      // the next row untouched (white already)
}

TEST_F(TextPainterTest, NothingIsDrawnAtOrBeyondColumn800) {
    TextPainter painter(*font_);
    Image wide(900, kCanvasHeight, 0x123456);
    wide.FillRect(0, 0, 800, kCanvasHeight, kWhite);
    painter.DrawTextRow(wide, 0, {{795, "\x81\xA1", 16}, {0, "\x81\xA1", 16}});
    for (int y = 0; y < 18; ++y) {
        for (int x = 800; x < 900; ++x) ASSERT_EQ(wide.Pixel(x, y), 0x123456u) << x << "," << y;
    }
}

}  // namespace
}  // namespace fudeline
