#include "render/text_art_picture.h"

#include <gtest/gtest.h>

#include "test_catalogs.h"

#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "text/spacing.h"
#include "text/text_art_lines.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

class RenderTextArtTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { font_ = &testing::TestFont(); }

    static const FontGlyph& G(std::string_view sjis) { return testing::FaceGlyph(sjis); }
    // True where the picture holds `glyph` at (x, y), white rows 16-17 below it.
    static bool ShowsGlyph(const Image& picture, int x, int y, const FontGlyph& glyph) {
        for (int gy = 0; gy < kRowHeight; ++gy) {
            for (int gx = 0; gx < glyph.advance; ++gx) {
                const bool dark = gy < 16 && glyph.IsDark(gx, gy);
                if (picture.Pixel(x + gx, y + gy) != (dark ? kBlack : kWhite)) return false;
            }
        }
        return true;
    }

    static const MonaFont* font_;
};
const MonaFont* RenderTextArtTest::font_ = nullptr;

TEST_F(RenderTextArtTest, LinesInEighteenPixelRowsSizedToTheText) {
    const std::string a = "\x82\xA0";  // あ
    const Image picture = RenderTextArt({"A", a + "A", ""}, *font_);
    ASSERT_EQ(picture.width(), G(a).advance + G("A").advance);
    ASSERT_EQ(picture.height(), 3 * kRowHeight);
    EXPECT_TRUE(ShowsGlyph(picture, 0, 0, G("A")));
    EXPECT_TRUE(ShowsGlyph(picture, 0, 18, G(a)));
    EXPECT_TRUE(ShowsGlyph(picture, G(a).advance, 18, G("A")));
    // Black on white only, and white where no line reaches.
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t p = picture.Pixel(x, y);
            ASSERT_TRUE(p == kBlack || p == kWhite);
            if (y >= 36 || (y < 18 && x >= G("A").advance)) {
                ASSERT_EQ(p, kWhite) << x << "," << y;
            }
        }
    }
}

TEST_F(RenderTextArtTest, DegenerateTextsStayBounded) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int width, height;
    };
    const Case cases[] = {
        {"no lines", {}, 1, 18},
        {"one empty line", {""}, 1, 18},
        {"too wide", {std::string(5000, 'W')}, kMaxTextArtWidth, 18},
        {"too many lines", std::vector<std::string>(kMaxTextArtLines + 5, "a"),
         static_cast<int>(G("a").advance), kMaxTextArtLines * 18},
    };
    for (const Case& c : cases) {
        const Image picture = RenderTextArt(c.lines, *font_);
        EXPECT_EQ(picture.width(), c.width) << c.name;
        EXPECT_EQ(picture.height(), c.height) << c.name;
    }
}

// Spaces without a Shift-JIS form take the room the face gives them, so text
// spelled with them draws every character where a board shows it; the
// Shift-JIS form of a line draws the same picture as its Unicode form.
TEST_F(RenderTextArtTest, UnicodeSpacesTakeTheirWidth) {
    struct Case {
        const char* name;
        std::u32string line;
        int gap;  // pixels between "A" and "B"
    };
    const Case cases[] = {
        {"none", U"AB", 0},
        {"thin space", U"A\u2009B", 2},
        {"en space", U"A\u2002B", 8},
        {"ideographic space", U"A\u3000B", 11},
        {"thin and en", U"A\u2009\u2002B", 10},
        {"a character the face lacks", U"A\U0001F600B", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Image picture = RenderTextArt(std::vector<std::u32string>{c.line}, *font_);
        EXPECT_EQ(picture.width(), G("A").advance + c.gap + G("B").advance);
        EXPECT_TRUE(ShowsGlyph(picture, 0, 0, G("A")));
        EXPECT_TRUE(ShowsGlyph(picture, G("A").advance + c.gap, 0, G("B")));
        EXPECT_EQ(TextLineWidth(c.line, *font_), picture.width());
    }
    const std::string sjis = "\x81\x40(\x81\x4C\x81\xCD`)";  // 　(´∀`)
    const Image fromSjis = RenderTextArt(std::vector<std::string>{sjis, "A"}, *font_);
    const Image fromUnicode =
        RenderTextArt(std::vector<std::u32string>{U"\u3000(\u00B4\u2200`)", U"A"}, *font_);
    ASSERT_EQ(fromSjis.width(), fromUnicode.width());
    ASSERT_EQ(fromSjis.height(), fromUnicode.height());
    for (int y = 0; y < fromSjis.height(); ++y) {
        for (int x = 0; x < fromSjis.width(); ++x) {
            ASSERT_EQ(fromSjis.Pixel(x, y), fromUnicode.Pixel(x, y)) << x << "," << y;
        }
    }
}

// Every blank character boards give a fixed width is drawn blank at that
// width, written as the character, as a decimal or a hexadecimal reference,
// in UTF-8 or Shift-JIS, whether the face holds it or not.
TEST_F(RenderTextArtTest, EveryBoardSpaceDrawsBlankAtItsBoardWidthWrittenAnyWay) {
    for (const auto& [code, width] : kBoardSpaceWidths) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "&#x%X;", static_cast<unsigned>(code));
        const std::string decimal = "&#" + std::to_string(static_cast<unsigned>(code)) + ";";
        // Between an "A" and a "B".
        const auto between = [](std::string_view middle) {
            std::string line = "A";
            line += middle;
            line += 'B';
            return line;
        };
        const struct {
            std::string bytes;
            TextEncoding encoding;
        } writings[] = {
            {between(Utf8Of(code)), TextEncoding::Utf8},
            {between(decimal), TextEncoding::Utf8},
            {between(hex), TextEncoding::ShiftJis},
            {between(decimal + decimal), TextEncoding::ShiftJis},
        };
        int copies = 1;
        for (const auto& w : writings) {
            SCOPED_TRACE(w.bytes);
            if (w.bytes.find(decimal + decimal) != std::string::npos) copies = 2;
            const auto lines = DecodeTextArt(w.bytes, w.encoding);
            ASSERT_TRUE(lines) << lines.error().Reason();
            const Image picture = RenderTextArt(*lines, *font_);
            const int gap = copies * width;
            EXPECT_EQ(TextLineWidth((*lines)[0], *font_), G("A").advance + gap + G("B").advance);
            ASSERT_EQ(picture.width(), G("A").advance + gap + G("B").advance);
            EXPECT_TRUE(ShowsGlyph(picture, 0, 0, G("A")));
            EXPECT_TRUE(ShowsGlyph(picture, G("A").advance + gap, 0, G("B")));
            for (int y = 0; y < kRowHeight; ++y) {
                for (int x = G("A").advance; x < G("A").advance + gap; ++x) {
                    ASSERT_EQ(picture.Pixel(x, y), kWhite) << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace fudeline
