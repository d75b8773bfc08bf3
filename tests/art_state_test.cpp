#include "canvas/art_state.h"

#include <gtest/gtest.h>

#include <limits>

#include "test_catalogs.h"

namespace fudeline {
namespace {

// Client coordinates of canvas point (x, y).
constexpr int CX(int x) {
    return x + kCanvasLeft;
}
constexpr int CY(int y) {
    return y + kCanvasTop;
}

class ArtStateTest : public ::testing::Test {
  protected:
    static GlyphCatalog OnePixelGlyph() {
        GlyphCatalog catalog = testing::ReadCatalogText("124, 0, 3, 1, 0, 0\n");
        TrimGlyphPatterns(catalog);
        return catalog;
    }
    void Stroke(std::initializer_list<std::pair<int, int>> canvasPoints) {
        auto it = canvasPoints.begin();
        state_.LeftButtonDown(CX(it->first), CY(it->second));
        for (++it; it != canvasPoints.end(); ++it) {
            state_.MouseMove(CX(it->first), CY(it->second));
            state_.RunPendingConversion();
        }
        state_.LeftButtonUp();
        state_.RunPendingConversion();
    }
    int InkCount() const {
        int n = 0;
        for (int y = 0; y < kInkHeight; ++y) {
            for (int x = 0; x < kCanvasWidth; ++x) n += state_.inkLayer().Pixel(x, y) == kBlack;
        }
        return n;
    }

    GlyphCatalog catalog_ = OnePixelGlyph();
    RowMatcher matcher_{catalog_};
    ArtState state_{matcher_, nullptr};
};

TEST(ToInkPoint, SqueezesEighteenRowsIntoSixteen) {
    EXPECT_EQ(ToInkPoint({5, 17}).y, 15);
    EXPECT_EQ(ToInkPoint({5, 18}).y, 16);
    EXPECT_EQ(ToInkPoint({5, 521}).y, 463);
    EXPECT_EQ(ToInkPoint({5, -1}).y, 0);
    EXPECT_EQ(ToInkPoint({5, -20}).y, -17);
    EXPECT_EQ(ToInkPoint({5, 7}).x, 5);
}

TEST_F(ArtStateTest, IndicatorHitAreaTogglesThePen) {
    EXPECT_EQ(state_.LeftButtonDown(43, 31), PressOutcome::PenToggled);
    EXPECT_FALSE(state_.penMode());
    EXPECT_EQ(state_.LeftButtonDown(11, 11), PressOutcome::PenToggled);
    EXPECT_TRUE(state_.penMode());
    EXPECT_EQ(state_.LeftButtonDown(44, 11), PressOutcome::None);
    EXPECT_EQ(state_.LeftButtonDown(11, 32), PressOutcome::None);
    EXPECT_FALSE(state_.traceActive());
}

TEST_F(ArtStateTest, CanvasCornersStartTraces) {
    EXPECT_EQ(state_.LeftButtonDown(12, 40), PressOutcome::TraceStarted);
    EXPECT_EQ(state_.trace().back(), (TracePoint{0, 0}));
    state_.LeftButtonUp();
    EXPECT_EQ(state_.LeftButtonDown(811, 561), PressOutcome::TraceStarted);
    EXPECT_EQ(state_.trace().back(), (TracePoint{799, 521}));
    state_.LeftButtonUp();
    EXPECT_EQ(state_.LeftButtonDown(812, 100), PressOutcome::None);
    EXPECT_TRUE(state_.trace().empty());
}

TEST_F(ArtStateTest, ClickWithoutMoveDrawsNothing) {
    state_.LeftButtonDown(CX(10), CY(10));
    EXPECT_FALSE(state_.conversionPending());
    EXPECT_FALSE(state_.RunPendingConversion());
    EXPECT_EQ(state_.inkMinX(), 10);
    EXPECT_EQ(state_.inkMaxX(), 11);
    state_.LeftButtonUp();
    EXPECT_EQ(InkCount(), 0);
}

TEST_F(ArtStateTest, InkExtentWidensClampsAndNeverNarrows) {
    Stroke({{100, 50}, {-30, 50}, {900, 50}});
    EXPECT_EQ(state_.inkMinX(), 0);
    EXPECT_EQ(state_.inkMaxX(), 799);
    state_.ClearCanvas();
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.inkMinX(), 0);
    EXPECT_EQ(state_.inkMaxX(), 799);
}

TEST_F(ArtStateTest, PenSegmentInksItsPixelsAndMatchesItsRow) {
    Stroke({{10, 36}, {20, 36}});  // ink y 32: row 2
    for (int x = 10; x < 20; ++x) EXPECT_EQ(state_.inkLayer().Pixel(x, 32), kBlack);
    EXPECT_EQ(InkCount(), 10);
    EXPECT_EQ(state_.rows()[2].size(), 10u / 3u + 1u);  // 3-pixel glyph every 3 columns
    EXPECT_EQ(state_.rows()[2][0].gap, 10);
}

TEST_F(ArtStateTest, NoSegmentIsLostBetweenPaints) {
    // Three moves before one paint, and the button released before it.
    state_.LeftButtonDown(CX(10), CY(10));
    state_.MouseMove(CX(30), CY(10));
    state_.MouseMove(CX(30), CY(100));
    state_.MouseMove(CX(60), CY(100));
    state_.LeftButtonUp();
    EXPECT_TRUE(state_.RunPendingConversion());
    EXPECT_EQ(state_.inkLayer().Pixel(10, ToInkPoint({10, 10}).y), kBlack);
    EXPECT_EQ(state_.inkLayer().Pixel(30, ToInkPoint({30, 50}).y), kBlack);
    EXPECT_EQ(state_.inkLayer().Pixel(59, ToInkPoint({59, 100}).y), kBlack);
    // Every row between the first and the last segment was matched.
    for (int row = 0; row <= 5; ++row)
        EXPECT_FALSE(state_.rows()[static_cast<std::size_t>(row)].empty()) << row;
}

TEST_F(ArtStateTest, SegmentsWaitingForAPaintStayWithTheirStroke) {
    // A quick stroke, then undo before any paint: the stroke's segments must
    // not land on the restored canvas.
    state_.LeftButtonDown(CX(10), CY(100));
    state_.MouseMove(CX(60), CY(100));
    state_.LeftButtonUp();
    state_.ExchangeWithUndo();
    state_.RunPendingConversion();
    EXPECT_EQ(InkCount(), 0);
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 50);

    // The same with clear, and with the next stroke's snapshot.
    state_.LeftButtonDown(CX(10), CY(200));
    state_.MouseMove(CX(30), CY(200));
    state_.LeftButtonUp();
    state_.ClearCanvas();
    state_.RunPendingConversion();
    EXPECT_EQ(InkCount(), 0);
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 70);
    state_.LeftButtonDown(CX(10), CY(300));
    state_.MouseMove(CX(20), CY(300));
    state_.LeftButtonDown(CX(10), CY(400));  // the release was lost
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 80);  // the snapshot already held the first segment
}

TEST_F(ArtStateTest, EraserSpillIntoTheNextBandRematchesThatRow) {
    // Ink in row 1, near its top; an eraser stroke in row 0 reaches it.
    Stroke({{100, 20}, {140, 20}});  // ink y 17
    ASSERT_FALSE(state_.rows()[1].empty());
    state_.LeftButtonDown(kIndicatorLeft, kIndicatorTop);  // eraser
    Stroke({{90, 17}, {150, 17}});                         // ink y 15: row 0 by its ends
    EXPECT_EQ(state_.inkLayer().Pixel(120, 17), kLightGrey);
    EXPECT_TRUE(state_.rows()[1].empty());
}

TEST_F(ArtStateTest, SegmentsOutsideAllRowsMatchNothing) {
    Stroke({{100, 50}, {120, 50}});
    const TextRows before = state_.rows();
    Stroke({{100, -40}, {200, -18}});  // both ends in ink rows below 0
    Stroke({{100, 522}, {200, 700}});
    EXPECT_EQ(state_.rows(), before);
}

TEST_F(ArtStateTest, UndoExchangesAndRedoes) {
    Stroke({{10, 36}, {20, 36}});
    const TextRows first = state_.rows();
    const Image firstInk = state_.inkLayer();
    Stroke({{10, 100}, {40, 100}});
    const TextRows second = state_.rows();
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.rows(), first);
    EXPECT_EQ(state_.inkLayer(), firstInk);
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.rows(), second);
    // One level only: the first stroke cannot be undone.
    state_.ExchangeWithUndo();
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.rows(), second);
}

TEST_F(ArtStateTest, UndoBeforeDrawingKeepsABlankCanvas) {
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 0);
    for (const TextRow& row : state_.rows()) EXPECT_TRUE(row.empty());
}

TEST_F(ArtStateTest, ClearSavesSoItCanBeUndone) {
    Stroke({{10, 36}, {20, 36}});
    const TextRows drawn = state_.rows();
    state_.ClearCanvas();
    EXPECT_EQ(InkCount(), 0);
    for (const TextRow& row : state_.rows()) EXPECT_TRUE(row.empty());
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.rows(), drawn);
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 0);
    // After a clear the next stroke's snapshot is the blank canvas.
    Stroke({{10, 200}, {20, 200}});
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 0);
}

TEST_F(ArtStateTest, StrokeFarOutsideTheCanvasIsCheap) {
    state_.LeftButtonDown(CX(10), CY(10));
    state_.MouseMove(-32768, -32768);
    state_.MouseMove(32767, 32767);
    state_.MouseMove(-32768, 32767);
    state_.LeftButtonUp();
    EXPECT_TRUE(state_.RunPendingConversion());
    EXPECT_EQ(state_.inkLayer().Pixel(799, 100), kWhite);  // column 799 is never inked

    // Positions past 16 bits, from a caller other than a window.
    state_.LeftButtonDown(CX(10), CY(10));
    state_.MouseMove(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    state_.MouseMove(std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
    state_.LeftButtonUp();
    EXPECT_TRUE(state_.RunPendingConversion());
    EXPECT_EQ(state_.trace().size(), 0u);
}

TEST_F(ArtStateTest, MillionPointStrokeKeepsOnePointEach) {
    state_.LeftButtonDown(CX(100), CY(100));
    for (int i = 1; i <= 1000000; ++i) {
        // Zigzag in and far out of the canvas.
        const int x = (i % 7 == 0) ? -30000 : CX(100 + i % 50);
        state_.MouseMove(x, CY(100 + i % 40));
        if (i % 100000 == 0) state_.RunPendingConversion();
    }
    EXPECT_EQ(state_.trace().size(), 1000001u);
    EXPECT_LE(state_.trace().capacity(), 2 * state_.trace().size());
    EXPECT_FALSE(state_.preview().Empty());
    state_.LeftButtonUp();
    EXPECT_TRUE(state_.preview().Empty());
    EXPECT_FALSE(state_.rows()[5].empty());
}

TEST_F(ArtStateTest, ReleaseWithoutPressAndPressWithoutMoveChangeNothing) {
    EXPECT_FALSE(state_.LeftButtonUp());
    state_.LeftButtonDown(CX(50), CY(50));
    EXPECT_TRUE(state_.LeftButtonUp());
    EXPECT_FALSE(state_.RunPendingConversion());
    EXPECT_EQ(InkCount(), 0);
    EXPECT_FALSE(state_.MouseMove(CX(60), CY(60)));  // no stroke: moves are ignored
}

}  // namespace
}  // namespace fudeline
