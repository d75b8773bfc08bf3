#include "canvas/art_state.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace fudeline {
namespace {

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

}  // namespace

ArtState::ArtState(const RowMatcher& matcher, const TextPainter* painter)
    : matcher_(matcher), painter_(painter) {}

void ArtState::WidenInkExtent(std::int64_t x) {
    if (x < inkMinX_) inkMinX_ = x < 0 ? 0 : static_cast<int>(x);
    if (x + 1 >= inkMaxX_) inkMaxX_ = x + 1 >= 800 ? 799 : static_cast<int>(x + 1);
}

PressOutcome ArtState::LeftButtonDown(int clientX, int clientY) {
    if (InRange(clientX, kIndicatorLeft, kIndicatorHitRight) &&
        InRange(clientY, kIndicatorTop, kIndicatorHitBottom)) {
        penMode_ = penMode_ == 1 ? 0 : 1;
        return PressOutcome::PenToggled;
    }
    if (!InRange(clientX, kCanvasLeft, kCanvasRight) ||
        !InRange(clientY, kCanvasTop, kCanvasBottom)) {
        return PressOutcome::None;
    }
    RunPendingConversion();  // the previous stroke's last segments belong to it
    SaveUndoSnapshot();
    traceActive_ = 1;
    RecordPoint(clientX, clientY);
    return PressOutcome::TraceStarted;
}

bool ArtState::MouseMove(int clientX, int clientY) {
    if (traceActive_ != 1) return false;
    RecordPoint(clientX, clientY);
    const TraceSegment segment{trace_[trace_.size() - 2], trace_.back(), penMode_ == 1};
    pendingSegments_.push_back(segment);
    preview_.AddSegment(segment.from, segment.to, segment.pen);
    conversionPending_ = 1;
    return true;
}

bool ArtState::LeftButtonUp() {
    if (traceActive_ != 1) return false;
    traceActive_ = 0;
    trace_.clear();
    preview_.Clear();
    return true;
}

void ArtState::RecordPoint(int clientX, int clientY) {
    // Windows report 16-bit positions; anything wider is held at the 32-bit ends.
    auto toCanvas = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    };
    const TracePoint p{toCanvas(std::int64_t{clientX} - kCanvasLeft),
                       toCanvas(std::int64_t{clientY} - kCanvasTop)};
    WidenInkExtent(p.x);
    trace_.push_back(p);
}

ChangedRows ArtState::RasteriseNewestSegment(const TraceSegment& segment) {
    const ClipRect clip{0, 0, kInkClipRight, kInkClipBottom};
    const Point a = ToInkPoint(segment.from), b = ToInkPoint(segment.to);
    return segment.pen ? DrawThinLine(inkLayer_, a, b, kBlack, clip)
                       : DrawWideLine(inkLayer_, a, b, kLightGrey, clip);
}

bool ArtState::RunPendingConversion() {
    if (conversionPending_ != 1) return false;
    conversionPending_ = 0;
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
        if (!changed.Empty()) {
            first = std::min<std::int64_t>(first, changed.minY / kInkRowHeight);
            last = std::max<std::int64_t>(last, changed.maxY / kInkRowHeight);
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

void ArtState::MatchRows(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, kRowCount - 1);
    for (int row = first; row <= last; ++row) {
        rows_[static_cast<std::size_t>(row)] =
            matcher_.MatchRow(inkLayer_, row, inkMinX_, inkMaxX_);
    }
    if (!painter_) return;
    for (int row = first; row <= last; ++row) {
        painter_->DrawTextRow(textLayer_, row, rows_[static_cast<std::size_t>(row)]);
    }
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
    inkLayer_.FillRect(0, 0, kCanvasWidth, kInkHeight, kWhite);
    textLayer_.FillRect(0, 0, kCanvasWidth, kCanvasHeight, kWhite);
    for (TextRow& row : rows_) row.clear();
}

}  // namespace fudeline
