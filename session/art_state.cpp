#include "session/art_state.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace fudeline {
ArtState::ArtState(const RowMatcher& matcher, const TextPainter* painter, Rematching rematching)
    : matcher_(matcher), painter_(painter), rematching_(rematching) {
    // The undo copy's ink waits for the first step: a session that converts
    // one file never takes one.
    MakeInk(*drawing_);
    for (Drawing* drawing : {drawing_.get(), undo_.get()}) {
        for (RowTrail& trail : drawing->trails) trail = {{}, inkMinX_, inkMaxX_};
        if (painter_) drawing->text = Image(kCanvasWidth, kCanvasHeight);
    }
}

void ArtState::WidenInkExtent(std::int64_t x) {
    if (x < inkMinX_) inkMinX_ = x < 0 ? 0 : static_cast<int>(x);
    if (x + 1 >= inkMaxX_) inkMaxX_ = x + 1 >= 800 ? 799 : static_cast<int>(x + 1);
}

void ArtState::BeginStroke(PenPoint p, bool straight) {
    // A press without the last stroke's release (lost outside the window, or
    // left out of a script) ends that stroke as the release would have: on
    // its pointer, or with its straight line.
    EndStroke();
    RunPendingConversion();  // the previous stroke's last segments belong to it
    SaveUndoSnapshot();
    strokeActive_ = true;
    WidenInkExtent(p.x);
    lastPoint_ = p;
    settles_ = false;
    if (!straight) BeginFreehandPiece();
    steadied_.Begin(p, stabilizer_);
    straight_ = straight;
    lineMoved_ = false;
    lineFrom_ = p;
}

bool ArtState::ExtendStroke(PenPoint p, bool straight) {
    if (!strokeActive_) return false;
    if (straight) {
        if (!straight_) {
            // The freehand part ends on the pointer, as at button-up, and
            // settles as a stroke would; the line starts there.
            if (const auto rest = steadied_.Finish()) AddSegment(*rest);
            SettleStroke();
            straight_ = true;
            lineMoved_ = false;
            lineFrom_ = lastPoint_;
        }
        // Shown, not inked: the line moves with the pointer and is converted
        // once, when it is done, rather than every row it crosses at every move.
        const PenPoint to = SnapToAngleStep(lineFrom_, p);
        if (lineMoved_ && to == lineTo_) return false;
        lineTo_ = to;
        lineMoved_ = true;
        preview_.SetLine(lineFrom_, lineTo_, penMode_, eraserWidth_);
        return true;
    }
    const bool committed = straight_ && lineMoved_;
    if (straight_) {
        // Shift let go: the line stays as shown and the stroke goes on
        // freehand from its end.
        CommitLine();
        steadied_.Restart(lastPoint_);
        RunPendingConversion();  // the line is ink before the next piece begins
        BeginFreehandPiece();
    }
    const std::optional<PenPoint> next = steadied_.Follow(p);
    if (next) AddSegment(*next);
    return next.has_value() || committed;
}

void ArtState::AddSegment(PenPoint to) {
    WidenInkExtent(to.x);
    const PenSegment segment{lastPoint_, to, penMode_, eraserWidth_};
    lastPoint_ = to;
    strokePoints_.push_back(to);
    pendingSegments_.push_back(segment);
    preview_.AddSegment(segment.from, segment.to, segment.pen, segment.width);
    conversionPending_ = true;
}

void ArtState::BeginFreehandPiece() {
    strokePoints_.assign(1, lastPoint_);
    settles_ = penMode_ && stabilizer_ != Stabilizer::Off;
    if (!settles_) return;
    if (!beforeStroke_) beforeStroke_ = std::make_unique<Image>(kCanvasWidth, kInkHeight);
    *beforeStroke_ = drawing_->ink;
}

void ArtState::SettleStroke() {
    if (!settles_ || strokePoints_.size() < 3) return;
    settles_ = false;
    const std::vector<PenPoint> settled = SettledPath(strokePoints_, stabilizer_);
    if (settled == strokePoints_) return;
    // The stroke's pixels lie in the box of its points' ink positions.
    std::int64_t left = kInkClipRight, right = 0, top = kInkHeight - 1, bottom = 0;
    for (const PenPoint p : strokePoints_) {
        const Point q = ToInkPoint(p);
        left = std::min<std::int64_t>(left, q.x);
        right = std::max<std::int64_t>(right, q.x);
        top = std::min<std::int64_t>(top, q.y);
        bottom = std::max<std::int64_t>(bottom, q.y);
    }
    left = std::max<std::int64_t>(left, 0);
    right = std::min<std::int64_t>(right, kInkClipRight);
    top = std::max<std::int64_t>(top, 0);
    bottom = std::min<std::int64_t>(bottom, kInkHeight - 1);
    // What is not rasterised yet is given up with the rest of the path.
    pendingSegments_.clear();
    if (left <= right && top <= bottom) {
        for (auto y = static_cast<int>(top); y <= bottom; ++y) {
            std::copy(beforeStroke_->Row(y) + left, beforeStroke_->Row(y) + right + 1,
                      drawing_->ink.Row(y) + left);
        }
        ChangedRows changed;
        changed.Add(static_cast<int>(top));
        changed.Add(static_cast<int>(bottom));
        ColumnSpan columns;
        columns.Add(static_cast<int>(left), static_cast<int>(right));
        NoteInkChange(changed, columns);
        // An opened row decodes again the columns of the whole box.
        for (auto row = static_cast<int>(top) / kInkRowHeight; row <= bottom / kInkRowHeight; ++row) {
            touched_[static_cast<std::size_t>(row)].Add(static_cast<int>(std::max<std::int64_t>(left - 1, 0)),
                                                        static_cast<int>(std::min<std::int64_t>(right + 1, kInkClipRight)));
        }
        const int reach = fine_ ? kFineDecoderReach : 0;
        settledRows_.Add(std::max<int>(static_cast<int>(top) - reach, 0) / kInkRowHeight,
                         std::min<int>((static_cast<int>(bottom) + reach) / kInkRowHeight, kRowCount - 1));
        conversionPending_ = true;
    }
    strokePoints_.clear();
    lastPoint_ = settled.front();
    for (std::size_t i = 1; i < settled.size(); ++i) AddSegment(settled[i]);
}

void ArtState::CommitLine() {
    if (straight_ && lineMoved_) {
        preview_.ClearLine();
        AddSegment(lineTo_);
    }
    straight_ = false;
    lineMoved_ = false;
}

bool ArtState::EndStroke() {
    if (!strokeActive_) return false;
    if (straight_) {
        CommitLine();
    } else if (const auto rest = steadied_.Finish()) {
        // The stroke ends where the user let go, not where the pen lagged.
        AddSegment(*rest);
    }
    SettleStroke();
    strokeActive_ = false;
    preview_.Clear();
    return true;
}

bool ArtState::CancelStroke() {
    if (!strokeActive_) return false;
    // What the stroke has not drawn yet (its line, the pen's lag) is given up
    // with the rest rather than drawn and converted first.
    straight_ = false;
    settles_ = false;
    steadied_.Restart(lastPoint_);
    EndStroke();
    RunPendingConversion();
    // The step is given up, not closed: the drawing goes back and the undo
    // copy (or the history) never sees the stroke.
    std::swap(drawing_, undo_);
    MakeInk(*drawing_);
    CopyDrawing(*drawing_, *undo_);
    undoIsCopy_ = true;
    return true;
}

ChangedRows ArtState::RasteriseNewestSegment(const PenSegment& segment) {
    const ClipRect clip{0, 0, kInkClipRight, kInkClipBottom};
    const Point a = ToInkPoint(segment.from), b = ToInkPoint(segment.to);
    const ChangedRows changed = segment.pen ? DrawThinLine(drawing_->ink, a, b, kBlack, clip)
                                            : DrawWideLine(drawing_->ink, a, b, kLightGrey, clip, segment.width);
    drawing_->inkRows.Add(changed);
    return changed;
}

void ArtState::NoteInkChange(const ChangedRows& changed, ColumnSpan columns) {
    if (changed.Empty()) return;
    // Band n holds ink rows 16 n - 1 to 16 n + 18.
    const int firstRow =
        std::max(0, (changed.minY - (kWindowRows - 2) + kInkRowHeight - 1) / kInkRowHeight);
    const int lastRow = std::min(kRowCount - 1, (changed.maxY + 1) / kInkRowHeight);
    for (int row = firstRow; row <= lastRow; ++row) {
        const auto r = static_cast<std::size_t>(row);
        drawing_->bands[r].Refresh(drawing_->ink, row, changed.minY, changed.maxY);
        drawing_->unmatched[r].Add(columns);
    }
}

void ArtState::ReadAllBands() {
    for (int row = 0; row < kRowCount; ++row) {
        drawing_->bands[static_cast<std::size_t>(row)] = InkBand(drawing_->ink, row);
    }
}

bool ArtState::KeepsAnyOpenedRow() const {
    const OpenedRows& opened = drawing_->opened;
    return std::find(opened.begin(), opened.end(), true) != opened.end();
}

bool ArtState::RunPendingConversion() {
    if (!conversionPending_) return false;
    conversionPending_ = false;
    undoIsCopy_ = false;
    std::int64_t first = kRowCount, last = -1;
    for (const PenSegment& segment : pendingSegments_) {
        // Every changed pixel lies between the ends' columns, widened by the
        // eraser's reach.
        const Point a = ToInkPoint(segment.from), b = ToInkPoint(segment.to);
        const std::int64_t reach = segment.pen ? 0 : segment.width;
        ColumnSpan columns;
        columns.Add(
            static_cast<int>(std::max<std::int64_t>(std::int64_t{std::min(a.x, b.x)} - reach, 0)),
            static_cast<int>(
                std::min<std::int64_t>(std::int64_t{std::max(a.x, b.x)} + reach, kInkClipRight)));
        const std::vector<KeptBox> kept = KeptBoxesNear(a, b, columns, segment.width);
        ChangedRows changed = RasteriseNewestSegment(segment);
        if (!segment.pen && !kept.empty()) changed.Add(EraseWholeKeptCharacters(kept, columns));
        NoteInkChange(changed, columns);
        NoteTouchedColumns(a, b, static_cast<int>(reach), changed, UnchangedBoxes(kept));
        // The rows between the segment's ends...
        std::int64_t c = InkRowOfCanvasY(segment.from.y), d = InkRowOfCanvasY(segment.to.y);
        if (c > d) std::swap(c, d);
        if (c <= kRowCount - 1 && d >= 0) {
            first = std::min(first, std::max<std::int64_t>(c, 0));
            last = std::max(last, std::min<std::int64_t>(d, kRowCount - 1));
        }
        // ...and every row whose band the pixels actually reached (a wide
        // eraser line spills into a neighbouring band).
        // The fine decoder also weighs the ink just outside a row's band.
        if (!changed.Empty()) {
            const int reach = fine_ ? kFineDecoderReach : 0;
            first =
                std::min<std::int64_t>(first, std::max(changed.minY - reach, 0) / kInkRowHeight);
            last = std::max<std::int64_t>(last, (changed.maxY + reach) / kInkRowHeight);
        }
    }
    pendingSegments_.clear();
    if (!settledRows_.Empty()) {
        first = std::min<std::int64_t>(first, settledRows_.first);
        last = std::max<std::int64_t>(last, settledRows_.last);
        settledRows_ = {};
    }
    if (first <= last) RematchRows(static_cast<int>(first), static_cast<int>(last));
    return true;
}

std::vector<ArtState::KeptBox> ArtState::KeptBoxesNear(Point a, Point b, ColumnSpan columns, int reach) const {
    std::vector<KeptBox> boxes;
    const Drawing& d = *drawing_;
    const int firstRow = std::max<std::int64_t>(std::int64_t{std::min(a.y, b.y)} - reach, 0) / kInkRowHeight;
    const int lastRow = static_cast<int>(std::min<std::int64_t>(
        (std::int64_t{std::max(a.y, b.y)} + reach) / kInkRowHeight, kRowCount - 1));
    for (int row = firstRow; row <= lastRow; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (!d.opened[r]) continue;
        std::int64_t penX = 0;
        for (const TextCell& cell : d.rows[r]) {
            const std::int64_t x = penX + cell.gap;
            penX = x + cell.width;
            if (x > columns.last || penX <= columns.first || x >= kCanvasWidth) continue;
            KeptBox box{row, static_cast<int>(x), static_cast<int>(std::min<std::int64_t>(penX, kCanvasWidth)), 0};
            box.inked = InkIn(box);
            if (box.inked > 0) boxes.push_back(box);
        }
    }
    return boxes;
}

int ArtState::InkIn(const KeptBox& box) const {
    int count = 0;
    for (int y = box.row * kInkRowHeight; y < (box.row + 1) * kInkRowHeight; ++y) {
        const std::uint32_t* pixels = drawing_->ink.Row(y);
        for (int x = box.from; x < box.to; ++x) count += pixels[x] == kBlack;
    }
    return count;
}

ChangedRows ArtState::EraseWholeKeptCharacters(const std::vector<KeptBox>& boxes, ColumnSpan& columns) {
    // A kept character the eraser took ink from goes whole: the bits it
    // would leave are not a drawing, and read as marks.
    ChangedRows changed;
    for (const KeptBox& box : boxes) {
        if (InkIn(box) == box.inked) continue;
        const int top = box.row * kInkRowHeight;
        for (int y = top; y < top + kInkRowHeight; ++y) {
            std::uint32_t* pixels = drawing_->ink.Row(y);
            for (int x = box.from; x < box.to; ++x) {
                if (pixels[x] == kBlack) pixels[x] = kLightGrey;
            }
        }
        changed.Add(ChangedRows{top, top + kInkRowHeight - 1});
        columns.Add(box.from, box.to - 1);
        touched_[static_cast<std::size_t>(box.row)].Add(box.from, box.to - 1);
    }
    drawing_->inkRows.Add(changed);
    return changed;
}

std::vector<ArtState::KeptBox> ArtState::UnchangedBoxes(const std::vector<KeptBox>& boxes) const {
    std::vector<KeptBox> unchanged;
    for (const KeptBox& box : boxes) {
        if (InkIn(box) == box.inked) unchanged.push_back(box);
    }
    return unchanged;
}

void ArtState::NoteTouchedColumns(Point a, Point b, int reach, const ChangedRows& changed,
                                  const std::vector<KeptBox>& unchanged) {
    // Only opened rows read these columns; a drawing of strokes alone, the
    // common case, skips the bookkeeping on every mouse move.
    if (changed.Empty() || !KeepsAnyOpenedRow()) return;
    const int firstRow = std::max(changed.minY, 0) / kInkRowHeight;
    const int lastRow = std::min(changed.maxY / kInkRowHeight, kRowCount - 1);
    const std::int64_t lowY = std::min(a.y, b.y), highY = std::max(a.y, b.y);
    for (int row = firstRow; row <= lastRow; ++row) {
        // The line's x over the pixel rows from which its pixels can reach
        // this row (a drawn line strays under a pixel from the exact one).
        double fromX = a.x, toX = b.x;
        const std::int64_t top = std::max<std::int64_t>(lowY, row * kInkRowHeight - reach - 1);
        const std::int64_t bottom =
            std::min<std::int64_t>(highY, row * kInkRowHeight + kInkRowHeight + reach);
        if (a.y != b.y && top <= bottom) {
            // In doubles: a point far outside the canvas is near the int range.
            const double slope = (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
            fromX = a.x + slope * static_cast<double>(top - a.y);
            toX = a.x + slope * static_cast<double>(bottom - a.y);
        }
        const double low = std::max<double>(std::min(fromX, toX), std::min(a.x, b.x));
        const double high = std::min<double>(std::max(fromX, toX), std::max(a.x, b.x));
        int from = static_cast<int>(std::clamp<double>(low - reach - 1, 0, kInkClipRight));
        int to = static_cast<int>(std::clamp<double>(high + reach + 1, 0, kInkClipRight));
        // A kept character at either end that the segment only came near
        // holds the ink it held: it stays where it is, an end of the span
        // read again, not a part of it that the spacing may move.
        for (bool trimmed = true; trimmed && from <= to;) {
            trimmed = false;
            for (const KeptBox& box : unchanged) {
                if (box.row != row) continue;
                if (box.from <= from && from < box.to) from = box.to, trimmed = true;
                if (box.from <= to && to < box.to) to = box.from - 1, trimmed = true;
            }
        }
        if (from <= to) touched_[static_cast<std::size_t>(row)].Add(from, to);
    }
}

void ArtState::LayPixels(const Image& image) {
    const int width = std::min(image.width(), kInkClipRight + 1);
    const int height = std::min(image.height(), kInkHeight);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (image.Pixel(x, y) != kBlack) continue;
            // Only opened rows read where ink was added.
            if (drawing_->ink.Pixel(x, y) != kBlack) {
                touched_[static_cast<std::size_t>(y / kInkRowHeight)].Add(x, x);
            }
            drawing_->ink.SetPixel(x, y, kBlack);
            drawing_->inkRows.Add(y);
            WidenInkExtent(x);
        }
    }
    ReadAllBands();
}

void ArtState::LayInk(const Image& image) {
    LayPixels(image);
    MatchRows(0, kRowCount - 1);
}

void ArtState::ReplaceInk(const Image& image) {
    ClearCanvas();
    LayInk(image);
}

void ArtState::LayText(const Image& ink, const TextRows& rows, int topLines) {
    LayPixels(ink);
    undoIsCopy_ = false;
    Drawing& d = *drawing_;
    d.topLines = std::clamp(topLines, 0, kRowCount);
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        d.rows[r] = rows[r];
        d.opened[r] = true;
        d.unmatched[r] = {};
        touched_[r] = {};
        DrawRow(row);
    }
}

void ArtState::ReplaceWithText(const Image& ink, const TextRows& rows, int topLines) {
    ClearCanvas();
    LayText(ink, rows, topLines);
}

void ArtState::KeepOpenedRows(const TextRows& rows, const OpenedRows& opened, int topLines) {
    Drawing& d = *drawing_;
    if (topLines > 0) {
        undoIsCopy_ = false;
        d.topLines = std::min(topLines, kRowCount);
    }
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (!opened[r]) continue;
        undoIsCopy_ = false;
        d.rows[r] = rows[r];
        d.opened[r] = true;
        d.unmatched[r] = {};
        touched_[r] = {};
        DrawRow(row);
    }
}

void ArtState::DecodeBetweenKept(int row, const TextRow& cells, const std::vector<std::int64_t>& starts,
                                 std::size_t left, std::size_t right, std::int64_t spanLeft,
                                 std::int64_t spanRight, TextRow& out) {
    const Drawing& d = *drawing_;
    // The decoders see the span's ink alone, so that the kept characters'
    // ink is not read again into cells that would reach over them.
    const int top = std::max(row * kInkRowHeight - 8, 0);
    const int bottom = std::min(row * kInkRowHeight + kInkRowHeight + 8, kInkHeight);
    if (spanInk_.width() == 0) spanInk_ = Image(kCanvasWidth, kInkHeight);
    const auto from = static_cast<std::size_t>(spanLeft);
    const auto to = static_cast<std::size_t>(std::min<std::int64_t>(spanRight, kCanvasWidth));
    for (int y = top; y < bottom; ++y) {
        std::memcpy(spanInk_.Row(y) + from, d.ink.Row(y) + from, sizeof(std::uint32_t) * (to - from));
    }
    TextRow decoded;
    // Where the decoded cells' first gap is counted from.
    std::int64_t x = 0;
    if (fine_) {
        // The kept characters are the ends of the span: the decoded cells
        // stand between them with spacing the options spell on both sides.
        decoded = fine_->DecodeSpan(spanInk_, row, static_cast<int>(spanLeft),
                                    static_cast<int>(std::min<std::int64_t>(spanRight, kCanvasWidth)));
        x = spanLeft;
    } else {
        RowTrail trail{{}, inkMinX_, inkMaxX_};
        matcher_.MatchRow(InkBand(spanInk_, row), inkMinX_, inkMaxX_, decoded, trail);
    }
    spanInk_.FillRect(0, top, kCanvasWidth, bottom - top, kWhite);

    out.clear();
    std::int64_t penX = 0;
    const auto place = [&](const TextCell& cell, std::int64_t x, bool kept) {
        std::int64_t gap = x - penX;
        if (gap < 0 && !kept) return;
        // A gap of one or two pixels has no spelling: the decoded cell moves
        // left onto its neighbour rather than a kept one moving.
        if (gap < 0 || (!kept && gap < 3)) gap = 0;
        TextCell placed = cell;
        placed.gap = static_cast<std::int32_t>(gap);
        out.push_back(std::move(placed));
        penX += gap + cell.width;
    };
    for (std::size_t i = 0; i < left; ++i) place(cells[i], starts[i], true);
    for (const TextCell& cell : decoded) {
        x += cell.gap;
        if (x >= spanLeft && x + cell.width <= spanRight) place(cell, x, false);
        x += cell.width;
    }
    // Nor has the gap before the first kept cell on the right: the decoded
    // cells give way.
    while (right < cells.size() && out.size() > left) {
        const std::int64_t gap = starts[right] - penX;
        if (gap != 1 && gap != 2) break;
        penX -= std::int64_t{out.back().gap} + out.back().width;
        out.pop_back();
    }
    for (std::size_t i = right; i < cells.size(); ++i) place(cells[i], starts[i], true);
}

bool ArtState::KeepOpenedRow(int row) {
    const auto r = static_cast<std::size_t>(row);
    const ColumnSpan changed = touched_[r];
    touched_[r] = {};
    Drawing& d = *drawing_;
    if (!d.opened[r]) return false;
    d.unmatched[r] = {};
    if (changed.Empty()) return true;
    const TextRow cells = d.rows[r];
    std::vector<std::int64_t> starts;
    std::int64_t penX = 0;
    for (const TextCell& cell : cells) {
        starts.push_back(penX + cell.gap);
        penX += std::int64_t{cell.gap} + cell.width;
    }
    // The cells wholly left and right of the change stay; between them,
    // from `spanLeft` to `spanRight` - 1, the row is decoded again.
    std::size_t left = 0, right = cells.size();
    std::int64_t spanLeft = 0, spanRight = kCanvasWidth;
    while (left < cells.size() && starts[left] + cells[left].width <= changed.first) {
        spanLeft = starts[left] + cells[left].width;
        ++left;
    }
    while (right > left && starts[right - 1] > changed.last) {
        --right;
        spanRight = starts[right];
    }
    TextRow& out = d.rows[r];
    for (;;) {
        DecodeBetweenKept(row, cells, starts, left, right, spanLeft, spanRight, out);
        // Where the spacing to the first kept cell on the right cannot be
        // spelled (a character erased between two kept ones, without
        // fillers), the kept cells either side are read again too: moved a
        // little, not spaced with marks the options rule out.
        if (!fine_ || right == cells.size()) break;
        std::int64_t end = 0;
        for (std::size_t i = 0; i < out.size() - (cells.size() - right); ++i) {
            end += std::int64_t{out[i].gap} + out[i].width;
        }
        const std::int64_t gap = starts[right] - end;
        if (gap > kCanvasWidth || fine_->GapAllowed(static_cast<std::int32_t>(gap), end == 0)) break;
        ++right;
        spanRight = right < cells.size() ? starts[right] : kCanvasWidth;
        if (left > 0) {
            --left;
            spanLeft = left > 0 ? starts[left - 1] + cells[left - 1].width : 0;
        }
    }
    if (out != cells) DrawRow(row);
    return true;
}

void ArtState::AddInk(const Image& image) {
    RunPendingConversion();
    SaveUndoSnapshot();
    LayInk(image);
}

void ArtState::MatchRows(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, kRowCount - 1);
    if (first <= last) undoIsCopy_ = false;
    Drawing& d = *drawing_;
    for (int row = first; row <= last; ++row) {
        const auto r = static_cast<std::size_t>(row);
        // Bands stay current in either mode; trails only matter to the row
        // matcher, and a change of mode re-matches every row from scratch.
        if (KeepOpenedRow(row)) continue;
        if (fine_) {
            d.rows[r] = fine_->DecodeRow(d.ink, row);
        } else {
            matcher_.MatchRow(d.bands[r], inkMinX_, inkMaxX_, d.rows[r], d.trails[r]);
        }
        d.unmatched[r] = {};
    }
    for (int row = first; row <= last; ++row) DrawRow(row);
}

void ArtState::SetFineDecoder(const FineDecoder* fine) {
    if (fine == fine_) return;
    RunPendingConversion();
    DropSelection();
    ++decoderGeneration_;
    fine_ = fine;
    // An undo copy equal to the drawing stays so: its rows are the drawing's
    // rows converted the same way (unless an opened row of the drawing has
    // ink changes of its own to decode).
    const bool copy = undoIsCopy_ && std::all_of(touched_.begin(), touched_.end(),
                                                 [](const ColumnSpan& span) { return span.Empty(); });
    MatchRows(0, kRowCount - 1);
    undoIsCopy_ = copy;
    Drawing& undo = *undo_;
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (undo.opened[r]) continue;
        if (copy) {
            undo.rows[r] = drawing_->rows[r];
            undo.trails[r] = drawing_->trails[r];
        } else if (fine_) {
            MakeInk(undo);
            undo.rows[r] = fine_->DecodeRow(undo.ink, row);
        } else {
            matcher_.MatchRow(undo.bands[r], inkMinX_, inkMaxX_, undo.rows[r], undo.trails[r]);
        }
        undo.unmatched[r] = {};
        if (painter_) {
            painter_->DrawTextRow(undo.text, row, undo.rows[r]);
            undo.textRows.Add(row);
        }
    }
}

void ArtState::RedrawText() {
    if (!painter_) return;
    for (Drawing* d : {drawing_.get(), undo_.get()}) {
        for (int row = 0; row < kRowCount; ++row) {
            painter_->DrawTextRow(d->text, row, d->rows[static_cast<std::size_t>(row)]);
            d->textRows.Add(row);
        }
    }
}

void ArtState::DeferRows() {
    rowsDeferred_ = fine_ != nullptr && !KeepsAnyOpenedRow();
}

void ArtState::CatchUpRows() {
    if (!rowsDeferred_) return;
    RunPendingConversion();
    rowsDeferred_ = false;
    if (!rowsBehind_) return;
    rowsBehind_ = false;
    MatchRows(0, kRowCount - 1);
    // What undo brings back was put away with its rows undecoded too: the
    // undo copy (the one undo, or where the open step began) is decoded as
    // well, and the steps kept before it, which hold no rows for the paints
    // that decoded none, are let go.
    if (undo_->ink.width() != 0) {
        const bool copy = undoIsCopy_;
        std::swap(drawing_, undo_);
        MatchRows(0, kRowCount - 1);
        std::swap(drawing_, undo_);
        undoIsCopy_ = copy;
    }
    history_.Clear();
}

void ArtState::RematchRows(int first, int last) {
    if (rowsDeferred_) {
        rowsBehind_ = rowsBehind_ || first <= last;
        return;
    }
    if (rematching_ == Rematching::FromScratch || fine_) {
        MatchRows(first, last);
        return;
    }
    if (first <= last) undoIsCopy_ = false;
    Drawing& d = *drawing_;
    for (int row = first; row <= last; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (KeepOpenedRow(row)) continue;
        // A row's text band is a picture of its cells alone (the painter
        // draws inside the band), so unchanged cells need no redraw.
        const TextRow before = painter_ ? d.rows[r] : TextRow{};
        matcher_.RematchRow(d.bands[r], inkMinX_, inkMaxX_, d.unmatched[r], d.rows[r], d.trails[r]);
        d.unmatched[r] = {};
        if (painter_ && d.rows[r] != before) DrawRow(row);
    }
}

void ArtState::DrawRow(int row) {
    if (!painter_) return;
    painter_->DrawTextRow(drawing_->text, row, drawing_->rows[static_cast<std::size_t>(row)]);
    drawing_->textRows.Add(row);
}

void ArtState::SaveUndoSnapshot() {
    // Any other step sets a floating selection down.
    DropSelection();
    BeginStep();
}

void ArtState::ExchangeWithUndo() {
    // Segments still waiting for a paint belong to the drawing being put away.
    RunPendingConversion();
    DropSelection();
    std::swap(drawing_, undo_);
    MakeInk(*drawing_);
    swappedBack_ = !swappedBack_;
}

void ArtState::ClearCanvas() {
    RunPendingConversion();
    DropSelection();
    // The drawing itself becomes the undo copy; the older copy it replaces is
    // blanked to become the new drawing.
    if (!undoIsCopy_) {
        CloseStep();
        std::swap(drawing_, undo_);
        MakeInk(*drawing_);
    }
    undoIsCopy_ = false;
    swappedBack_ = false;
    Blank(*drawing_);
}

void ArtState::Blank(Drawing& d) const {
    const ChangedRows ink = d.inkRows;
    if (!ink.Empty()) {
        d.ink.FillRect(0, ink.minY, kCanvasWidth, ink.maxY - ink.minY + 1, kWhite);
        // Blank ink gives empty bands.
        d.bands = {};
    }
    const ChangedRows text = d.textRows;
    if (!text.Empty()) {
        d.text.FillRect(0, text.minY * kRowHeight, kCanvasWidth,
                        (text.maxY - text.minY + 1) * kRowHeight, kWhite);
    }
    d.inkRows = {};
    d.textRows = {};
    for (TextRow& row : d.rows) row.clear();
    // Blank ink gives empty rows over any extent.
    for (RowTrail& trail : d.trails) trail = {{}, inkMinX_, inkMaxX_};
    d.unmatched = {};
    d.opened = {};
    d.topLines = 0;
}

const Image& ArtState::undoInkLayer() const {
    if (undo_->ink.width() != 0) return undo_->ink;
    static const Image blank(kCanvasWidth, kInkHeight);
    return blank;
}

void ArtState::MakeInk(Drawing& drawing) {
    if (drawing.ink.width() == 0) drawing.ink = Image(kCanvasWidth, kInkHeight);
}

void ArtState::CopyDrawing(const Drawing& from, Drawing& to) {
    // Rows neither drawing marks are white in both.
    ChangedRows ink = from.inkRows;
    ink.Add(to.inkRows);
    if (!ink.Empty()) MakeInk(to);
    CopyLines(from.ink, to.ink, ink.minY, ink.maxY);
    ChangedRows text = from.textRows;
    text.Add(to.textRows);
    CopyLines(from.text, to.text, text.minY * kRowHeight, (text.maxY + 1) * kRowHeight - 1);
    CopyRowsAndBands(from, to);
}

void ArtState::CopyLines(const Image& from, Image& to, int first, int last) {
    for (int y = first; y <= last; ++y) {
        std::memcpy(to.Row(y), from.Row(y), sizeof(std::uint32_t) * kCanvasWidth);
    }
}

void ArtState::CopyRowsAndBands(const Drawing& from, Drawing& to) {
    to.inkRows = from.inkRows;
    to.textRows = from.textRows;
    to.rows = from.rows;
    to.bands = from.bands;
    to.trails = from.trails;
    to.unmatched = from.unmatched;
    to.opened = from.opened;
    to.topLines = from.topLines;
}

}  // namespace fudeline
