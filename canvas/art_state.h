// Everything one drawing session holds: the ink and text layers with their
// undo copies, the text rows, the pen trace and the inked extent. Mouse events
// come in as window client coordinates; the conversion runs when the window
// paints. Nothing here knows about windows.
#pragma once

#include <vector>

#include "canvas/geometry.h"
#include "canvas/image.h"
#include "canvas/stroke_preview.h"
#include "canvas/trace.h"
#include "convert/row_matcher.h"
#include "convert/text_cell.h"
#include "convert/text_painter.h"

namespace fudeline {

enum class PressOutcome {
    None,          // outside the indicator and the canvas
    PenToggled,    // on the pen indicator: repaint the whole client area
    TraceStarted,  // on the canvas: capture the mouse
};

class ArtState {
  public:
    // `painter` may be null: then the rows are matched but never drawn into the
    // text layer (headless conversion needs no font).
    ArtState(const RowMatcher& matcher, const TextPainter* painter);

    // --- Mouse, in window client pixels.
    PressOutcome LeftButtonDown(int clientX, int clientY);
    // True when the canvas must be repainted.
    bool MouseMove(int clientX, int clientY);
    bool LeftButtonUp();

    // --- The paint step: if a conversion is pending, rasterise every segment
    // recorded since the last paint, in order, and re-match the rows they
    // touch. Returns true if a conversion ran.
    bool RunPendingConversion();

    // --- Undo and clear.
    void SaveUndoSnapshot();
    void ExchangeWithUndo();
    // The state change of "clear all", once the user has confirmed it.
    void ClearCanvas();

    // --- Headless conversion of a whole ink image.
    // Lays the black pixels of `image` into the ink layer at the same
    // coordinates (columns up to 798, rows up to 463), widens the ink extent
    // with every inked column, and matches all 29 rows.
    void LayInk(const Image& image);
    void WidenInkExtent(std::int64_t canvasX);
    // Re-matches rows first to last (clamped to 0-28) and redraws them.
    void MatchRows(int first, int last);

    const Image& inkLayer() const { return inkLayer_; }
    const Image& textLayer() const { return textLayer_; }
    const TextRows& rows() const { return rows_; }
    const std::vector<TracePoint>& trace() const { return trace_; }
    const StrokePreview& preview() const { return preview_; }
    bool penMode() const { return penMode_ == 1; }
    bool traceActive() const { return traceActive_ == 1; }
    bool conversionPending() const { return conversionPending_ == 1; }
    int inkMinX() const { return inkMinX_; }
    int inkMaxX() const { return inkMaxX_; }

  private:
    void RecordPoint(int clientX, int clientY);
    ChangedRows RasteriseNewestSegment(const TraceSegment& segment);

    const RowMatcher& matcher_;
    const TextPainter* painter_;

    Image inkLayer_{kCanvasWidth, kInkHeight};
    Image savedInkLayer_{kCanvasWidth, kInkHeight};
    Image textLayer_{kCanvasWidth, kCanvasHeight};
    Image savedTextLayer_{kCanvasWidth, kCanvasHeight};
    TextRows rows_;
    TextRows undoRows_;

    std::vector<TracePoint> trace_;
    // Segments recorded since the last paint; a button-up does not drop them.
    std::vector<TraceSegment> pendingSegments_;
    StrokePreview preview_;
    int traceActive_ = 0;
    int conversionPending_ = 0;
    int penMode_ = 1;
    int inkMinX_ = 799;
    int inkMaxX_ = 0;
};

}  // namespace fudeline
