// The steps a drawing session can walk back and forth through. A step keeps
// what changed, not the drawing: the ink pixels that differ with their colour
// before and after, and the rows whose cells or matching state differ, so a
// history of a hundred strokes costs what those strokes touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "match/row_trail.h"
#include "text/text_cell.h"

namespace fudeline {

// How undo behaves: the one toggling undo of old (a second undo redoes), or a
// history of steps walked back with undo and forward with redo.
enum class UndoMode { Single, Steps };

// Steps beyond these are forgotten, the oldest first; the newest step is
// always kept, however large.
inline constexpr std::size_t kHistorySteps = 100;
inline constexpr std::size_t kHistoryBytes = std::size_t{48} << 20;

// One text row as it was before and after a step.
struct RowChange {
    struct Side {
        TextRow cells;
        bool opened = false;
        RowTrail trail;
        ColumnSpan unmatched;
    };
    int row = 0;
    Side before;
    Side after;
};

struct HistoryStep {
    // Ink pixels by index (y * width + x), with the palette entries of their
    // colour before (high four bits) and after (low four bits).
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> colours;
    std::vector<std::uint32_t> palette;
    // Should the ink ever hold more colours than the palette takes, the
    // changed pixel rows from `firstInkRow` are kept whole instead.
    int firstInkRow = 0;
    std::vector<std::uint32_t> inkBefore;
    std::vector<std::uint32_t> inkAfter;
    std::vector<RowChange> rows;
    // The decoder the rows were converted with: a step made under another
    // one has its rows converted again when it is applied.
    int decoderGeneration = 0;
    // The empty lines opened text began with, before and after.
    int topLinesBefore = 0;
    int topLinesAfter = 0;

    bool Empty() const {
        return pixels.empty() && inkBefore.empty() && rows.empty() && topLinesBefore == topLinesAfter;
    }
    // A palette index for `colour`, or -1 when the step has no room left
    // (sixteen colours; the ink layer holds three).
    int ColourIndex(std::uint32_t colour);
    std::size_t Bytes() const;
};

class History {
  public:
    // Adds `step` after the current one: the steps undone before it are gone
    // for good, and the oldest go while the history is past its limits.
    void Push(HistoryStep step);
    bool CanUndo() const { return current_ > 0; }
    bool CanRedo() const { return current_ < steps_.size(); }
    // The step undo takes back (moving before it), and the one redo does again.
    const HistoryStep& StepBack() { return steps_[--current_]; }
    const HistoryStep& StepForward() { return steps_[current_++]; }
    void Clear();

    std::size_t size() const { return steps_.size(); }
    // Steps that undo can take back.
    std::size_t undoable() const { return current_; }
    std::size_t Bytes() const { return bytes_; }
    // Every step ever added, the forgotten ones too.
    std::size_t added() const { return added_; }

  private:
    std::deque<HistoryStep> steps_;
    std::size_t current_ = 0;
    std::size_t bytes_ = 0;
    std::size_t added_ = 0;
};

}  // namespace fudeline
