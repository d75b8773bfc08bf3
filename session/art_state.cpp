#include "session/art_state.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace fudeline {
ArtState::ArtState(const RowMatcher& matcher, const TextPainter* painter)
    : matcher_(matcher), painter_(painter) {}

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

bool ArtState::RunPendingConversion() {
    if (!conversionPending_) return false;
    conversionPending_ = false;
    std::int64_t first = kRowCount, last = -1;
    for (const TraceSegment& segment : pendingSegments_) {
        const ChangedRows changed = RasteriseNewestSegment(segment);
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
    if (first <= last) MatchRows(static_cast<int>(first), static_cast<int>(last));
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
    ConvertRows(inkLayer_, rows_, textLayer_, first, last);
}

void ArtState::ConvertRows(const Image& ink, TextRows& rows, Image& text, int first,
                           int last) const {
    first = std::max(first, 0);
    last = std::min(last, kRowCount - 1);
    for (int row = first; row <= last; ++row) {
        rows[static_cast<std::size_t>(row)] =
            fine_ ? fine_->DecodeRow(ink, row) : matcher_.MatchRow(ink, row, inkMinX_, inkMaxX_);
    }
    if (!painter_) return;
    for (int row = first; row <= last; ++row) {
        painter_->DrawTextRow(text, row, rows[static_cast<std::size_t>(row)]);
    }
}

void ArtState::SetFineDecoder(const FineDecoder* fine) {
    if (fine == fine_) return;
    RunPendingConversion();
    fine_ = fine;
    ConvertRows(inkLayer_, rows_, textLayer_, 0, kRowCount - 1);
    ConvertRows(savedInkLayer_, undoRows_, savedTextLayer_, 0, kRowCount - 1);
}

void ArtState::SaveUndoSnapshot() {
    savedInkLayer_ = inkLayer_;
    savedTextLayer_ = textLayer_;
    undoRows_ = rows_;
}

void ArtState::ExchangeWithUndo() {
    // Segments still waiting for a paint belong to the drawing being put away.
    RunPendingConversion();
    std::swap(inkLayer_, savedInkLayer_);
    std::swap(textLayer_, savedTextLayer_);
    std::swap(rows_, undoRows_);
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
}

}  // namespace fudeline
