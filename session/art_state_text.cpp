// The session's side of typed words: a row given cells to keep, with the ink
// of their characters.
#include <algorithm>

#include "render/text_art_ink.h"
#include "session/art_state.h"

namespace fudeline {

void ArtState::KeepRowText(int row, const TextRow& cells, int from, int to,
                           const MonaFont& face) {
    if (row < 0 || row >= kRowCount) return;
    RunPendingConversion();
    undoIsCopy_ = false;
    Drawing& d = *drawing_;
    const auto r = static_cast<std::size_t>(row);
    from = std::clamp(from, 0, kInkClipRight + 1);
    to = std::clamp(to, from, kInkClipRight + 1);
    if (from < to) {
        const int top = row * kInkRowHeight;
        d.ink.FillRect(from, top, to - from, kInkRowHeight, kWhite);
        DrawCellsInk(d.ink, top, cells, from, to, face);
        ChangedRows changed;
        changed.Add(top);
        changed.Add(top + kInkRowHeight - 1);
        d.inkRows.Add(changed);
        WidenInkExtent(from);
        WidenInkExtent(to - 1);
        NoteInkChange(changed, ColumnSpan{from, to - 1});
    }
    d.rows[r] = cells;
    d.opened[r] = true;
    d.unmatched[r] = {};
    touched_[r] = {};
    DrawRow(row);
    // The row itself keeps its cells (nothing is left for it to decode);
    // the rows beside it see the ink at their edges.
    RematchRows(std::max(row - 1, 0), std::min(row + 1, kRowCount - 1));
}

}  // namespace fudeline
