#include "render/text_painter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

// Opened text keeps a character without a Shift-JIS form as the reference it
// was written as: the row shows the character, not the reference's letters.
TEST_F(TextPainterTest, ACellHoldingAReferenceShowsItsCharacter) {
    char32_t code = 0;
    for (char32_t c = 0x2000; c < 0x2800 && code == 0; ++c) {
        const FontGlyph* glyph = HasCp932Form(c) ? nullptr : font_->GlyphFor(c);
        if (!glyph) continue;
        for (int p = 0; p < glyph->advance * 16 && code == 0; ++p) {
            if (glyph->IsDark(p % glyph->advance, p / glyph->advance)) code = c;
        }
    }
    ASSERT_NE(code, 0U) << "the face holds no drawn character outside Shift-JIS";
    const FontGlyph& glyph = *font_->GlyphFor(code);
    TextPainter painter(*font_);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(code));
    for (const std::string& written :
         {"&#" + std::to_string(code) + ";", "&#x" + std::string(hex) + ";"}) {
        SCOPED_TRACE(written);
        layer_.FillRect(0, 0, kCanvasWidth, kCanvasHeight, kWhite);
        painter.DrawTextRow(layer_, 1, {{0, "-", 8}, {0, written, glyph.advance}, {0, "-", 8}});
        EXPECT_TRUE(ShowsGlyph(layer_, 8, kRowHeight, glyph));
        EXPECT_TRUE(ShowsGlyph(layer_, 8 + glyph.advance, kRowHeight, G("-")));
    }
    // What is no single reference is drawn as written.
    layer_.FillRect(0, 0, kCanvasWidth, kCanvasHeight, kWhite);
    painter.DrawTextRow(layer_, 0, {{0, "&#;", 20}});
    EXPECT_TRUE(ShowsGlyph(layer_, 0, 0, G("&")));
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
