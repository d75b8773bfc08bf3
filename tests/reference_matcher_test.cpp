#include "match/reference_matcher.h"

#include <gtest/gtest.h>

#include "pixels/geometry.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

using testing::ReadCatalogText;

GlyphCatalog Trimmed(const std::string& text) {
    GlyphCatalog catalog = ReadCatalogText(text);
    TrimGlyphPatterns(catalog);
    return catalog;
}

// The minus-like glyph of the worked example: four pixels in line 8.
const char* kDash = "45, 0, 8, 4, 0, 8, 1, 8, 2, 8, 3, 8\n";

TEST(ScoreGlyph, WorkedScores) {
    const GlyphCatalog dash = Trimmed(kDash);
    ASSERT_EQ(dash[0].fullPenalty, 67108864);
    InkWindow window;
    for (int j = 0; j < 3; ++j) window.Set(1 + j, 9);   // ink under pixels 0-2
    EXPECT_EQ(ScoreGlyph(dash[0], window), 234881024);  // pixel 3: half weight
    window.rows[9] &= ~(1u << 3);                       // ink under pixels 0-1
    EXPECT_EQ(ScoreGlyph(dash[0], window), 167772160);  // half, then full weight
    window.Set(3, 8);                                   // ink above pixel 2 ...
    window.Set(4, 10);                                  // ... and below pixel 3
    EXPECT_EQ(ScoreGlyph(dash[0], window), 201326592);  // both half now
}

TEST(BestGlyphReference, HighestScoreWins) {
    const GlyphCatalog catalog =
        Trimmed(std::string(kDash) + "66, 0, 8, 4, 0, 0, 0, 1, 0, 2, 0, 15\n");
    InkWindow window;
    for (int j = 0; j < 3; ++j) window.Set(1 + j, 9);
    for (int r = 1; r <= 3; ++r) window.Set(1, r);
    EXPECT_EQ(BestGlyphReference(catalog, window), 0);  // 234881024 > 201326592
    window.rows[9] &= ~(1u << 3);
    EXPECT_EQ(BestGlyphReference(catalog, window), 1);  // 167772160 < 201326592
}

TEST(BestGlyphReference, LaterGlyphWinsTies) {
    const GlyphCatalog catalog =
        Trimmed("65, 0, 5, 1, 0, 0\n66, 0, 5, 1, 0, 0\n67, 0, 5, 1, 0, 5\n");
    InkWindow window;
    window.Set(1, 1);
    EXPECT_EQ(BestGlyphReference(catalog, window), 1);  // A and B tie; C scores less
    window.Set(1, 6);
    EXPECT_EQ(BestGlyphReference(catalog, window), 2);  // all three tie
}

TEST(BestGlyphReference, EmptyCatalogueAndOutOfWindowPixels) {
    InkWindow window;
    window.Set(1, 1);
    EXPECT_EQ(BestGlyphReference({}, window), -1);
    // A pattern pixel far outside the window counts as blank with no ink near.
    Glyph far;
    far.text = "F";
    far.width = 4;
    far.pixels = {{0, 0}, {500, -300}};
    far.fullPenalty = kBestScore / 2;
    far.halfPenalty = far.fullPenalty / 2;
    EXPECT_EQ(BestGlyphReference({far}, window), 0);
}

TEST(NormaliseGap, OneAndTwoCannotBeComposed) {
    EXPECT_EQ(NormaliseGap(-5), 0);
    EXPECT_EQ(NormaliseGap(0), 0);
    EXPECT_EQ(NormaliseGap(1), 0);
    EXPECT_EQ(NormaliseGap(2), 3);
    EXPECT_EQ(NormaliseGap(3), 3);
    EXPECT_EQ(NormaliseGap(100), 100);
}

class MatchRowTest : public ::testing::Test {
  protected:
    Image ink_{kCanvasWidth, kInkHeight};
    GlyphCatalog catalog_ = Trimmed(std::string(kDash) + "124, 0, 3, 16, " + [] {
        std::string s;
        for (int y = 0; y < 16; ++y) s += (y ? ", " : "") + std::string("0, ") + std::to_string(y);
        return s;
    }() + "\n");
};

TEST_F(MatchRowTest, GapsCountFromTheCanvasEdgeAndBetweenCells) {
    for (int x = 100; x < 104; ++x) ink_.SetPixel(x, 16 * 2 + 8, kBlack);
    for (int x = 120; x < 124; ++x) ink_.SetPixel(x, 16 * 2 + 8, kBlack);
    for (int minX : {0, 50, 100}) {
        const TextRow row = MatchRowReference(catalog_, ink_, 2, minX, 799);
        ASSERT_EQ(row.size(), 2u) << minX;
        EXPECT_EQ(row[0], (TextCell{100, "-", 8}));
        EXPECT_EQ(row[1], (TextCell{12, "-", 8}));  // 120 - (100 + 8)
    }
    // Columns at or past inkMaxX are not scanned.
    EXPECT_EQ(MatchRowReference(catalog_, ink_, 2, 0, 110).size(), 1u);
    EXPECT_TRUE(MatchRowReference(catalog_, ink_, 2, 0, 100).empty());
    EXPECT_TRUE(MatchRowReference(catalog_, ink_, 1, 0, 799).empty());
}

TEST_F(MatchRowTest, HitsOnlyInTheRowsOwnBand) {
    ink_.SetPixel(40, 16 * 3 + 15, kBlack);  // last line of band 3
    EXPECT_EQ(MatchRowReference(catalog_, ink_, 3, 0, 799).size(), 1u);
    EXPECT_TRUE(MatchRowReference(catalog_, ink_, 2, 0, 799).empty());
    ink_.SetPixel(60, 16 * 4, kBlack);  // first line of band 4: in row 3's window only
    EXPECT_EQ(MatchRowReference(catalog_, ink_, 3, 0, 799).size(), 1u);
}

TEST_F(MatchRowTest, GapOfTwoIsStoredAsThree) {
    for (int x = 10; x < 14; ++x) ink_.SetPixel(x, 8, kBlack);
    for (int x = 20; x < 24; ++x) ink_.SetPixel(x, 8, kBlack);  // 20 - 18 = 2
    const TextRow row = MatchRowReference(catalog_, ink_, 0, 0, 799);
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[1].gap, 3);
}

TEST_F(MatchRowTest, EmptyCatalogueAndEmptyRangePlaceNothing) {
    ink_.SetPixel(10, 8, kBlack);
    EXPECT_TRUE(MatchRowReference({}, ink_, 0, 0, 799).empty());
    EXPECT_TRUE(MatchRowReference(catalog_, ink_, 0, 799, 0).empty());
}

TEST_F(MatchRowTest, WindowSeesNothingBeyondColumn799) {
    // Hit at 790: window columns from 800 on must read as blank.
    InkWindow window = ReadInkWindow(ink_, 790, 0);
    for (int j = 0; j < kWindowColumns; ++j) EXPECT_FALSE(window.IsInk(j, 1));
    ink_.SetPixel(0, 0, kBlack);
    window = ReadInkWindow(ink_, 0, 0);
    EXPECT_FALSE(window.IsInk(0, 1));  // x = -1
    EXPECT_TRUE(window.IsInk(1, 1));
    EXPECT_FALSE(window.IsInk(1, 0));  // y = -1
}

}  // namespace
}  // namespace fudeline
