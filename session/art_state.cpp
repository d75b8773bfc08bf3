#include "session/art_state.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace fudeline {
ArtState::ArtState(const RowMatcher& matcher, const TextPainter* painter, Rematching rematching)
    : matcher_(matcher), painter_(painter), rematching_(rematching) {
    for (Drawing* drawing : {drawing_.get(), undo_.get()}) {
        for (RowTrail& trail : drawing->trails) trail = {{}, inkMinX_, inkMaxX_};
    }
}

void ArtState::WidenInkExtent(std::int64_t x) {
    if (x < inkMinX_) inkMinX_ = x < 0 ? 0 : static_cast<int>(x);
    if (x + 1 >= inkMaxX_) inkMaxX_ = x + 1 >= 800 ? 799 : static_cast<int>(x + 1);
}

void ArtState::BeginStroke(PenPoint p) {
    RunPendingConversion();  // the previous stroke's last segments belong to it
    SaveUndoSnapshot();
    strokeActive_ = true;
    WidenInkExtent(p.x);
    lastPoint_ = p;
}

bool ArtState::ExtendStroke(PenPoint p) {
    if (!strokeActive_) return false;
    WidenInkExtent(p.x);
    const PenSegment segment{lastPoint_, p, penMode_};
    lastPoint_ = p;
    pendingSegments_.push_back(segment);
    preview_.AddSegment(segment.from, segment.to, segment.pen);
    conversionPending_ = true;
    return true;
}

bool ArtState::EndStroke() {
    if (!strokeActive_) return false;
    strokeActive_ = false;
    preview_.Clear();
    return true;
}

ChangedRows ArtState::RasteriseNewestSegment(const PenSegment& segment) {
    const ClipRect clip{0, 0, kInkClipRight, kInkClipBottom};
    const Point a = ToInkPoint(segment.from), b = ToInkPoint(segment.to);
    const ChangedRows changed = segment.pen ? DrawThinLine(drawing_->ink, a, b, kBlack, clip)
                                            : DrawWideLine(drawing_->ink, a, b, kLightGrey, clip);
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

bool ArtState::RunPendingConversion() {
    if (!conversionPending_) return false;
    conversionPending_ = false;
    undoIsCopy_ = false;
    std::int64_t first = kRowCount, last = -1;
    for (const PenSegment& segment : pendingSegments_) {
        const ChangedRows changed = RasteriseNewestSegment(segment);
        // Every changed pixel lies between the ends' columns, widened by the
        // eraser's reach.
        const Point a = ToInkPoint(segment.from), b = ToInkPoint(segment.to);
        const std::int64_t reach = segment.pen ? 0 : kWidePenWidth;
        ColumnSpan columns;
        columns.Add(
            static_cast<int>(std::max<std::int64_t>(std::int64_t{std::min(a.x, b.x)} - reach, 0)),
            static_cast<int>(
                std::min<std::int64_t>(std::int64_t{std::max(a.x, b.x)} + reach, kInkClipRight)));
        NoteInkChange(changed, columns);
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
    if (first <= last) RematchRows(static_cast<int>(first), static_cast<int>(last));
    return true;
}

void ArtState::LayInk(const Image& image) {
    const int width = std::min(image.width(), kInkClipRight + 1);
    const int height = std::min(image.height(), kInkHeight);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (image.Pixel(x, y) != kBlack) continue;
            drawing_->ink.SetPixel(x, y, kBlack);
            drawing_->inkRows.Add(y);
            WidenInkExtent(x);
        }
    }
    ReadAllBands();
    MatchRows(0, kRowCount - 1);
}

void ArtState::ReplaceInk(const Image& image) {
    ClearCanvas();
    LayInk(image);
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
    fine_ = fine;
    MatchRows(0, kRowCount - 1);
    Drawing& undo = *undo_;
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (fine_) {
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

void ArtState::RematchRows(int first, int last) {
    if (rematching_ == Rematching::FromScratch || fine_) {
        MatchRows(first, last);
        return;
    }
    if (first <= last) undoIsCopy_ = false;
    Drawing& d = *drawing_;
    for (int row = first; row <= last; ++row) {
        const auto r = static_cast<std::size_t>(row);
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
    if (undoIsCopy_) return;
    CopyDrawing(*drawing_, *undo_);
    undoIsCopy_ = true;
}

void ArtState::ExchangeWithUndo() {
    // Segments still waiting for a paint belong to the drawing being put away.
    RunPendingConversion();
    std::swap(drawing_, undo_);
}

void ArtState::ClearCanvas() {
    RunPendingConversion();
    // The drawing itself becomes the undo copy; the older copy it replaces is
    // blanked to become the new drawing.
    if (!undoIsCopy_) std::swap(drawing_, undo_);
    undoIsCopy_ = false;
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
}

void ArtState::CopyDrawing(const Drawing& from, Drawing& to) {
    // Rows neither drawing marks are white in both.
    ChangedRows ink = from.inkRows;
    ink.Add(to.inkRows);
    for (int y = ink.minY; y <= ink.maxY; ++y) {
        std::memcpy(to.ink.Row(y), from.ink.Row(y), sizeof(std::uint32_t) * kCanvasWidth);
    }
    ChangedRows text = from.textRows;
    text.Add(to.textRows);
    for (int y = text.minY * kRowHeight; y < (text.maxY + 1) * kRowHeight; ++y) {
        std::memcpy(to.text.Row(y), from.text.Row(y), sizeof(std::uint32_t) * kCanvasWidth);
    }
    to.inkRows = from.inkRows;
    to.textRows = from.textRows;
    to.rows = from.rows;
    to.bands = from.bands;
    to.trails = from.trails;
    to.unmatched = from.unmatched;
}

}  // namespace fudeline
