#include "glyphs/catalog_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "glyphs/catalog_loader.h"

#include "glyphs/cp932.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

TEST(MonaFont, SpacingCharactersHaveTheWidthsGapsAreCountedIn) {
    EXPECT_EQ(testing::FaceGlyph("\x81\x40").advance, 11);
    EXPECT_EQ(testing::FaceGlyph(" ").advance, 5);
    EXPECT_EQ(testing::FaceGlyph(".").advance, 3);
    EXPECT_EQ(testing::FaceGlyph("\xDE").advance, 4);
    EXPECT_EQ(testing::FaceGlyph("\xA4").advance, 7);
}

TEST(Cp932, DecodesTheBoardsTableNotPlainShiftJis) {
    EXPECT_EQ(Cp932CharToUnicode("\x5C"), U'\\');
    EXPECT_EQ(Cp932CharToUnicode("\x7E"), U'~');
    EXPECT_EQ(Cp932CharToUnicode("\x81\x7C"), U'\uFF0D');
    EXPECT_EQ(Cp932CharToUnicode("\x81\x60"), U'\uFF5E');
    EXPECT_FALSE(Cp932CharToUnicode("\x81").has_value());
    EXPECT_EQ(Cp932ToUtf8("a\x82\xA0\r\n").value(), "a\xE3\x81\x82\r\n");
    EXPECT_EQ(Cp932ToUtf8("a\x81").value(), "a\xEF\xBF\xBD");  // truncated character
    EXPECT_EQ(Utf8ToCp932("\xE3\x80\x80").value(), "\x81\x40");
    EXPECT_FALSE(Utf8ToCp932("\xF0\x9F\x98\x80"));  // no Shift-JIS form
}

TEST(MonaFont, CatalogLineListsDarkPixelsRowByRow) {
    FontGlyph g;
    g.advance = 3;
    g.dark.assign(3 * 16, 0);
    g.dark[2 * 3 + 1] = 1;  // (1, 2)
    g.dark[5 * 3 + 0] = 1;  // (0, 5)
    EXPECT_EQ(CatalogLine(45, 0, g), "45, 0, 3, 2, 1, 2, 0, 5");
}

TEST(MonaFont, CatalogueTextRoundTripsThroughTheLoader) {
    const std::string single = BuildCatalogText(testing::TestFont(), false);
    const std::string dbl = BuildCatalogText(testing::TestFont(), true);
    const GlyphCatalog a = testing::ReadCatalogText(single, CatalogKind::SingleByte);
    const GlyphCatalog b = testing::ReadCatalogText(dbl, CatalogKind::DoubleByte);
    // 0x21-0xDF less the 14 excluded characters, less what the face lacks.
    EXPECT_GT(a.size(), 140u);
    EXPECT_LE(a.size(), 0xDFu - 0x21u + 1u - 14u);
    EXPECT_GT(b.size(), 450u);
    for (const Glyph& g : b) {
        ASSERT_EQ(g.text.size(), 2u);
        const unsigned code =
            (static_cast<unsigned char>(g.text[0]) << 8) | static_cast<unsigned char>(g.text[1]);
        EXPECT_GE(code, 0x8141u);
        EXPECT_LE(code, 0x84BEu);
        EXPECT_NE(code & 0xFF, 0x7Fu);
    }
    // The pattern of "-" is the face's own dark pixels.
    for (const Glyph& g : a) {
        if (g.text != "-") continue;
        const FontGlyph& minus = testing::FaceGlyph("-");
        EXPECT_EQ(g.width, minus.advance);
        for (const GlyphPixel& p : g.pixels) EXPECT_TRUE(minus.IsDark(p.x, p.y));
    }
}

// Both files of a pair carry one stamp, the same each time the same face is
// written and another when either file's glyphs differ; the glyph lines stay.
TEST(MonaFont, APairOfCatalogueTextsCarriesOneStampOfBoth) {
    const std::string single = BuildCatalogText(testing::TestFont(), false);
    const std::string dbl = BuildCatalogText(testing::TestFont(), true);
    auto stamped = [](std::string a, std::string b) {
        StampCatalogPair(a, b);
        return std::pair{a, b};
    };
    const auto [a, b] = stamped(single, dbl);
    for (const auto& [text, plain, kind] : {std::tuple{a, single, CatalogKind::SingleByte},
                                            std::tuple{b, dbl, CatalogKind::DoubleByte}}) {
        EXPECT_TRUE(CheckCatalogWhole(text, kind));
        const GlyphCatalog read = testing::ReadCatalogText(text, kind),
                           was = testing::ReadCatalogText(plain, kind);
        ASSERT_EQ(read.size(), was.size());
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].text, was[i].text);
            EXPECT_EQ(read[i].pixels.size(), was[i].pixels.size());
        }
    }
    ASSERT_TRUE(CatalogPairStamp(a));
    EXPECT_FALSE(CatalogPairStamp(single));
    EXPECT_EQ(CatalogPairStamp(a), CatalogPairStamp(b));
    EXPECT_EQ(stamped(single, dbl), std::pair(a, b));
    std::string otherSingle = single;
    otherSingle.insert(0, "65, 0, 5, 1, 0, 0\n");
    otherSingle.replace(
        otherSingle.rfind("end, "), std::string::npos,
        CatalogEndLine(std::count(otherSingle.begin(), otherSingle.end(), '\n') - 1) + "\n");
    ASSERT_TRUE(CheckCatalogWhole(otherSingle, CatalogKind::SingleByte));
    EXPECT_NE(CatalogPairStamp(stamped(otherSingle, dbl).second), CatalogPairStamp(b));
}

TEST(MonaFontOpen, NamesTheFileAndWhyItCannotBeUsed) {
    const std::string golden = std::string(FUDELINE_SOURCE_DIR) + "/tests/golden/";
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {golden + "no-such-font.pcf.gz", "No such file or directory"},
        {golden + "dir-catalogue", "is a directory"},
        {golden + "minus.pbm", "not a font"},
    };
    for (const auto& c : cases) {
        const auto font = MonaFont::Open(c.path);
        ASSERT_FALSE(font) << c.path;
        EXPECT_EQ(font.error().path, c.path);
        EXPECT_NE(font.error().Reason().find(c.reason), std::string::npos) << font.error().Reason();
    }
}

}  // namespace
}  // namespace fudeline
