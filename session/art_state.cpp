#include "session/art_state.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace fudeline {
ArtState::ArtState(const RowMatcher& matcher, const TextPainter* painter, Rematching rematching)
    : matcher_(matcher), painter_(painter), rematching_(rematching) {
    for (RowTrail& trail : trails_) trail = {{}, inkMinX_, inkMaxX_};
    undoTrails_ = trails_;
}

void ArtState::WidenInkExtent(std::int64_t x) {
    if (x < inkMinX_) inkMinX_ = x < 0 ? 0 : static_cast<int>(x);
    if (x + 1 >= inkMaxX_) inkMaxX_ = x + 1 >= 800 ? 799 : static_cast<int>(x + 1);
}

void ArtState::BeginStroke(TracePoint p) {
    RunPendingConversion();  // the previous stroke's last segments belong to it
    SaveUndoSnapshot();
    traceActive_ = true;
    WidenInkExtent(p.x);
    lastPoint_ = p;
}

bool ArtState::ExtendStroke(TracePoint p) {
    if (!traceActive_) return false;
    WidenInkExtent(p.x);
    const TraceSegment segment{lastPoint_, p, penMode_};
    lastPoint_ = p;
    pendingSegments_.push_back(segment);
    preview_.AddSegment(segment.from, segment.to, segment.pen);
    conversionPending_ = true;
    return true;
}

bool ArtState::EndStroke() {
    if (!traceActive_) return false;
    traceActive_ = false;
    preview_.Clear();
    return true;
}

ChangedRows ArtState::RasteriseNewestSegment(const TraceSegment& segment) {
    const ClipRect clip{0, 0, kInkClipRight, kInkClipBottom};
    const Point a = ToInkPoint(segment.from), b = ToInkPoint(segment.to);
    return segment.pen ? DrawThinLine(inkLayer_, a, b, kBlack, clip)
                       : DrawWideLine(inkLayer_, a, b, kLightGrey, clip);
}

void ArtState::NoteInkChange(const ChangedRows& changed, ColumnSpan columns) {
    if (changed.Empty()) return;
    // Band n holds ink rows 16 n - 1 to 16 n + 18.
    const int firstRow =
        std::max(0, (changed.minY - (kWindowRows - 2) + kInkRowHeight - 1) / kInkRowHeight);
    const int lastRow = std::min(kRowCount - 1, (changed.maxY + 1) / kInkRowHeight);
    for (int row = firstRow; row <= lastRow; ++row) {
        bands_[static_cast<std::size_t>(row)].Refresh(inkLayer_, row, changed.minY, changed.maxY);
        unmatched_[static_cast<std::size_t>(row)].Add(columns);
    }
}

void ArtState::ReadAllBands() {
    for (int row = 0; row < kRowCount; ++row) {
        bands_[static_cast<std::size_t>(row)] = InkBand(inkLayer_, row);
    }
}

bool ArtState::RunPendingConversion() {
    if (!conversionPending_) return false;
    conversionPending_ = false;
    std::int64_t first = kRowCount, last = -1;
    for (const TraceSegment& segment : pendingSegments_) {
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
            inkLayer_.SetPixel(x, y, kBlack);
            WidenInkExtent(x);
        }
    }
    ReadAllBands();
    MatchRows(0, kRowCount - 1);
}

void ArtState::ReplaceInk(const Image& image) {
    RunPendingConversion();
    SaveUndoSnapshot();
    ClearLayers();
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
    for (int row = first; row <= last; ++row) {
        const auto r = static_cast<std::size_t>(row);
        // Bands stay current in either mode; trails only matter to the row
        // matcher, and a change of mode re-matches every row from scratch.
        if (fine_) {
            rows_[r] = fine_->DecodeRow(inkLayer_, row);
        } else {
            matcher_.MatchRow(bands_[r], inkMinX_, inkMaxX_, rows_[r], trails_[r]);
        }
        unmatched_[r] = {};
    }
    for (int row = first; row <= last; ++row) DrawRow(row);
}

void ArtState::SetFineDecoder(const FineDecoder* fine) {
    if (fine == fine_) return;
    RunPendingConversion();
    fine_ = fine;
    MatchRows(0, kRowCount - 1);
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (fine_) {
            undoRows_[r] = fine_->DecodeRow(savedInkLayer_, row);
        } else {
            const InkBand band(savedInkLayer_, row);
            matcher_.MatchRow(band, inkMinX_, inkMaxX_, undoRows_[r], undoTrails_[r]);
        }
        undoUnmatched_[r] = {};
        if (painter_) painter_->DrawTextRow(savedTextLayer_, row, undoRows_[r]);
    }
}

void ArtState::RedrawText() {
    if (!painter_) return;
    for (int row = 0; row < kRowCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        painter_->DrawTextRow(textLayer_, row, rows_[r]);
        painter_->DrawTextRow(savedTextLayer_, row, undoRows_[r]);
    }
}

void ArtState::RematchRows(int first, int last) {
    if (rematching_ == Rematching::FromScratch || fine_) {
        MatchRows(first, last);
        return;
    }
    for (int row = first; row <= last; ++row) {
        const auto r = static_cast<std::size_t>(row);
        // A row's text band is a picture of its cells alone (the painter
        // draws inside the band), so unchanged cells need no redraw.
        const TextRow before = painter_ ? rows_[r] : TextRow{};
        matcher_.RematchRow(bands_[r], inkMinX_, inkMaxX_, unmatched_[r], rows_[r], trails_[r]);
        unmatched_[r] = {};
        if (painter_ && rows_[r] != before) DrawRow(row);
    }
}

void ArtState::DrawRow(int row) {
    if (painter_) painter_->DrawTextRow(textLayer_, row, rows_[static_cast<std::size_t>(row)]);
}

void ArtState::SaveUndoSnapshot() {
    savedInkLayer_ = inkLayer_;
    savedTextLayer_ = textLayer_;
    undoRows_ = rows_;
    undoTrails_ = trails_;
    undoUnmatched_ = unmatched_;
}

void ArtState::ExchangeWithUndo() {
    // Segments still waiting for a paint belong to the drawing being put away.
    RunPendingConversion();
    std::swap(inkLayer_, savedInkLayer_);
    std::swap(textLayer_, savedTextLayer_);
    std::swap(rows_, undoRows_);
    std::swap(trails_, undoTrails_);
    std::swap(unmatched_, undoUnmatched_);
    ReadAllBands();
}

void ArtState::ClearCanvas() {
    RunPendingConversion();
    SaveUndoSnapshot();
    ClearLayers();
}

void ArtState::ClearLayers() {
    inkLayer_.FillRect(0, 0, kCanvasWidth, kInkHeight, kWhite);
    textLayer_.FillRect(0, 0, kCanvasWidth, kCanvasHeight, kWhite);
    for (TextRow& row : rows_) row.clear();
    // Blank ink gives empty rows over any extent.
    bands_ = {};
    for (RowTrail& trail : trails_) trail = {{}, inkMinX_, inkMaxX_};
    unmatched_ = {};
}

}  // namespace fudeline
