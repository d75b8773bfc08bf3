// The history of steps: what a step changed, kept when the next one begins,
// and applied back (undo) or forward (redo).
#include <algorithm>
#include <cstring>

#include "fine/fine_cost.h"
#include "match/ink_window.h"
#include "session/art_state.h"

namespace fudeline {
namespace {

bool SameTrail(const RowTrail& a, const RowTrail& b) {
    return a.inkMinX == b.inkMinX && a.inkMaxX == b.inkMaxX && a.hits == b.hits;
}

bool SameSpan(const ColumnSpan& a, const ColumnSpan& b) {
    return (a.Empty() && b.Empty()) || (a.first == b.first && a.last == b.last);
}

}  // namespace

void ArtState::SetUndoMode(UndoMode mode) {
    if (mode == undoMode_) return;
    undoMode_ = mode;
    history_.Clear();
    swappedBack_ = false;
}

void ArtState::BeginStep() {
    swappedBack_ = false;
    if (undoIsCopy_) return;
    if (!CloseStep(true)) CopyDrawing(*drawing_, *undo_);
    undoIsCopy_ = true;
}

bool ArtState::CloseStep(bool followInCopy) {
    if (undoMode_ != UndoMode::Steps || undoIsCopy_) return false;
    MakeInk(*undo_);
    HistoryStep step = StepBetween(*undo_, *drawing_);
    if (step.Empty()) return false;
    if (followInCopy) {
        // The text differs where the rows do.
        ChangedRows textRows;
        for (const RowChange& change : step.rows) textRows.Add(change.row);
        FollowInUndoCopy(step, textRows);
    }
    history_.Push(std::move(step));
    return followInCopy;
}

namespace {

// How many changed pixels a line may have before its bands read it again
// whole rather than take its pixels one by one (about what a reading costs
// against a bit's update).
constexpr int kBitsPerReadLine = 24;

// Whether eight pixels are the same in both lines (no call, unlike memcmp).
bool SameEight(const std::uint32_t* a, const std::uint32_t* b) {
    std::uint32_t differ = 0;
    for (int i = 0; i < 8; ++i) differ |= a[i] ^ b[i];
    return differ == 0;
}

}  // namespace

HistoryStep ArtState::StepBetween(const Drawing& before, const Drawing& after) const {
    HistoryStep step;
    step.decoderGeneration = decoderGeneration_;
    step.topLinesBefore = before.topLines;
    step.topLinesAfter = after.topLines;
    // Rows neither drawing marks are white in both.
    ChangedRows rows = before.inkRows;
    rows.Add(after.inkRows);
    bool paletteFull = false;
    for (int y = rows.minY; y <= rows.maxY && !paletteFull; ++y) {
        const std::uint32_t* from = before.ink.Row(y);
        const std::uint32_t* to = after.ink.Row(y);
        if (std::memcmp(from, to, sizeof(std::uint32_t) * kCanvasWidth) == 0) continue;
        // A stroke changes a few pixels of a line: the equal stretches are
        // passed over eight pixels at a time.
        static_assert(kCanvasWidth % 8 == 0);
        for (int x = 0; x < kCanvasWidth; ++x) {
            if (x % 8 == 0 && SameEight(from + x, to + x)) {
                x += 7;
                continue;
            }
            if (from[x] == to[x]) continue;
            const int b = step.ColourIndex(from[x]), a = step.ColourIndex(to[x]);
            if (b < 0 || a < 0) {
                paletteFull = true;
                break;
            }
            step.pixels.push_back(static_cast<std::uint32_t>(y * kCanvasWidth + x));
            step.colours.push_back(static_cast<std::uint8_t>(b << 4 | a));
        }
    }
    if (paletteFull) {
        // Only the three colours of ink are ever drawn; should more appear,
        // the changed rows are kept whole rather than any pixel lost.
        step.pixels.clear();
        step.colours.clear();
        step.palette.clear();
        step.firstInkRow = rows.minY;
        for (int y = rows.minY; y <= rows.maxY; ++y) {
            step.inkBefore.insert(step.inkBefore.end(), before.ink.Row(y), before.ink.Row(y) + kCanvasWidth);
            step.inkAfter.insert(step.inkAfter.end(), after.ink.Row(y), after.ink.Row(y) + kCanvasWidth);
        }
    }
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (before.rows[r] == after.rows[r] && before.opened[r] == after.opened[r] &&
            SameTrail(before.trails[r], after.trails[r]) &&
            SameSpan(before.unmatched[r], after.unmatched[r])) {
            continue;
        }
        step.rows.push_back({row,
                             {before.rows[r], before.opened[r], before.trails[r], before.unmatched[r]},
                             {after.rows[r], after.opened[r], after.trails[r], after.unmatched[r]}});
    }
    return step;
}

void ArtState::FollowInUndoCopy(const HistoryStep& step, ChangedRows textRows) {
    // The undo copy equalled the drawing before the step, and differs from
    // it now only where the step changed it: those pixels and lines are
    // copied, not every line the drawing holds.
    const Drawing& from = *drawing_;
    Drawing& to = *undo_;
    MakeInk(to);
    for (const std::uint32_t index : step.pixels) {
        const int x = static_cast<int>(index % kCanvasWidth),
                  y = static_cast<int>(index / kCanvasWidth);
        to.ink.SetPixel(x, y, from.ink.Pixel(x, y));
    }
    const int wholeLines = static_cast<int>(step.inkBefore.size() / kCanvasWidth);
    CopyLines(from.ink, to.ink, step.firstInkRow, step.firstInkRow + wholeLines - 1);
    if (painter_ && !textRows.Empty()) {
        CopyLines(from.text, to.text, textRows.minY * kRowHeight,
                  (textRows.maxY + 1) * kRowHeight - 1);
    }
    CopyRowsAndBands(from, to);
}

ChangedRows ArtState::ApplyStep(const HistoryStep& step, bool forward) {
    Drawing& d = *drawing_;
    d.topLines = forward ? step.topLinesAfter : step.topLinesBefore;
    ChangedRows changed;
    auto colourOf = [&](std::size_t i) {
        const int entry = forward ? step.colours[i] & 0xF : step.colours[i] >> 4;
        return step.palette[static_cast<std::size_t>(entry)];
    };
    for (std::size_t i = 0; i < step.pixels.size(); ++i) {
        const std::uint32_t index = step.pixels[i];
        const int y = static_cast<int>(index / kCanvasWidth);
        d.ink.SetPixel(static_cast<int>(index % kCanvasWidth), y, colourOf(i));
        changed.Add(y);
    }
    // A step of a long stroke changes a few pixels on each of hundreds of
    // lines: the bands then follow the pixels bit by bit. A dense step's
    // lines are read again whole (sixteen pixels a compare).
    ChangedRows reread;
    if (!changed.Empty() &&
        step.pixels.size() > static_cast<std::size_t>(kBitsPerReadLine) *
                                 static_cast<std::size_t>(changed.maxY - changed.minY + 1)) {
        reread = changed;
    } else {
        int firstBand = kRowCount, lastBand = -1;
        for (std::size_t i = 0; i < step.pixels.size(); ++i) {
            const std::uint32_t index = step.pixels[i];
            const int y = static_cast<int>(index / kCanvasWidth),
                      x = static_cast<int>(index % kCanvasWidth);
            // The bands whose lines (16 row - 1 to 16 row + 18) hold y.
            const int lowest =
                std::max(0, (y - (kWindowRows - 2) + kInkRowHeight - 1) / kInkRowHeight);
            const int highest = std::min(kRowCount - 1, (y + 1) / kInkRowHeight);
            for (int row = lowest; row <= highest; ++row) {
                d.bands[static_cast<std::size_t>(row)].SetPixel(row, x, y, colourOf(i) == kBlack);
            }
            firstBand = std::min(firstBand, lowest);
            lastBand = std::max(lastBand, highest);
        }
        for (int row = firstBand; row <= lastBand; ++row)
            d.bands[static_cast<std::size_t>(row)].CountHits();
    }
    const std::vector<std::uint32_t>& whole = forward ? step.inkAfter : step.inkBefore;
    for (std::size_t i = 0; i < whole.size(); i += kCanvasWidth) {
        const int y = step.firstInkRow + static_cast<int>(i / kCanvasWidth);
        std::memcpy(d.ink.Row(y), whole.data() + i, sizeof(std::uint32_t) * kCanvasWidth);
        changed.Add(y);
        reread.Add(y);
    }
    d.inkRows.Add(changed);
    int firstRow = kRowCount, lastRow = -1;
    if (!changed.Empty()) {
        // The bands whose rows the pixels lie in (band n holds ink rows
        // 16 n - 1 to 16 n + 18), and the rows the fine decoder reads them from.
        firstRow = std::max(0, std::min((changed.minY - (kWindowRows - 2) + kInkRowHeight - 1) /
                                            kInkRowHeight,
                                        (changed.minY - kFineDecoderReach) / kInkRowHeight));
        lastRow = std::min(kRowCount - 1, std::max((changed.maxY + 1) / kInkRowHeight,
                                                   (changed.maxY + kFineDecoderReach) / kInkRowHeight));
        for (int row = firstRow; row <= lastRow && !reread.Empty(); ++row) {
            d.bands[static_cast<std::size_t>(row)].Refresh(d.ink, row, reread.minY, reread.maxY);
        }
    }
    ChangedRows drawn;  // the text rows drawn again
    for (const RowChange& change : step.rows) {
        const RowChange::Side& side = forward ? change.after : change.before;
        const auto r = static_cast<std::size_t>(change.row);
        d.rows[r] = side.cells;
        d.opened[r] = side.opened;
        d.trails[r] = side.trail;
        d.unmatched[r] = side.unmatched;
        touched_[r] = {};
        firstRow = std::min(firstRow, change.row);
        lastRow = std::max(lastRow, change.row);
        DrawRow(change.row);
        drawn.Add(change.row);
    }
    if (step.decoderGeneration != decoderGeneration_ && firstRow <= lastRow) {
        // Converted by another decoder than the one chosen now: the rows the
        // step reaches are converted again, the opened ones kept as written.
        for (int row = firstRow; row <= lastRow; ++row) {
            d.trails[static_cast<std::size_t>(row)] = {{}, inkMinX_, inkMaxX_};
        }
        MatchRows(firstRow, lastRow);
        drawn.Add(firstRow);
        drawn.Add(lastRow);
    }
    return drawn;
}

bool ArtState::Undo() {
    if (undoMode_ == UndoMode::Single) {
        ExchangeWithUndo();
        return true;
    }
    EndStroke();
    RunPendingConversion();
    DropSelection();
    BeginStep();  // the open step becomes the newest kept one
    if (!history_.CanUndo()) return false;
    const HistoryStep& step = history_.StepBack();
    FollowInUndoCopy(step, ApplyStep(step, false));
    return true;
}

bool ArtState::Redo() {
    if (undoMode_ == UndoMode::Single) {
        if (!swappedBack_) return false;
        ExchangeWithUndo();
        return true;
    }
    EndStroke();
    RunPendingConversion();
    DropSelection();
    // A step drawn since the last undo has made the steps undone unreachable.
    BeginStep();
    if (!history_.CanRedo()) return false;
    const HistoryStep& step = history_.StepForward();
    FollowInUndoCopy(step, ApplyStep(step, true));
    return true;
}

bool ArtState::CanUndo() const {
    if (undoMode_ == UndoMode::Single) return true;
    return history_.CanUndo() || !undoIsCopy_ || strokeActive_;
}

bool ArtState::CanRedo() const {
    if (undoMode_ == UndoMode::Single) return swappedBack_;
    return undoIsCopy_ && !strokeActive_ && history_.CanRedo();
}

}  // namespace fudeline
