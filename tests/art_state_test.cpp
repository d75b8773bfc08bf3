#include "session/art_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <set>

#include "glyphs/cp932.h"
#include "glyphs/mona_font.h"
#include "random_ink.h"
#include "render/text_art_cells.h"
#include "render/text_art_ink.h"
#include "render/text_painter.h"
#include "test_catalogs.h"
#include "test_sessions.h"
#include "text/gap_composer.h"

namespace fudeline {
namespace {

class ArtStateTest : public ::testing::Test {
  protected:
    static GlyphCatalog OnePixelGlyph() {
        GlyphCatalog catalog = testing::ReadCatalogText("124, 0, 3, 1, 0, 0\n");
        TrimGlyphPatterns(catalog);
        return catalog;
    }
    void Stroke(std::initializer_list<std::pair<int, int>> canvasPoints) {
        auto it = canvasPoints.begin();
        state_.BeginStroke({it->first, it->second});
        for (++it; it != canvasPoints.end(); ++it) {
            state_.ExtendStroke({it->first, it->second});
            state_.RunPendingConversion();
        }
        state_.EndStroke();
        state_.RunPendingConversion();
    }
    // A straight stroke whose segments wait for the next paint.
    void UnpaintedStroke(PenPoint from, PenPoint to) {
        state_.BeginStroke(from);
        state_.ExtendStroke(to);
        state_.EndStroke();
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

TEST_F(ArtStateTest, PenModeToggles) {
    state_.TogglePenMode();
    EXPECT_FALSE(state_.penMode());
    state_.TogglePenMode();
    EXPECT_TRUE(state_.penMode());
    EXPECT_FALSE(state_.strokeActive());
}

TEST_F(ArtStateTest, ClickWithoutMoveDrawsNothing) {
    state_.BeginStroke({10, 10});
    EXPECT_FALSE(state_.conversionPending());
    EXPECT_FALSE(state_.RunPendingConversion());
    EXPECT_EQ(state_.inkMinX(), 10);
    EXPECT_EQ(state_.inkMaxX(), 11);
    state_.EndStroke();
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
    state_.BeginStroke({10, 10});
    state_.ExtendStroke({30, 10});
    state_.ExtendStroke({30, 100});
    state_.ExtendStroke({60, 100});
    state_.EndStroke();
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
    UnpaintedStroke({10, 100}, {60, 100});
    state_.ExchangeWithUndo();
    state_.RunPendingConversion();
    EXPECT_EQ(InkCount(), 0);
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 50);

    // The same with clear, and with the next stroke's snapshot.
    UnpaintedStroke({10, 200}, {30, 200});
    state_.ClearCanvas();
    state_.RunPendingConversion();
    EXPECT_EQ(InkCount(), 0);
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 70);
    state_.BeginStroke({10, 300});
    state_.ExtendStroke({20, 300});
    state_.BeginStroke({10, 400});  // the release was lost
    state_.ExchangeWithUndo();
    EXPECT_EQ(InkCount(), 80);  // the snapshot already held the first segment
}

TEST_F(ArtStateTest, EraserSpillIntoTheNextBandRematchesThatRow) {
    // Ink in row 1, near its top; an eraser stroke in row 0 reaches it.
    Stroke({{100, 20}, {140, 20}});  // ink y 17
    ASSERT_FALSE(state_.rows()[1].empty());
    state_.TogglePenMode();         // eraser
    Stroke({{90, 17}, {150, 17}});  // ink y 15: row 0 by its ends
    EXPECT_EQ(state_.inkLayer().Pixel(120, 17), kLightGrey);
    EXPECT_TRUE(state_.rows()[1].empty());
}

TEST_F(ArtStateTest, TheEraserTakesAsWideAStripAsItIsSetTo) {
    // An upright pen line at x 300; the eraser passes beside it, upright.
    const struct {
        int width, x;
        bool taken;
    } cases[] = {
        {4, 301, true},  {4, 303, false}, {kWidePenWidth, 303, true}, {kWidePenWidth, 305, false},
        {16, 307, true}, {16, 309, false}, {16, 293, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " at " << c.x);
        ArtState state(matcher_, nullptr);
        state.BeginStroke({300, 50});
        state.ExtendStroke({300, 150});
        state.EndStroke();
        state.RunPendingConversion();
        ASSERT_FALSE(state.rows()[4].empty());
        state.TogglePenMode();
        state.SetEraserWidth(c.width);
        state.BeginStroke({c.x, 80});
        state.ExtendStroke({c.x, 110});
        state.EndStroke();
        state.RunPendingConversion();
        EXPECT_EQ(state.inkLayer().Pixel(300, 84) == kBlack, !c.taken);
        // What the eraser took is read again: the row is empty where the
        // whole of its band's ink went.
        EXPECT_EQ(state.rows()[5].empty(), c.taken);
    }
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
    state_.BeginStroke({10, 10});
    state_.ExtendStroke({-32780, -32808});
    state_.ExtendStroke({32755, 32727});
    state_.ExtendStroke({-32780, 32727});
    state_.EndStroke();
    EXPECT_TRUE(state_.RunPendingConversion());
    EXPECT_EQ(state_.inkLayer().Pixel(799, 100), kWhite);  // column 799 is never inked

    // Positions past 16 bits, from a caller other than a window.
    state_.BeginStroke({10, 10});
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    state_.ExtendStroke({kMin, kMax});
    state_.ExtendStroke({kMax, kMin});
    state_.EndStroke();
    EXPECT_TRUE(state_.RunPendingConversion());
    EXPECT_EQ(state_.inkMinX(), 0);
    EXPECT_EQ(state_.inkMaxX(), 799);
}

TEST_F(ArtStateTest, MillionPointStrokeInksEverySegmentInOrder) {
    state_.BeginStroke({100, 100});
    for (int i = 1; i <= 1000000; ++i) {
        // Zigzag in and far out of the canvas.
        const int x = (i % 7 == 0) ? -30000 : 100 + i % 50;
        state_.ExtendStroke({x, 100 + i % 40});
        if (i % 100000 == 0) state_.RunPendingConversion();
    }
    EXPECT_FALSE(state_.preview().Empty());
    // The last segment runs from the point before it: (99, 139) to (100, 100).
    state_.ExtendStroke({300, 100});
    state_.EndStroke();
    EXPECT_TRUE(state_.preview().Empty());
    state_.RunPendingConversion();
    EXPECT_EQ(state_.inkLayer().Pixel(299, ToInkPoint({299, 100}).y), kBlack);
    EXPECT_EQ(state_.inkLayer().Pixel(200, ToInkPoint({200, 100}).y), kBlack);
    EXPECT_FALSE(state_.rows()[5].empty());
}

TEST_F(ArtStateTest, ReplaceAndAddInkAreOneUndoableStepEach) {
    Stroke({{10, 36}, {20, 36}});
    const TextRows drawn = state_.rows();
    Image picture(kCanvasWidth, kInkHeight);
    for (int x = 200; x < 260; ++x) picture.SetPixel(x, 100, kBlack);

    state_.ReplaceInk(picture);
    EXPECT_EQ(InkCount(), 60);
    EXPECT_TRUE(state_.rows()[2].empty());
    EXPECT_FALSE(state_.rows()[6].empty());
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.rows(), drawn);

    state_.AddInk(picture);
    EXPECT_EQ(InkCount(), 70);
    EXPECT_FALSE(state_.rows()[2].empty());
    EXPECT_FALSE(state_.rows()[6].empty());
    state_.ExchangeWithUndo();
    EXPECT_EQ(state_.rows(), drawn);
}

// A stroke given up mid-way leaves the drawing before it, whether its
// segments were painted or still waiting, and undo cannot bring it back.
TEST_F(ArtStateTest, CancelledStrokeLeavesNoTraceNotEvenForUndo) {
    Stroke({{10, 36}, {20, 36}});
    const TextRows before = state_.rows();
    const Image beforeInk = state_.inkLayer();
    for (const bool painted : {false, true}) {
        SCOPED_TRACE(painted ? "painted" : "waiting");
        state_.BeginStroke({10, 100});
        state_.ExtendStroke({40, 100});
        if (painted) state_.RunPendingConversion();
        EXPECT_TRUE(state_.CancelStroke());
        EXPECT_FALSE(state_.strokeActive());
        EXPECT_EQ(state_.rows(), before);
        EXPECT_EQ(state_.inkLayer(), beforeInk);
        state_.ExchangeWithUndo();
        EXPECT_EQ(state_.inkLayer(), beforeInk);
        EXPECT_EQ(state_.rows(), before);
    }
    EXPECT_FALSE(state_.CancelStroke());  // no stroke under way
    EXPECT_EQ(state_.inkLayer(), beforeInk);
}

// The undo copy is made at the first step that needs it: whatever comes
// first, the drawing it brings back is a whole blank canvas that strokes ink,
// and a face keeping the session reads it whole.
TEST(FirstStep, BringsBackAWholeBlankCanvasWhateverItIs) {
    const GlyphCatalog catalog = [] {
        GlyphCatalog c = testing::ReadCatalogText("124, 0, 3, 1, 0, 0\n");
        TrimGlyphPatterns(c);
        return c;
    }();
    const RowMatcher matcher(catalog);
    const TextPainter painter(testing::TestFont());
    const Image blankInk(kCanvasWidth, kInkHeight);
    const Image blankText(kCanvasWidth, kCanvasHeight);
    auto stroke = [](ArtState& state, PenPoint from, PenPoint to) {
        state.BeginStroke(from);
        state.ExtendStroke(to);
        state.EndStroke();
        state.RunPendingConversion();
    };
    struct Case {
        const char* name;
        UndoMode mode;
        void (*first)(ArtState&);
    };
    auto undoFirstStroke = [](ArtState& s) {
        s.BeginStroke({10, 36});
        s.ExtendStroke({60, 36});
        s.EndStroke();
        s.RunPendingConversion();
        s.Undo();
    };
    const Case cases[] = {
        {"undo before drawing", UndoMode::Single, [](ArtState& s) { s.ExchangeWithUndo(); }},
        {"undo of the first stroke", UndoMode::Single, undoFirstStroke},
        {"undo of the first stroke, steps", UndoMode::Steps, undoFirstStroke},
        {"clear, then undo", UndoMode::Single,
         [](ArtState& s) {
             s.ClearCanvas();
             s.ExchangeWithUndo();
         }},
        {"first stroke given up", UndoMode::Steps,
         [](ArtState& s) {
             s.BeginStroke({10, 36});
             s.ExtendStroke({60, 36});
             s.RunPendingConversion();
             s.CancelStroke();
         }},
    };
    for (const Case& c : cases) {
        for (const TextPainter* p : {static_cast<const TextPainter*>(nullptr), &painter}) {
            SCOPED_TRACE(std::string(c.name) + (p ? ", drawn" : ", headless"));
            ArtState state(matcher, p);
            state.SetUndoMode(c.mode);
            ASSERT_EQ(state.undoInkLayer(), blankInk);
            c.first(state);
            ASSERT_EQ(state.inkLayer(), blankInk);
            if (p) {
                EXPECT_EQ(state.textLayer(), blankText);
            }
            for (const TextRow& row : state.rows()) EXPECT_TRUE(row.empty());
            // The canvas brought back takes ink as the first one did, and
            // undo goes back to it blank.
            stroke(state, {10, 100}, {80, 100});
            EXPECT_EQ(state.inkLayer().Pixel(40, ToInkPoint({40, 100}).y), kBlack);
            EXPECT_FALSE(state.rows()[5].empty());
            EXPECT_EQ(state.undoInkLayer(), blankInk);
            EXPECT_TRUE(state.Undo());
            EXPECT_EQ(state.inkLayer(), blankInk);
            for (const TextRow& row : state.rows()) EXPECT_TRUE(row.empty());
        }
    }
}

TEST_F(ArtStateTest, ReleaseWithoutPressAndPressWithoutMoveChangeNothing) {
    EXPECT_FALSE(state_.EndStroke());
    state_.BeginStroke({50, 50});
    EXPECT_TRUE(state_.EndStroke());
    EXPECT_FALSE(state_.RunPendingConversion());
    EXPECT_EQ(InkCount(), 0);
    EXPECT_FALSE(state_.ExtendStroke({60, 60}));  // no stroke: moves are ignored
}

// --- Steadied strokes and Shift's straight lines.

// A pointer event: `straight` is Shift held.
struct PointerMove {
    PenPoint p;
    bool straight = false;
};

class StrokeInputTest : public ArtStateTest {
  protected:
    // The ink a fresh session holds after `strokes`, each a press and its
    // moves, then the release, drawn with `stabilizer` (pen unless `eraser`).
    Image InkOf(const std::vector<std::vector<PointerMove>>& strokes, Stabilizer stabilizer,
                bool eraser = false) {
        ArtState state(matcher_, nullptr);
        if (eraser) {
            state.LayInk(FullInk());
            state.TogglePenMode();
        }
        state.SetStabilizer(stabilizer);
        for (const auto& stroke : strokes) {
            state.BeginStroke(stroke.front().p, stroke.front().straight);
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                state.ExtendStroke(stroke[i].p, stroke[i].straight);
                state.RunPendingConversion();
            }
            state.EndStroke();
            state.RunPendingConversion();
        }
        return state.inkLayer();
    }
    static Image FullInk() {
        Image ink(kCanvasWidth, kInkHeight, kBlack);
        return ink;
    }
    static std::vector<PointerMove> Freehand(std::initializer_list<PenPoint> points) {
        std::vector<PointerMove> moves;
        for (const PenPoint p : points) moves.push_back({p, false});
        return moves;
    }
    static bool SameInk(const Image& a, const Image& b) {
        for (int y = 0; y < kInkHeight; ++y) {
            for (int x = 0; x < kCanvasWidth; ++x) {
                if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
            }
        }
        return true;
    }
};

// Straight strokes keep every pixel they had without the stabilizer: it
// takes nothing from their ends, and adds nothing beside them.
TEST_F(StrokeInputTest, SteadiedStraightStrokesInkWhatTheyInkUnsteadied) {
    const std::vector<std::vector<PointerMove>> strokes[] = {
        {Freehand({{20, 100}, {27, 100}, {34, 100}, {41, 100}, {300, 100}})},
        {Freehand({{400, 20}, {400, 22}, {400, 30}, {400, 31}, {400, 200}, {400, 210}})},
        {Freehand({{50, 50}, {51, 50}})},
        {Freehand({{50, 50}, {50, 50}})},
        {Freehand({{100, 300}, {100, 300}, {110, 300}})},
    };
    for (const bool eraser : {false, true}) {
        for (const auto& stroke : strokes) {
            const Image plain = InkOf(stroke, Stabilizer::Off, eraser);
            for (const Stabilizer s : {Stabilizer::Weak, Stabilizer::Strong}) {
                EXPECT_TRUE(SameInk(InkOf(stroke, s, eraser), plain))
                    << StabilizerName(s) << (eraser ? ", eraser" : ", pen") << ", stroke from "
                    << stroke[0].front().p.x << ", " << stroke[0].front().p.y;
            }
        }
    }
}

// A wobbly stroke settles to the straight line through its ends: the ink is
// that line's, over ink drawn before it that the wobble crossed, and undo
// gives back the drawing before the stroke. Off keeps the wobble.
TEST_F(StrokeInputTest, AWobblyStrokeSettlesToItsLineOverTheInkBeforeIt) {
    const std::vector<PointerMove> upright = Freehand({{200, 40}, {200, 300}});
    std::vector<PointerMove> wobbly;
    for (int x = 100; x <= 340; x += 4) wobbly.push_back({{x, 150 + (x / 4 % 3) - 1}});
    const std::vector<PointerMove> straight = Freehand({wobbly.front().p, wobbly.back().p});
    for (const Stabilizer s : {Stabilizer::Weak, Stabilizer::Strong}) {
        EXPECT_TRUE(SameInk(InkOf({upright, wobbly}, s), InkOf({upright, straight}, Stabilizer::Off)))
            << StabilizerName(s);
    }
    EXPECT_FALSE(SameInk(InkOf({upright, wobbly}, Stabilizer::Off), InkOf({upright, straight}, Stabilizer::Off)));

    ArtState state(matcher_, nullptr);
    state.SetStabilizer(Stabilizer::Weak);
    state.BeginStroke(upright[0].p);
    state.ExtendStroke(upright[1].p);
    state.EndStroke();
    state.RunPendingConversion();
    const Image before = state.inkLayer();
    const TextRows rowsBefore = state.rows();
    state.BeginStroke(wobbly[0].p);
    for (std::size_t i = 1; i < wobbly.size(); ++i) {
        state.ExtendStroke(wobbly[i].p);
        state.RunPendingConversion();
    }
    state.EndStroke();
    state.RunPendingConversion();
    state.ExchangeWithUndo();
    EXPECT_TRUE(SameInk(state.inkLayer(), before));
    EXPECT_EQ(state.rows(), rowsBefore);

    // The history of steps keeps the settled stroke as one step: redrawn
    // over the ink before it, it still goes back to that ink and returns.
    ArtState stepped(matcher_, nullptr);
    stepped.SetUndoMode(UndoMode::Steps);
    stepped.SetStabilizer(Stabilizer::Weak);
    for (const std::vector<PointerMove>* stroke : {&upright, static_cast<const std::vector<PointerMove>*>(&wobbly)}) {
        stepped.BeginStroke(stroke->front().p);
        for (std::size_t i = 1; i < stroke->size(); ++i) {
            stepped.ExtendStroke((*stroke)[i].p);
            stepped.RunPendingConversion();
        }
        stepped.EndStroke();
        stepped.RunPendingConversion();
    }
    const Image settled = stepped.inkLayer();
    const TextRows rowsSettled = stepped.rows();
    ASSERT_TRUE(stepped.Undo());
    EXPECT_TRUE(SameInk(stepped.inkLayer(), before));
    EXPECT_EQ(stepped.rows(), rowsBefore);
    ASSERT_TRUE(stepped.Redo());
    EXPECT_TRUE(SameInk(stepped.inkLayer(), settled));
    EXPECT_EQ(stepped.rows(), rowsSettled);
}

TEST_F(StrokeInputTest, TheStabilizerTakesEffectFromTheNextStroke) {
    state_.BeginStroke({20, 100});
    state_.SetStabilizer(Stabilizer::Strong);
    EXPECT_TRUE(state_.ExtendStroke({40, 110}));  // off still: the pen is on the pointer
    state_.EndStroke();
    EXPECT_EQ(state_.stabilizer(), Stabilizer::Strong);
    state_.BeginStroke({20, 200});
    EXPECT_FALSE(state_.ExtendStroke({21, 200}));  // a sixth of a pixel: the pen stays
    EXPECT_TRUE(state_.ExtendStroke({60, 200}));
}

// Shift: the line follows the pointer on the preview only, and is inked and
// converted once, from where it started to the pointer turned to 15°.
TEST_F(StrokeInputTest, AShiftLineIsShownWhileDraggedAndInkedWhenTheStrokeEnds) {
    // Where the pointer is when the button goes up: level but for 2
    // degrees, 79 degrees (a line at 75), up and to the left, a pixel away.
    const PenPoint pointers[] = {{300, 104}, {140, 300}, {40, 40}, {100, 101}};
    for (const Stabilizer stabilizer : {Stabilizer::Off, Stabilizer::Strong}) {
        for (const PenPoint pointer : pointers) {
            ArtState state(matcher_, nullptr);
            state.SetStabilizer(stabilizer);
            state.BeginStroke({100, 100}, true);
            for (const PenPoint p : {PenPoint{130, 180}, PenPoint{700, 120}, pointer}) {
                EXPECT_TRUE(state.ExtendStroke(p, true));
                EXPECT_FALSE(state.conversionPending());
                EXPECT_FALSE(state.preview().Empty());
            }
            EXPECT_FALSE(state.ExtendStroke(pointer, true));  // nothing new to show
            EXPECT_FALSE(state.RunPendingConversion());
            state.EndStroke();
            EXPECT_TRUE(state.preview().Empty());
            EXPECT_TRUE(state.RunPendingConversion());
            const PenPoint end = SnapToAngleStep({100, 100}, pointer);
            EXPECT_TRUE(SameInk(state.inkLayer(), InkOf({Freehand({{100, 100}, end})},
                                                        Stabilizer::Off)))
                << pointer.x << ", " << pointer.y;
        }
    }
    EXPECT_EQ(SnapToAngleStep({100, 100}, {300, 104}), (PenPoint{300, 100}));
    EXPECT_EQ(SnapToAngleStep({100, 100}, {140, 300}), (PenPoint{153, 297}));
}

// A press whose stroke's release never came (lost outside the window, or
// left out of a script) ends that stroke as the release would have.
TEST_F(StrokeInputTest, APressAfterALostReleaseEndsTheLastStrokeAsTheReleaseWould) {
    const std::vector<std::vector<PointerMove>> strokes[] = {
        {Freehand({{20, 100}, {40, 104}, {60, 99}, {80, 100}}), Freehand({{300, 300}, {310, 300}})},
        {{{{100, 200}, true}, {{200, 230}, true}, {{260, 250}, true}},
         Freehand({{300, 300}, {310, 300}})},
    };
    for (const Stabilizer s : {Stabilizer::Off, Stabilizer::Strong}) {
        for (const auto& two : strokes) {
            ArtState state(matcher_, nullptr);
            state.SetStabilizer(s);
            for (const auto& stroke : two) {
                state.BeginStroke(stroke.front().p, stroke.front().straight);
                for (std::size_t i = 1; i < stroke.size(); ++i) {
                    state.ExtendStroke(stroke[i].p, stroke[i].straight);
                }
            }
            state.EndStroke();
            state.RunPendingConversion();
            EXPECT_TRUE(SameInk(state.inkLayer(), InkOf(two, s))) << StabilizerName(s);
        }
    }
}

// Pressed mid-stroke, Shift starts its line where the pointer was (the
// freehand part first drawn there, as at a release); let go, the line stays
// and the stroke goes on freehand from its end.
TEST_F(StrokeInputTest, ShiftMidStrokeDrawsOnFromThePointerAndLettingGoGoesOnFromTheLine) {
    for (const Stabilizer stabilizer : {Stabilizer::Off, Stabilizer::Weak, Stabilizer::Strong}) {
        const std::vector<PointerMove> stroke{
            {{50, 60}},          {{70, 64}},          {{90, 61}},         {{110, 60}},
            {{150, 140}, true},  {{112, 200}, true},  {{110, 230}, true}, {{150, 235}},
            {{190, 250}},        {{230, 240}},
        };
        const PenPoint lineEnd = SnapToAngleStep({110, 60}, {110, 230});
        ASSERT_EQ(lineEnd, (PenPoint{110, 230}));
        // The same ink as the freehand part, the line and the freehand rest
        // drawn as three strokes that meet.
        const Image parts = InkOf({{stroke[0], stroke[1], stroke[2], stroke[3]},
                                   {{{110, 60}}, {lineEnd}},
                                   {{lineEnd}, stroke[7], stroke[8], stroke[9]}},
                                  stabilizer);
        EXPECT_TRUE(SameInk(InkOf({stroke}, stabilizer), parts)) << StabilizerName(stabilizer);
    }
}

// The same random session on a session that re-matches from where the ink
// changed and on one that re-matches touched rows from scratch: pen and
// eraser strokes (some starting off the canvas), undo and clear, with rows
// and text compared after every paint.
TEST(IncrementalRematching, SameRowsAndTextAsMatchingFromScratch) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const RowMatcher matcher(catalog);
    const TextPainter painter(testing::TestFont());
    ArtState incremental(matcher, &painter);
    ArtState fromScratch(matcher, &painter, Rematching::FromScratch);
    std::mt19937 rng(23);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto both = [&](auto&& action) {
        action(incremental);
        action(fromScratch);
    };
    // Over a dense drawing, so that every change meets cells, and in a small
    // part of the canvas, so that rows are changed again and again.
    const Image drawing = testing::RandomInk(testing::InkStyle::Dense, rng);
    both([&](ArtState& s) { s.LayInk(drawing); });
    auto expectSame = [&](int event) {
        ASSERT_EQ(incremental.rows(), fromScratch.rows()) << "event " << event;
        ASSERT_TRUE(incremental.textLayer() == fromScratch.textLayer()) << "event " << event;
    };
    for (int event = 0; event < 300; ++event) {
        const int kind = uniform(0, 19);
        if (kind == 0) {
            both([](ArtState& s) { s.ExchangeWithUndo(); });
        } else if (kind == 1) {
            both([](ArtState& s) { s.ClearCanvas(); });
        } else if (kind <= 5) {
            both([](ArtState& s) { s.TogglePenMode(); });
        } else {
            PenPoint p{uniform(-30, 250), uniform(-30, 150)};
            both([&](ArtState& s) { s.BeginStroke(p); });
            const int moves = uniform(1, 40);
            for (int m = 0; m < moves; ++m) {
                p = {p.x + uniform(-16, 16), p.y + uniform(-10, 10)};
                both([&](ArtState& s) { s.ExtendStroke(p); });
                // Some paints come only after several moves.
                if (uniform(0, 2) != 0) both([](ArtState& s) { s.RunPendingConversion(); });
                expectSame(event);
            }
            both([](ArtState& s) { s.EndStroke(); });
        }
        both([](ArtState& s) { s.RunPendingConversion(); });
        expectSame(event);
    }
}

// Undo and clear trade and blank only the rows a drawing marked, and keep the
// bands of both drawings: a random session of strokes, undo, clear and whole
// ink images, checked after every event against what the state held before
// (undo brings it back exactly), a blank canvas (clear), the text layer as a
// picture of the rows, and the rows as matching the ink afresh gives them.
TEST(UndoAndClear, KeepEveryLayerAndBandInStepWithTheDrawing) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const RowMatcher matcher(catalog);
    const TextPainter painter(testing::TestFont());
    ArtState state(matcher, &painter, Rematching::FromScratch);
    std::mt19937 rng(41);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    struct Snapshot {
        Image ink, text;
        TextRows rows;
    };
    auto take = [&] { return Snapshot{state.inkLayer(), state.textLayer(), state.rows()}; };
    Snapshot undo = take();
    const Image blankInk(kCanvasWidth, kInkHeight), blankText(kCanvasWidth, kCanvasHeight);
    auto check = [&](int event) {
        Image painted(kCanvasWidth, kCanvasHeight);
        for (int row = 0; row < kRowCount; ++row) {
            painter.DrawTextRow(painted, row, state.rows()[static_cast<std::size_t>(row)]);
        }
        ASSERT_TRUE(state.textLayer() == painted) << "event " << event;
        // Matching every row again from the bands gives what the ink gives.
        state.MatchRows(0, kRowCount - 1);
        for (int row = 0; row < kRowCount; ++row) {
            ASSERT_EQ(state.rows()[static_cast<std::size_t>(row)],
                      matcher.MatchRow(state.inkLayer(), row, state.inkMinX(), state.inkMaxX()))
                << "event " << event << ", row " << row;
        }
    };
    for (int event = 0; event < 400; ++event) {
        const int kind = uniform(0, 9);
        if (kind <= 1) {
            Snapshot now = take();
            state.ExchangeWithUndo();
            ASSERT_TRUE(state.inkLayer() == undo.ink) << "event " << event;
            ASSERT_TRUE(state.textLayer() == undo.text) << "event " << event;
            ASSERT_EQ(state.rows(), undo.rows) << "event " << event;
            undo = std::move(now);
        } else if (kind <= 3) {
            const int repeats = uniform(1, 3);  // a second clear in a row changes nothing
            for (int i = 0; i < repeats; ++i) {
                undo = take();
                state.ClearCanvas();
            }
            ASSERT_TRUE(state.inkLayer() == blankInk) << "event " << event;
            ASSERT_TRUE(state.textLayer() == blankText) << "event " << event;
            for (const TextRow& row : state.rows()) ASSERT_TRUE(row.empty());
        } else if (kind == 4) {
            undo = take();
            const Image picture = testing::RandomInk(testing::InkStyle::Sparse, rng);
            if (uniform(0, 1)) {
                state.AddInk(picture);
            } else {
                state.ReplaceInk(picture);
            }
        } else {
            if (uniform(0, 3) == 0) state.TogglePenMode();
            const bool moves = uniform(0, 5) != 0;  // a click alone draws nothing
            undo = take();
            PenPoint p{uniform(-30, 830), uniform(-30, 560)};
            state.BeginStroke(p);
            for (int m = moves ? uniform(1, 30) : 0; m > 0; --m) {
                p = {p.x + uniform(-40, 40), p.y + uniform(-30, 30)};
                state.ExtendStroke(p);
            }
            state.EndStroke();
        }
        state.RunPendingConversion();
        check(event);
    }
}

// Ink that lands only in a row's top margin changes that row's best glyph
// here: "B" (its pixel (2, 0) costs half with ink above it) ties "A" and, being
// later, wins. The row is not re-matched for it, but must catch up when next
// touched, including after an undo brings back the state before.
TEST(IncrementalRematching, MarginInkCatchesUpWhenTheRowIsNextTouchedAndAfterUndo) {
    GlyphCatalog catalog = testing::ReadCatalogText(
        "65, 0, 8, 4, 0, 0, 0, 1, 0, 2, 0, 10\n"
        "66, 0, 8, 2, 0, 0, 2, 0\n");
    TrimGlyphPatterns(catalog);
    const RowMatcher matcher(catalog);
    ArtState incremental(matcher, nullptr);
    ArtState fromScratch(matcher, nullptr, Rematching::FromScratch);
    Image drawing(kCanvasWidth, kInkHeight);
    for (int y = 16; y <= 18; ++y) drawing.SetPixel(100, y, kBlack);  // row 1, "A" fits best
    auto stroke = [&](PenPoint from, PenPoint to) {
        for (ArtState* s : {&incremental, &fromScratch}) {
            s->BeginStroke(from);
            s->ExtendStroke(to);
            s->EndStroke();
            s->RunPendingConversion();
        }
        ASSERT_EQ(incremental.rows(), fromScratch.rows());
    };
    auto rowOneText = [&] { return incremental.rows()[1].at(0).text; };
    for (ArtState* s : {&incremental, &fromScratch}) s->LayInk(drawing);
    ASSERT_EQ(rowOneText(), "A");
    stroke({102, 17}, {103, 17});  // ink (102, 15): row 0's band, row 1's margin
    EXPECT_EQ(rowOneText(), "A") << "a row whose margin alone changed keeps its cells";
    stroke({500, 20}, {501, 20});  // touches row 1
    EXPECT_EQ(rowOneText(), "B");
    for (ArtState* s : {&incremental, &fromScratch}) s->ExchangeWithUndo();
    ASSERT_EQ(incremental.rows(), fromScratch.rows());
    EXPECT_EQ(rowOneText(), "A");
    stroke({600, 20}, {601, 20});
    EXPECT_EQ(rowOneText(), "B");
}

}  // namespace
}  // namespace fudeline

namespace fudeline {
namespace {

using testing::Stroke;

// The session with the real catalogue and face, for the fine decoder.
class ArtStateFineTest : public ::testing::Test {
  protected:
    // Every row as decoding `ink` from scratch gives it.
    static TextRows Decoded(const Image& ink, const FineDecoder* fine) {
        TextRows rows;
        for (int row = 0; row < kRowCount; ++row) {
            rows[static_cast<std::size_t>(row)] =
                fine ? fine->DecodeRow(ink, row) : matcher_.MatchRow(ink, row, 0, 799);
        }
        return rows;
    }

    static inline const MonaFont* font_ = &testing::TestFont();
    static inline const GlyphCatalog& catalog_ = testing::Decoders().catalog;
    static inline const FineDecoder* fine_ = &testing::Decoders().fine;
    static inline const RowMatcher& matcher_ = testing::Decoders().matcher;
};

TEST_F(ArtStateFineTest, StrokesRedecodeEveryRowTheirInkReaches) {
    ArtState state(matcher_, nullptr);
    state.SetFineDecoder(fine_);
    // Canvas y 104 is ink y 94, two pixels above row 6: row 6 sees it too.
    // Canvas y 125 is ink y 111, the last line of row 6: row 7 sees it.
    struct Case {
        const char* name;
        std::initializer_list<PenPoint> points;
    };
    for (const Case& c : {Case{"near the bottom of a band", {{100, 104}, {300, 104}}},
                          Case{"on the last line of a band", {{400, 125}, {600, 125}}},
                          Case{"across bands", {{50, 20}, {90, 400}, {700, 300}}}}) {
        SCOPED_TRACE(c.name);
        Stroke(state, c.points);
        EXPECT_EQ(state.rows(), Decoded(state.inkLayer(), fine_));
    }
    // The pen reaches the neighbouring band: the eraser's wide line too.
    state.TogglePenMode();
    Stroke(state, {{100, 102}, {300, 102}});
    EXPECT_EQ(state.rows(), Decoded(state.inkLayer(), fine_));
}

// The fine decoder keeps each row's scores between decodings and scores
// again only where the ink changed: after strokes drawn move by move (with
// and without the stabilizer), erased, undone and a switch to the row
// matcher and back, every row is what a decoder that kept nothing gives.
TEST_F(ArtStateFineTest, KeptScoresGiveWhatDecodingAfreshGives) {
    const FineDecoder fresh(catalog_, *font_);
    for (const Stabilizer stabilizer : {Stabilizer::Off, Stabilizer::Weak, Stabilizer::Strong}) {
        SCOPED_TRACE(static_cast<int>(stabilizer));
        std::mt19937 rng(static_cast<unsigned>(stabilizer) + 7);
        ArtState state(matcher_, nullptr);
        state.SetStabilizer(stabilizer);
        state.SetFineDecoder(fine_);
        auto scribble = [&] {
            PenPoint p{static_cast<int>(rng() % 700) + 50, static_cast<int>(rng() % 400) + 30};
            state.BeginStroke(p);
            for (int step = 0; step < 40; ++step) {
                p.x = std::clamp(p.x + static_cast<int>(rng() % 15) - 7, 0, 799);
                p.y = std::clamp(p.y + static_cast<int>(rng() % 11) - 5, 0, 520);
                state.ExtendStroke(p);
                state.RunPendingConversion();
            }
            state.EndStroke();
            state.RunPendingConversion();
        };
        // Decoded afresh only at the end: the fresh decoder's own decodings
        // would leave the session's decoder nothing kept to reuse.
        std::vector<std::pair<TextRows, Image>> seen;
        for (int stroke = 0; stroke < 6; ++stroke) {
            if (stroke == 4) state.TogglePenMode();  // the eraser
            scribble();
            seen.emplace_back(state.rows(), state.inkLayer());
        }
        state.ExchangeWithUndo();
        seen.emplace_back(state.rows(), state.inkLayer());
        state.SetFineDecoder(nullptr);
        state.SetFineDecoder(fine_);
        seen.emplace_back(state.rows(), state.inkLayer());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].first, Decoded(seen[i].second, &fresh))
                << (i < 6 ? "after stroke " : i == 6 ? "undone " : "switched back ") << i;
        }
    }
}

// A replayed script decoded finely paints a drawing's moves together at the
// stroke's end: the rows must be those of a paint after every move, with
// Shift's lines, the eraser and undo. The row matcher, which matches up to
// the inked extent of each paint, is painted a move (see replay_script_test).
TEST_F(ArtStateFineTest, PaintsTakingSeveralMovesGiveWhatAPaintAMoveGives) {
    {
        const FineDecoder* decoder = fine_;
        for (const Stabilizer stabilizer : {Stabilizer::Off, Stabilizer::Weak, Stabilizer::Strong}) {
            SCOPED_TRACE(static_cast<int>(stabilizer));
            ArtState eachMove(matcher_, nullptr), together(matcher_, nullptr);
            for (ArtState* state : {&eachMove, &together}) {
                state->SetFineDecoder(decoder);
                state->SetStabilizer(stabilizer);
            }
            std::mt19937 rng(static_cast<unsigned>(stabilizer) + 11);
            for (int stroke = 0; stroke < 10; ++stroke) {
                if (stroke == 7) {
                    eachMove.TogglePenMode();  // the eraser
                    together.TogglePenMode();
                }
                PenPoint p{static_cast<int>(rng() % 700) + 50, static_cast<int>(rng() % 400) + 30};
                const bool shiftFrom = stroke % 3 == 1;
                eachMove.BeginStroke(p);
                together.BeginStroke(p);
                for (int step = 0; step < 30; ++step) {
                    p.x = std::clamp(p.x + static_cast<int>(rng() % 21) - 10, 0, 799);
                    p.y = std::clamp(p.y + static_cast<int>(rng() % 15) - 7, 0, 520);
                    const bool shift = shiftFrom && step > 10 && step < 20;
                    eachMove.ExtendStroke(p, shift);
                    eachMove.RunPendingConversion();
                    together.ExtendStroke(p, shift);
                }
                eachMove.EndStroke();
                together.EndStroke();
                eachMove.RunPendingConversion();
                together.RunPendingConversion();
                if (stroke == 5) {
                    eachMove.Undo();
                    together.Undo();
                }
                ASSERT_EQ(together.inkLayer(), eachMove.inkLayer()) << "stroke " << stroke;
                ASSERT_EQ(together.rows(), eachMove.rows()) << "stroke " << stroke;
            }
        }
    }
}

TEST_F(ArtStateFineTest, SwitchingModesReconvertsTheDrawingAndItsUndoCopy) {
    ArtState state(matcher_, nullptr);
    Stroke(state, {{100, 50}, {200, 60}, {260, 120}});
    const Image first = state.inkLayer();
    Stroke(state, {{400, 200}, {500, 230}});
    const TextRows greedy = state.rows();

    state.SetFineDecoder(fine_);
    EXPECT_EQ(state.rows(), Decoded(state.inkLayer(), fine_));
    EXPECT_NE(state.rows(), greedy);
    state.ExchangeWithUndo();  // back to the first stroke alone, still fine
    EXPECT_EQ(state.rows(), Decoded(first, fine_));

    state.SetFineDecoder(nullptr);
    EXPECT_EQ(state.rows(), Decoded(first, nullptr));
    state.ExchangeWithUndo();
    EXPECT_EQ(state.rows(), greedy);

    // Strokes drawn in fine mode leave the row matcher's incremental state
    // behind; back with the row matcher, and after undo, strokes still give
    // what matching from scratch gives.
    state.SetFineDecoder(fine_);
    Stroke(state, {{120, 40}, {420, 220}});
    state.SetFineDecoder(nullptr);
    Stroke(state, {{130, 45}, {380, 215}});
    EXPECT_EQ(state.rows(), Decoded(state.inkLayer(), nullptr));
    state.ExchangeWithUndo();
    Stroke(state, {{110, 60}, {300, 60}});
    EXPECT_EQ(state.rows(), Decoded(state.inkLayer(), nullptr));
}

// A decoder switched while the undo copy equals the drawing (a stroke was
// given up, or a step was just undone) converts both: every drawing undo and
// redo bring back afterwards reads as converting it afresh the new way.
TEST_F(ArtStateFineTest, SwitchingWhileUndoEqualsTheDrawingConvertsBoth) {
    const TextPainter painter(*font_);
    enum Op { Undo, Redo };
    struct Case {
        const char* name;
        UndoMode mode;
        bool undoFirst;  // else a stroke given up
        Op ops[2];
        int inks[3];  // 1: the first stroke, 2: both strokes
    };
    const Case cases[] = {
        {"single, stroke given up", UndoMode::Single, false, {Undo, Redo}, {2, 2, 2}},
        {"steps, stroke given up", UndoMode::Steps, false, {Undo, Redo}, {2, 1, 2}},
        {"steps, a step undone", UndoMode::Steps, true, {Redo, Undo}, {1, 2, 1}},
    };
    for (const Case& c : cases) {
        for (const bool toFine : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (toFine ? ", to fine" : ", to the row matcher"));
            const FineDecoder* to = toFine ? fine_ : nullptr;
            ArtState state(matcher_, &painter);
            ArtState afresh(matcher_, &painter);
            state.SetUndoMode(c.mode);
            state.SetFineDecoder(toFine ? nullptr : fine_);
            afresh.SetFineDecoder(to);
            Stroke(state, {{100, 50}, {200, 60}, {260, 120}});
            const Image first = state.inkLayer();
            Stroke(state, {{400, 200}, {500, 230}});
            const Image both = state.inkLayer();
            if (c.undoFirst) {
                ASSERT_TRUE(state.Undo());
            } else {
                state.BeginStroke({30, 300});
                state.ExtendStroke({90, 330});
                state.RunPendingConversion();
                ASSERT_TRUE(state.CancelStroke());
            }

            state.SetFineDecoder(to);
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(i);
                if (i > 0) {
                    ASSERT_TRUE(c.ops[i - 1] == Undo ? state.Undo() : state.Redo());
                }
                const Image& ink = c.inks[i] == 1 ? first : both;
                EXPECT_EQ(state.inkLayer(), ink);
                EXPECT_EQ(state.rows(), Decoded(ink, to));
                afresh.ReplaceInk(ink);
                EXPECT_EQ(state.textLayer(), afresh.textLayer());
            }
        }
    }
}

// Opened text art, in both decoders.
class OpenedTextTest : public ArtStateFineTest, public ::testing::WithParamInterface<bool> {
  protected:
    static constexpr const char* kText =
        "　　　　 ／￣￣＼\r\n"
        "　　 ／　　　　 ＼\r\n"
        "筆で描いた顔です。|　●　ﾆｬｰ\r\n"
        " |　　（__人__）　 |\r\n"
        "\r\n"
        "&#8201;x&#x2002;y  \r\n";
    void Open(ArtState& state) {
        const Result<Image> ink = DrawTextArtInk(kText, TextEncoding::Utf8, *font_);
        ASSERT_TRUE(ink);
        opened_ = TextArtRows(kText, TextEncoding::Utf8, *font_).value();
        state.ReplaceWithText(*ink, opened_);
    }
    // The cells of `row` that start before column `x`, and those after it.
    static TextRow CellsBefore(const TextRow& row, int x) {
        TextRow out;
        int penX = 0;
        for (const TextCell& cell : row) {
            if (penX + cell.gap + cell.width > x) break;
            out.push_back(cell);
            penX += cell.gap + cell.width;
        }
        return out;
    }
    static std::vector<std::string> TextsAfter(const TextRow& row, int x) {
        std::vector<std::string> out;
        int penX = 0;
        for (const TextCell& cell : row) {
            if (penX + cell.gap > x) out.push_back(cell.text);
            penX += cell.gap + cell.width;
        }
        return out;
    }
    TextRows opened_;
};

TEST_P(OpenedTextTest, RowsAreTheTextUntilAStrokeAndUndoBringsThemBack) {
    ArtState state(matcher_, nullptr);
    state.SetFineDecoder(GetParam() ? fine_ : nullptr);
    Stroke(state, {{700, 500}, {760, 500}});  // something to undo to
    const TextRows before = state.rows();
    Open(state);
    EXPECT_EQ(state.rows(), opened_);
    state.ExchangeWithUndo();
    EXPECT_EQ(state.rows(), before);
    state.ExchangeWithUndo();
    EXPECT_EQ(state.rows(), opened_);

    // Canvas y 45 is ink y 40, in row 2 (ink rows 32-47); canvas y 8 and
    // 63 lie in rows 0 and 3.
    struct Case {
        const char* name;
        int row;
        std::initializer_list<PenPoint> points;
        int from, to;  // the columns the stroke inks, roughly
    };
    for (const Case& c : {Case{"across the middle of row 2", 2, {{60, 45}, {75, 45}}, 60, 75},
                          Case{"a dot in row 0", 0, {{70, 8}, {71, 9}}, 70, 71},
                          Case{"row 3 near its right end", 3, {{170, 63}, {176, 64}}, 170, 176}}) {
        SCOPED_TRACE(c.name);
        const TextRows was = state.rows();
        Stroke(state, c.points);
        for (int row = 0; row < kRowCount; ++row) {
            if (row != c.row) {
                EXPECT_EQ(state.rows()[static_cast<std::size_t>(row)], was[row]) << row;
            }
        }
        const TextRow& now = state.rows()[static_cast<std::size_t>(c.row)];
        const TextRow& old = was[static_cast<std::size_t>(c.row)];
        // The cells wholly left of the stroke stay as they were...
        const TextRow left = CellsBefore(old, c.from - 2);
        ASSERT_GE(now.size(), left.size());
        EXPECT_EQ(TextRow(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(left.size())), left);
        // ...and so do those right of it, at their places.
        const std::vector<std::string> right = TextsAfter(old, c.to + 2);
        const std::vector<std::string> rightNow = TextsAfter(now, c.to + 2);
        ASSERT_GE(rightNow.size(), right.size());
        EXPECT_TRUE(std::equal(right.rbegin(), right.rend(), rightNow.rbegin()));

        const TextRows stroked = state.rows();
        state.ExchangeWithUndo();
        EXPECT_EQ(state.rows(), was);
        state.ExchangeWithUndo();
        EXPECT_EQ(state.rows(), stroked);
    }
    // The rows the strokes never touched are still the text.
    for (const int row : {1, 4, 5}) EXPECT_EQ(state.rows()[row], opened_[row]);
    // A clear ends the opened rows: a stroke then converts as in any drawing.
    state.ClearCanvas();
    Stroke(state, {{100, 45}, {300, 45}});
    EXPECT_EQ(state.rows(), Decoded(state.inkLayer(), GetParam() ? fine_ : nullptr));
}

TEST_P(OpenedTextTest, SwitchingDecodersAndAddingInkElsewhereKeepTheText) {
    ArtState state(matcher_, nullptr);
    state.SetFineDecoder(GetParam() ? fine_ : nullptr);
    Open(state);
    state.SetFineDecoder(GetParam() ? nullptr : fine_);
    EXPECT_EQ(state.rows(), opened_);
    state.ExchangeWithUndo();
    EXPECT_TRUE(std::all_of(state.rows().begin(), state.rows().end(),
                            [](const TextRow& row) { return row.empty(); }));
    state.ExchangeWithUndo();
    // Ink added in row 10 changes that row alone.
    Image added(kCanvasWidth, kInkHeight, kWhite);
    for (int x = 100; x < 200; ++x) added.SetPixel(x, 168, kBlack);
    state.AddInk(added);
    for (int row = 0; row < kRowCount; ++row) {
        if (row != 10) {
            EXPECT_EQ(state.rows()[static_cast<std::size_t>(row)], opened_[row]) << row;
        }
    }
    EXPECT_FALSE(state.rows()[10].empty());
    state.ExchangeWithUndo();
    EXPECT_EQ(state.rows(), opened_);
}

TEST_P(OpenedTextTest, ASessionRestoredFromItsInkAndOpenedRowsGoesOnAsTheOriginal) {
    const FineDecoder* decoder = GetParam() ? fine_ : nullptr;
    ArtState original(matcher_, nullptr);
    original.SetFineDecoder(decoder);
    Open(original);
    Stroke(original, {{60, 45}, {75, 45}});    // into opened row 2
    Stroke(original, {{100, 190}, {300, 190}});  // row 10, empty when opened

    // What a face keeps, laid again as it restores: the undo copy first.
    ArtState restored(matcher_, nullptr);
    restored.SetFineDecoder(decoder);
    restored.ReplaceInk(original.undoInkLayer());
    restored.KeepOpenedRows(original.undoRows(), original.undoOpenedRows());
    restored.ReplaceInk(original.inkLayer());
    restored.KeepOpenedRows(original.rows(), original.openedRows());
    EXPECT_EQ(restored.rows(), original.rows());
    EXPECT_EQ(restored.openedRows(), original.openedRows());

    // Both go on alike: a stroke into another opened row keeps its cells
    // beside the stroke, and undo brings back the kept rows.
    for (ArtState* state : {&original, &restored}) Stroke(*state, {{170, 63}, {176, 64}});
    EXPECT_EQ(restored.rows(), original.rows());
    for (ArtState* state : {&original, &restored}) {
        state->ExchangeWithUndo();
        state->ExchangeWithUndo();
        state->ExchangeWithUndo();
    }
    EXPECT_EQ(restored.rows(), original.rows());
}

// Beside kept text, with the fine decoder: a stroke reads as it would on an
// empty canvas, nothing but spaces stands between it and the kept
// characters, and an eraser that crosses a kept character takes it whole.
class KeptTextTest : public ArtStateFineTest {
  protected:
    const std::set<std::string> kLevel = {"￣", "―", "─", "ー", "－", "-", "＿", "_"};
    // Text row 4 keeps "＼Ｙ7" from column 440 on; the rest is empty.
    void Open(ArtState& state) {
        const Result<std::string> line = Utf8ToCp932("＼Ｙ7");
        ASSERT_TRUE(line);
        TextRows rows;
        rows[4] = {{440, line->substr(0, 2), 16}, {0, line->substr(2, 2), 16}, {0, "7", 8}};
        for (TextCell& cell : rows[4]) {
            cell.width = FaceGlyphs(*font_, cell.text).front()->advance;
        }
        Image ink(kCanvasWidth, kInkHeight, kWhite);
        const TextPainter painter(*font_);
        painter.DrawCells(ink, 4 * kInkRowHeight, rows[4]);
        state.ReplaceWithText(ink, rows);
    }
    static std::string Visible(const TextRow& row) {
        std::string out;
        for (const TextCell& cell : row) out += cell.text;
        return out;
    }
    static bool BlankSpacing(const TextRow& row) {
        for (const TextCell& cell : row) {
            for (char byte : ComposeGap(cell.gap)) {
                if (byte != ' ' && byte != '\x81' && byte != '\x40') return false;
            }
        }
        return true;
    }
};

TEST_F(KeptTextTest, AStrokeBesideKeptTextReadsAsOnAnEmptyCanvas) {
    for (const bool noFillers : {false, true}) {
        const FineDecoder decoder(catalog_, *font_, {.noFillers = noFillers});
        // Canvas y 81 is ink y 72, line 8 of row 4; each stroke ends well
        // before the kept characters, a stroke's width or less from them.
        for (const int right : {200, 330, 410}) {
            SCOPED_TRACE(::testing::Message() << "to " << right << (noFillers ? ", no fillers" : ""));
            ArtState beside(matcher_, nullptr), alone(matcher_, nullptr);
            beside.SetFineDecoder(&decoder);
            alone.SetFineDecoder(&decoder);
            Open(beside);
            Stroke(beside, {{right - 150, 81}, {right, 81}});
            Stroke(alone, {{right - 150, 81}, {right, 81}});
            const TextRow& row = beside.rows()[4];
            const std::string kept = *Utf8ToCp932("＼Ｙ7");
            const std::string text = Visible(row);
            ASSERT_GE(text.size(), kept.size());
            EXPECT_EQ(text.substr(text.size() - kept.size()), kept);
            if (noFillers) {
                // Both ends fixed, plain spaces between: the line's widths may
                // have to change (ー for ―) for the spacing to add up, never a
                // mark in the spacing.
                EXPECT_TRUE(BlankSpacing(row));
                int pen = 0;
                for (const TextCell& cell : row) {
                    pen += cell.gap;
                    EXPECT_TRUE(pen >= 440 || kLevel.count(*Cp932ToUtf8(cell.text))) << *Cp932ToUtf8(cell.text);
                    pen += cell.width;
                }
            } else {
                EXPECT_EQ(text.substr(0, text.size() - kept.size()), Visible(alone.rows()[4]));
            }
            // The kept characters stand where they stood.
            int pen = 0;
            for (const TextCell& cell : row) {
                pen += cell.gap;
                EXPECT_TRUE(cell.text != kept.substr(0, 2) || pen == 440) << pen;
                pen += cell.width;
            }
        }
    }
}

TEST_F(KeptTextTest, TheEraserTakesAKeptCharacterWhole) {
    const std::string kept = *Utf8ToCp932("＼Ｙ7");
    struct Case {
        const char* name;
        std::initializer_list<PenPoint> points;
        std::string left;
    };
    // Ｙ stands at columns 456-471 and 7 at 472-479 of ink rows 64-79
    // (canvas y 72-89).
    for (const Case& c : {Case{"across the middle of Ｙ", {{463, 60}, {463, 100}}, kept.substr(0, 2) + "7"},
                          Case{"across the top of 7", {{470, 72}, {485, 72}}, kept.substr(0, 4)},
                          Case{"across every one", {{430, 81}, {500, 81}}, ""},
                          Case{"past them all", {{520, 81}, {600, 81}}, kept}}) {
        SCOPED_TRACE(c.name);
        ArtState state(matcher_, nullptr);
        state.SetFineDecoder(fine_);
        Open(state);
        state.TogglePenMode();
        Stroke(state, c.points);
        EXPECT_EQ(Visible(state.rows()[4]), c.left);
        state.ExchangeWithUndo();
        EXPECT_EQ(Visible(state.rows()[4]), kept);
        // The history of steps keeps the whole characters' pixels too: undo
        // brings them back, redo takes them again.
        ArtState stepped(matcher_, nullptr);
        stepped.SetFineDecoder(fine_);
        stepped.SetUndoMode(UndoMode::Steps);
        Open(stepped);
        stepped.TogglePenMode();
        Stroke(stepped, c.points);
        const Image erased = stepped.inkLayer();
        ASSERT_TRUE(stepped.Undo());
        EXPECT_EQ(Visible(stepped.rows()[4]), kept);
        ASSERT_TRUE(stepped.Redo());
        EXPECT_EQ(Visible(stepped.rows()[4]), c.left);
        EXPECT_TRUE(stepped.inkLayer() == erased);
    }
}

TEST_F(KeptTextTest, KeptCharactersTheEraserOnlyCameNearStandStill) {
    const std::string kept = *Utf8ToCp932("＼Ｙ7");
    const UnicodeSpaces unicode;
    // Where each cell of row 4 starts.
    const auto starts = [](const TextRow& row) {
        std::vector<std::pair<std::string, int>> out;
        int pen = 0;
        for (const TextCell& cell : row) {
            pen += cell.gap;
            out.emplace_back(cell.text, pen);
            pen += cell.width;
        }
        return out;
    };
    struct Case {
        const char* name;
        Spacing spacing;
        bool exact;  // ＼ and 7 where they stood; else moved, but no mark between
    };
    for (const Case& c : {Case{"fillers", Spacing::Fillers, true}, Case{"Unicode spaces", Spacing::Unicode, true},
                          Case{"plain spaces", Spacing::Spaces, false}}) {
        SCOPED_TRACE(c.name);
        const FineDecoder decoder(
            catalog_, *font_,
            {.noFillers = c.spacing == Spacing::Spaces,
             .unicodeSpaces = c.spacing == Spacing::Unicode ? &unicode : nullptr});
        ArtState state(matcher_, nullptr);
        state.SetFineDecoder(&decoder);
        Open(state);
        const auto before = starts(state.rows()[4]);
        ASSERT_EQ(before.size(), 3u);
        // Upright through the middle of Ｙ: the eraser's reach covers its
        // neighbours' columns, but takes no pixel of theirs.
        const int middle = before[1].second + 5;
        state.TogglePenMode();
        Stroke(state, {{middle, 60}, {middle, 100}});
        const auto after = starts(state.rows()[4]);
        ASSERT_EQ(after.size(), 2u);
        EXPECT_EQ(after[0].first, before[0].first);
        EXPECT_EQ(after[1].first, "7");
        if (c.exact) {
            EXPECT_EQ(after[0].second, before[0].second);
            EXPECT_EQ(after[1].second, before[2].second);
        } else {
            EXPECT_TRUE(BlankSpacing(state.rows()[4]));
            EXPECT_LE(std::abs(after[1].second - before[2].second), 11);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothDecoders, OpenedTextTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Fine" : "RowMatcher";
                         });

}  // namespace
}  // namespace fudeline
