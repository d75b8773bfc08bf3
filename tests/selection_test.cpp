#include "session/selection.h"

#include <gtest/gtest.h>

#include <random>

#include "render/text_art_cells.h"
#include "render/text_art_ink.h"
#include "session/art_state.h"
#include "test_sessions.h"

namespace fudeline {
namespace {

using testing::BlackPixels;
using testing::Decoders;
using testing::DrawFace;

TEST(InkRectOfCanvas, WholeCanvasRowsAreWholeInkRowsAndBack) {
    struct Case {
        InkRect canvas, ink;
    };
    for (const Case& c : {
             Case{{0, 0, 800, 522}, {0, 0, 800, 464}},
             Case{{10, 18, 50, 36}, {10, 16, 50, 32}},  // rows 1 and 2
             Case{{0, 17, 5, 1}, {0, 15, 5, 1}},        // the last canvas row of row 0
             Case{{0, 9, 5, 9}, {0, 8, 5, 8}},
         }) {
        const InkRect ink = InkRectOfCanvas(c.canvas.left, c.canvas.top, c.canvas.width, c.canvas.height);
        EXPECT_EQ(ink, c.ink) << c.canvas.top << "+" << c.canvas.height;
        // Every canvas row inside squeezes into the ink rectangle.
        for (int y = c.canvas.top; y < c.canvas.bottom(); ++y) {
            const int inkY = ToInkPoint({0, y}).y;
            EXPECT_TRUE(inkY >= ink.top && inkY < ink.bottom()) << y;
        }
    }
    EXPECT_EQ(CanvasRectOfInk({10, 16, 50, 32}), (InkRect{10, 18, 50, 36}));
    EXPECT_EQ(CanvasRectOfInk({0, 0, 800, 464}), (InkRect{0, 0, 800, 522}));
    EXPECT_EQ((InkRect{-5, -5, 20, 500}).Clipped(), (InkRect{0, 0, 15, 464}));
    EXPECT_TRUE((InkRect{900, 0, 20, 20}).Clipped().Empty());
}

class SelectionTest : public ::testing::TestWithParam<bool> {
  protected:
    // A session converting with the decoder under test.
    std::unique_ptr<ArtState> Session() const {
        auto state = std::make_unique<ArtState>(Decoders().matcher, nullptr);
        state->SetFineDecoder(GetParam() ? &Decoders().fine : nullptr);
        state->SetUndoMode(UndoMode::Steps);
        return state;
    }
};

// A face drawn in the middle and moved is the face drawn where it landed:
// the same ink and the same text, moved in one step or in many, by arrows
// of a pixel or of a row, beside other ink it passes over and leaves as it was.
TEST_P(SelectionTest, AMovedSelectionIsTheSameDrawingDrawnThere) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> moves;  // ink pixels
    };
    // The face at canvas (300, 180) covers ink columns 280-400, rows 142-257.
    const InkRect around{270, 130, 150, 140};
    for (const Case& c : {Case{"one move by whole rows", {{-200, -64}}},
                          Case{"one move by canvas pixels", {{-187, 40}}},
                          Case{"arrow presses", {{-1, 0}, {-1, 0}, {0, 8}, {-30, 0}, {0, -16}}},
                          Case{"over the other drawing and back off it", {{260, 0}, {-120, 8}}}}) {
        SCOPED_TRACE(c.name);
        auto state = Session();
        DrawFace(*state, 300, 180);
        // Something else on the canvas, which the selection passes over.
        state->BeginStroke({600, 150});
        state->ExtendStroke({700, 320});
        state->EndStroke();
        state->RunPendingConversion();
        InkRect at = around;
        int dx = 0, dy = 0;
        for (const auto& [mx, my] : c.moves) {
            at = state->MoveSelection(at, mx, my);
            dx += mx;
            dy += my;
        }
        EXPECT_EQ(at, around.Moved(dx, dy));
        ASSERT_EQ(dy % 8, 0) << "a canvas-drawn face moves by whole canvas pixels";
        auto drawn = Session();
        DrawFace(*drawn, 300 + dx, 180 + dy * 18 / 16);
        drawn->BeginStroke({600, 150});
        drawn->ExtendStroke({700, 320});
        drawn->EndStroke();
        drawn->RunPendingConversion();
        EXPECT_TRUE(state->inkLayer() == drawn->inkLayer());
        EXPECT_EQ(state->rows(), drawn->rows());
        // Each move was one step.
        for (std::size_t i = 0; i < c.moves.size(); ++i) ASSERT_TRUE(state->Undo());
        auto original = Session();
        DrawFace(*original, 300, 180);
        original->BeginStroke({600, 150});
        original->ExtendStroke({700, 320});
        original->EndStroke();
        original->RunPendingConversion();
        EXPECT_TRUE(state->inkLayer() == original->inkLayer());
        EXPECT_EQ(state->rows(), original->rows());
    }
}

TEST_P(SelectionTest, PieceMovedOffTheCanvasIsCutOffButComesBackWholeWhileItFloats) {
    auto state = Session();
    DrawFace(*state, 300, 180);
    const Image whole = state->inkLayer();
    const int pixels = BlackPixels(whole);
    InkRect at = state->MoveSelection({270, 130, 150, 140}, -330, 0);
    EXPECT_LT(BlackPixels(state->inkLayer()), pixels);
    at = state->MoveSelection(at, 330, 0);
    EXPECT_TRUE(state->inkLayer() == whole);
}

// A drag's moves after its first are one step: one undo puts the piece back.
TEST_P(SelectionTest, ADragIsOneStep) {
    auto state = Session();
    DrawFace(*state, 300, 180);
    const Image before = state->inkLayer();
    InkRect at{270, 130, 150, 140};
    at = state->MoveSelection(at, -10, 0);
    for (int i = 0; i < 5; ++i) at = state->MoveSelection(at, -20, 8, ArtState::Step::Same);
    EXPECT_FALSE(state->inkLayer() == before);
    ASSERT_TRUE(state->Undo());
    EXPECT_TRUE(state->inkLayer() == before);
    EXPECT_EQ(state->history().undoable(), 5u);  // the face's five strokes
}

TEST_P(SelectionTest, CopyPasteAndDelete) {
    auto state = Session();
    DrawFace(*state, 100, 100);
    const InkRect face{80, 70, 130, 140};
    const InkPiece piece = state->TakePiece(face);
    EXPECT_EQ(static_cast<int>(piece.pixels.size()), BlackPixels(state->inkLayer()));
    const TextRows one = state->rows();

    // Pasted in place it changes nothing; moved, the drawing holds two faces.
    const InkRect pasted = state->PasteSelection(piece);
    EXPECT_EQ(pasted, face);
    EXPECT_EQ(state->rows(), one);
    state->MoveSelection(pasted, 400, 0);
    auto two = Session();
    DrawFace(*two, 100, 100);
    DrawFace(*two, 500, 100);
    EXPECT_TRUE(state->inkLayer() == two->inkLayer());
    EXPECT_EQ(state->rows(), two->rows());

    // Deleting the floating copy leaves the first face alone.
    state->DeleteSelection(*state->floatingRect());
    EXPECT_EQ(state->rows(), one);
    EXPECT_FALSE(state->floatingRect());
    state->DeleteSelection(face);
    EXPECT_EQ(BlackPixels(state->inkLayer()), 0);
    for (const TextRow& row : state->rows()) EXPECT_TRUE(row.empty());
    ASSERT_TRUE(state->Undo());
    EXPECT_EQ(state->rows(), one);
}

// Opened text keeps its cells as written when moved by whole rows, also
// where its ink lands beside other text; moved otherwise its ink is read.
TEST_P(SelectionTest, OpenedTextMovedByWholeRowsStaysAsWritten) {
    const std::string text =
        "　　∧＿∧\r\n"
        "　（　´∀｀）\r\n"
        "　（　　　　）\r\n";
    const MonaFont& face = testing::TestFont();
    const Result<Image> ink = DrawTextArtInk(text, TextEncoding::Utf8, face);
    ASSERT_TRUE(ink);
    const TextRows rows = TextArtRows(text, TextEncoding::Utf8, face).value();
    auto state = Session();
    state->ReplaceWithText(*ink, rows);
    // Down two rows and right 37 pixels: every cell as written, 37 pixels on.
    state->MoveSelection({0, 0, 200, 48}, 37, 32);
    for (int row = 0; row < 3; ++row) {
        if (row < 2) {
            EXPECT_TRUE(state->rows()[static_cast<std::size_t>(row)].empty()) << row;
        }
        TextRow moved = rows[static_cast<std::size_t>(row)];
        moved.front().gap += 37;
        EXPECT_EQ(state->rows()[static_cast<std::size_t>(row + 2)], moved) << row;
        EXPECT_TRUE(state->openedRows()[static_cast<std::size_t>(row + 2)]);
    }
    // Half a row down, the ink is read instead.
    state->MoveSelection({37, 32, 200, 48}, 0, 8);
    bool same = true;
    for (int row = 0; row < 3; ++row) {
        TextRow moved = rows[static_cast<std::size_t>(row)];
        moved.front().gap += 37;
        same = same && state->rows()[static_cast<std::size_t>(row + 2)] == moved;
    }
    EXPECT_FALSE(same);
}

// "左に寄せる": the drawing at the left edge, opened text as written with
// its margin gone, and the text it leaves what the drawing drawn there gives.
TEST_P(SelectionTest, AlignLeftMovesTheMarginAway) {
    auto state = Session();
    DrawFace(*state, 300, 180);
    const int margin = state->LeftMargin();
    EXPECT_EQ(margin, 280);
    ASSERT_TRUE(state->AlignLeft());
    EXPECT_EQ(state->LeftMargin(), 0);
    auto drawn = Session();
    DrawFace(*drawn, 300 - margin, 180);
    EXPECT_TRUE(state->inkLayer() == drawn->inkLayer());
    EXPECT_EQ(state->rows(), drawn->rows());
    EXPECT_FALSE(state->AlignLeft());
    ASSERT_TRUE(state->Undo());
    EXPECT_EQ(state->LeftMargin(), margin);
}

INSTANTIATE_TEST_SUITE_P(Decoders, SelectionTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Fine" : "RowMatcher";
                         });

}  // namespace
}  // namespace fudeline
