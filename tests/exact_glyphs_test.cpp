#include "fine/exact_glyphs.h"

#include <gtest/gtest.h>

#include <string>

#include "fine/fine_cost.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

// A row of ink columns holding `glyphs` drawn from `x` on, one after another.
struct DrawnRow {
    std::array<std::uint16_t, InkColumns::kSize> target{};
    int x = 0;
    void Draw(const MonaFont& font, const std::string& sjis) {
        for (const FontGlyph* glyph : FaceGlyphs(font, sjis)) {
            ASSERT_NE(glyph, nullptr) << sjis;
            for (int c = 0; c < glyph->advance; ++c) {
                target[static_cast<std::size_t>(x + c)] |= DarkColumn(*glyph, c);
            }
            x += glyph->advance;
        }
    }
};

class ExactGlyphsTest : public ::testing::Test {
  protected:
    static GlyphCatalog List(std::initializer_list<const char*> texts) {
        GlyphCatalog list;
        for (const char* text : texts) {
            const auto face = FaceGlyphs(testing::TestFont(), text);
            list.push_back({{}, face.at(0)->advance, text, 0, 0});
        }
        return list;
    }
    static std::string Text(const GlyphCatalog& list, std::int16_t index) {
        return index < 0 ? "-" : list[static_cast<std::size_t>(index)].text;
    }
};

TEST_F(ExactGlyphsTest, FindsEachDrawnGlyphAtItsStartAndNowhereElse) {
    const MonaFont& font = testing::TestFont();
    const GlyphCatalog list = List({"|", "/", "\x81\x5e" /* ／ */, "_", "l", "\x83\x6d" /* ノ */});
    const ExactGlyphs exact(list, font, [](const Glyph& g) { return GlyphPrior(g.text); });
    struct Case {
        std::string name;
        std::vector<std::string> drawn;  // one after another from column 30
    };
    const Case cases[] = {
        {"apart", {"|", "   ", "/", "   ", "\x83\x6d"}},
        {"touching", {"/", "_", "|", "l"}},
        {"wide and narrow", {"\x81\x5e", "|", "\x81\x5e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawnRow row;
        row.x = 30;
        std::vector<std::pair<int, std::string>> expected;  // start, text
        for (const std::string& text : c.drawn) {
            if (text.find_first_not_of(' ') != std::string::npos) expected.push_back({row.x, text});
            row.Draw(font, text);
        }
        ExactRow found;
        exact.Find(row.target, found);
        for (const auto& [start, text] : expected) {
            const int width = FaceGlyphs(font, text)[0]->advance;
            EXPECT_EQ(Text(list, found.glyph[static_cast<std::size_t>(width)]
                                            [static_cast<std::size_t>(start)]),
                      text)
                << "at " << start;
        }
        // Whatever else is found is a glyph drawn there exactly; nothing over blank paper.
        for (int width = 1; width <= kFineMaxWidth; ++width) {
            for (int x = 0; x + width <= kFineRowColumns; ++x) {
                const std::int16_t g =
                    found.glyph[static_cast<std::size_t>(width)][static_cast<std::size_t>(x)];
                if (g < 0) continue;
                const FontGlyph& face = *FaceGlyphs(font, Text(list, g))[0];
                ASSERT_EQ(face.advance, width);
                for (int col = 0; col < width; ++col) {
                    EXPECT_EQ(row.target[static_cast<std::size_t>(x + col)], DarkColumn(face, col))
                        << Text(list, g) << " at " << x;
                }
            }
        }
    }
}

TEST_F(ExactGlyphsTest, OneMovedPixelHidesTheGlyph) {
    const MonaFont& font = testing::TestFont();
    const GlyphCatalog list = List({"/", "|"});
    const ExactGlyphs exact(list, font, [](const Glyph& g) { return GlyphPrior(g.text); });
    DrawnRow row;
    row.x = 100;
    row.Draw(font, "/");
    const int width = FaceGlyphs(font, "/")[0]->advance;
    ExactRow found;
    exact.Find(row.target, found);
    ASSERT_EQ(found.glyph[static_cast<std::size_t>(width)][100], 0);
    for (int c = 0; c < width; ++c) {
        auto& column = row.target[static_cast<std::size_t>(100 + c)];
        if (column == 0) continue;
        column = static_cast<std::uint16_t>(column << 1);  // its pixels a line lower
        break;
    }
    exact.Find(row.target, found);
    EXPECT_EQ(found.glyph[static_cast<std::size_t>(width)][100], -1);
}

TEST_F(ExactGlyphsTest, OfGlyphsDrawnAlikeTheCheapestStands) {
    const MonaFont& font = testing::TestFont();
    // Two characters the face draws alike: the full-width horizontal bars.
    const std::string a = "\x84\x9f", b = "\x81\x5c";
    ASSERT_EQ(FaceGlyphs(font, a)[0]->advance, FaceGlyphs(font, b)[0]->advance);
    const GlyphCatalog list = List({a.c_str(), b.c_str()});
    DrawnRow row;
    row.x = 10;
    row.Draw(font, a);
    const auto width = static_cast<std::size_t>(FaceGlyphs(font, a)[0]->advance);
    for (int cheaper : {0, 1}) {
        const ExactGlyphs exact(list, font, [&](const Glyph& g) {
            return (g.text == list[static_cast<std::size_t>(cheaper)].text) ? 1 : 2;
        });
        ExactRow found;
        exact.Find(row.target, found);
        EXPECT_EQ(found.glyph[width][10], cheaper);
    }
}

}  // namespace
}  // namespace fudeline
