#include "session/history.h"

#include <gtest/gtest.h>

#include <random>

#include "random_ink.h"
#include "session/art_state.h"
#include "test_sessions.h"

namespace fudeline {
namespace {

using testing::Decoders;
using testing::Stroke;

class HistoryTest : public ::testing::Test {
  protected:
    struct Snapshot {
        Image ink, text;
        TextRows rows;
        OpenedRows opened;
    };
    static Snapshot Take(const ArtState& state) {
        return {state.inkLayer(), state.textLayer(), state.rows(), state.openedRows()};
    }
};

// A random session of pen and eraser strokes, clears, whole ink images and
// opened text, with undo and redo in between, against a model that keeps
// every drawing a step left: each undo brings back the drawing before its
// step exactly (ink, text layer, rows, opened rows), each redo the one after.
// A twin session that matches touched rows from scratch gets the same events:
// what a step brings back of the rows' trails leaves the next strokes'
// matching as it would be.
TEST_F(HistoryTest, UndoAndRedoWalkThroughEveryStepExactly) {
    ArtState state(Decoders().matcher, &Decoders().painter);
    ArtState twin(Decoders().matcher, nullptr, Rematching::FromScratch);
    std::mt19937 rng(73);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const Image text = testing::RandomInk(testing::InkStyle::Strokes, rng);
    TextRows textRows;
    for (int row = 0; row < kRowCount; row += 3) {
        textRows[static_cast<std::size_t>(row)] = {{5, "A", 8}, {11, "B", 8}};
    }
    std::vector<Snapshot> past, future;
    auto expect = [&](const Snapshot& want, int event) {
        ASSERT_TRUE(state.inkLayer() == want.ink) << "event " << event;
        ASSERT_TRUE(state.textLayer() == want.text) << "event " << event;
        ASSERT_EQ(state.rows(), want.rows) << "event " << event;
        ASSERT_EQ(state.openedRows(), want.opened) << "event " << event;
    };
    for (ArtState* s : {&state, &twin}) s->SetUndoMode(UndoMode::Steps);
    for (int event = 0; event < 600; ++event) {
        const int kind = uniform(0, 12);
        if (kind <= 2) {
            const Snapshot now = Take(state);
            const bool had = !past.empty();
            EXPECT_EQ(twin.Undo(), had) << "event " << event;
            EXPECT_EQ(state.Undo(), had) << "event " << event;
            if (!had) {
                expect(now, event);
            } else {
                expect(past.back(), event);
                future.push_back(now);
                past.pop_back();
            }
        } else if (kind <= 4) {
            const Snapshot now = Take(state);
            EXPECT_EQ(state.CanRedo(), !future.empty()) << "event " << event;
            EXPECT_EQ(twin.Redo(), !future.empty()) << "event " << event;
            EXPECT_EQ(state.Redo(), !future.empty()) << "event " << event;
            if (future.empty()) {
                expect(now, event);
            } else {
                expect(future.back(), event);
                past.push_back(now);
                future.pop_back();
            }
        } else {
            Snapshot before = Take(state);
            const std::size_t added = state.history().added();
            const int pictureKind = uniform(0, 2);
            const Image picture = testing::RandomInk(testing::InkStyle::Sparse, rng);
            const bool eraser = uniform(0, 3) == 0;
            std::vector<PenPoint> points{{uniform(-30, 830), uniform(-30, 560)}};
            for (int m = uniform(0, 20); m > 0; --m) {
                points.push_back({points.back().x + uniform(-60, 60), points.back().y + uniform(-30, 30)});
            }
            for (ArtState* s : {&state, &twin}) {
                if (kind == 5) {
                    s->ClearCanvas();
                } else if (kind == 6) {
                    if (pictureKind == 0) s->AddInk(picture);
                    if (pictureKind == 1) s->ReplaceInk(picture);
                    if (pictureKind == 2) s->ReplaceWithText(text, textRows);
                } else {
                    if (eraser) s->TogglePenMode();
                    s->BeginStroke(points.front());
                    for (std::size_t i = 1; i < points.size(); ++i) s->ExtendStroke(points[i]);
                    s->EndStroke();
                    s->RunPendingConversion();
                    if (eraser) s->TogglePenMode();
                }
                // Steps are kept when the next begins; begin one here to see it.
                s->SaveUndoSnapshot();
            }
            if (state.history().added() > added) {
                if (past.size() == kHistorySteps) past.erase(past.begin());  // the oldest went
                past.push_back(std::move(before));
                future.clear();
            } else {
                // No step kept: nothing the user could see changed.
                ASSERT_TRUE(state.inkLayer() == before.ink) << "event " << event;
                ASSERT_EQ(state.rows(), before.rows) << "event " << event;
            }
        }
        ASSERT_EQ(state.rows(), twin.rows()) << "event " << event;
        ASSERT_TRUE(state.inkLayer() == twin.inkLayer()) << "event " << event;
    }
}

TEST_F(HistoryTest, AHundredStepsAreKeptAndTheOldestGoFirst) {
    ArtState state(Decoders().matcher, nullptr);
    state.SetUndoMode(UndoMode::Steps);
    Image afterFirstFive;
    for (int i = 0; i < 105; ++i) {
        Stroke(state, {{10 + 7 * i, 40 + (i % 25) * 18}, {14 + 7 * i, 44 + (i % 25) * 18}});
        if (i == 4) afterFirstFive = state.inkLayer();
    }
    int undone = 0;
    while (state.Undo()) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_TRUE(state.inkLayer() == afterFirstFive);
    EXPECT_FALSE(state.CanUndo());
    int redone = 0;
    while (state.Redo()) ++redone;
    EXPECT_EQ(redone, 100);
}

TEST_F(HistoryTest, ANewStepAfterUndoForgetsTheStepsUndone) {
    ArtState state(Decoders().matcher, nullptr);
    state.SetUndoMode(UndoMode::Steps);
    Stroke(state, {{100, 100}, {200, 100}});
    const Image one = state.inkLayer();
    Stroke(state, {{100, 200}, {200, 200}});
    ASSERT_TRUE(state.Undo());
    EXPECT_TRUE(state.CanRedo());
    Stroke(state, {{100, 300}, {200, 300}});
    EXPECT_FALSE(state.CanRedo());
    EXPECT_FALSE(state.Redo());
    ASSERT_TRUE(state.Undo());
    EXPECT_TRUE(state.inkLayer() == one);
    // A press that draws nothing is no step, and leaves redo as it was.
    state.BeginStroke({400, 400});
    state.EndStroke();
    EXPECT_TRUE(state.CanRedo());
}

// The toggling undo stays what it always was; its redo is the same exchange,
// right after an undo only.
TEST_F(HistoryTest, SingleModeTogglesAndRedoesOnlyRightAfterAnUndo) {
    ArtState state(Decoders().matcher, nullptr);
    ASSERT_EQ(state.undoMode(), UndoMode::Single);
    Stroke(state, {{100, 100}, {200, 100}});
    const Image one = state.inkLayer();
    Stroke(state, {{100, 200}, {200, 200}});
    const Image two = state.inkLayer();
    EXPECT_FALSE(state.CanRedo());
    EXPECT_FALSE(state.Redo());
    EXPECT_TRUE(state.inkLayer() == two);
    state.Undo();
    EXPECT_TRUE(state.inkLayer() == one);
    EXPECT_TRUE(state.Redo());
    EXPECT_TRUE(state.inkLayer() == two);
    EXPECT_FALSE(state.Redo());
    state.Undo();
    state.Undo();  // the second undo redoes
    EXPECT_TRUE(state.inkLayer() == two);
    EXPECT_EQ(state.history().size(), 0u);  // nothing is kept for steps
}

TEST_F(HistoryTest, ACancelledStrokeIsNoStep) {
    ArtState state(Decoders().matcher, nullptr);
    state.SetUndoMode(UndoMode::Steps);
    Stroke(state, {{100, 100}, {200, 100}});
    state.BeginStroke({100, 300});
    state.ExtendStroke({300, 300});
    state.RunPendingConversion();
    ASSERT_TRUE(state.CancelStroke());
    ASSERT_TRUE(state.Undo());
    EXPECT_TRUE(state.inkLayer() == Image(kCanvasWidth, kInkHeight));
    EXPECT_TRUE(state.Redo());
    EXPECT_EQ(state.inkLayer().Pixel(150, ToInkPoint({150, 300}).y), kWhite);
}

// Steps kept under one decoder come back converted by the one chosen now.
TEST_F(HistoryTest, StepsComeBackInTheDecoderChosenNow) {
    ArtState state(Decoders().matcher, nullptr);
    state.SetUndoMode(UndoMode::Steps);
    Stroke(state, {{100, 50}, {200, 60}, {260, 120}});
    Stroke(state, {{400, 200}, {500, 230}});
    Stroke(state, {{300, 300}, {350, 400}});
    state.SetFineDecoder(&Decoders().fine);
    for (int step = 0; step < 3; ++step) {
        ASSERT_TRUE(state.Undo());
        for (int row = 0; row < kRowCount; ++row) {
            ASSERT_EQ(state.rows()[static_cast<std::size_t>(row)],
                      Decoders().fine.DecodeRow(state.inkLayer(), row))
                << "step " << step << ", row " << row;
        }
    }
    while (state.Redo()) {
    }
    for (int row = 0; row < kRowCount; ++row) {
        ASSERT_EQ(state.rows()[static_cast<std::size_t>(row)],
                  Decoders().fine.DecodeRow(state.inkLayer(), row));
    }
}

// What a step keeps is what it changed: a short stroke over a dense drawing
// costs a little, however much the drawing holds.
TEST_F(HistoryTest, StepsKeepWhatChangedNotTheLayers) {
    ArtState state(Decoders().matcher, nullptr);
    state.SetUndoMode(UndoMode::Steps);
    std::mt19937 rng(5);
    state.AddInk(testing::RandomInk(testing::InkStyle::Dense, rng));
    state.SaveUndoSnapshot();
    const std::size_t opened = state.history().Bytes();
    for (int i = 0; i < 50; ++i) Stroke(state, {{100 + i, 100}, {130 + i, 110}});
    state.SaveUndoSnapshot();
    const std::size_t perStroke = (state.history().Bytes() - opened) / 50;
    EXPECT_LT(perStroke, std::size_t{64} << 10);
    EXPECT_LT(opened, std::size_t{kCanvasWidth} * kInkHeight * 4);  // less than one ink layer
}

TEST(HistorySteps, AStepTakesColoursBeyondItsPaletteWhole) {
    HistoryStep step;
    for (std::uint32_t colour = 0; colour < 16; ++colour) EXPECT_EQ(step.ColourIndex(colour), int(colour));
    EXPECT_EQ(step.ColourIndex(3), 3);
    EXPECT_EQ(step.ColourIndex(99), -1);
}

}  // namespace
}  // namespace fudeline
