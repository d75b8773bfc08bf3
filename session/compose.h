// Composes what the canvas shows: white, the background picture, the row
// lines, the preview of the stroke in progress, and the text ANDed over all.
// The ink itself is never shown.
#pragma once

#include "pixels/image.h"
#include "session/stroke_preview.h"

namespace fudeline {

struct CanvasView {
    const Image* picture = nullptr;  // already scaled; drawn at (0, 0), cut at the canvas edge
    bool showRowLines = false;
    const StrokePreview* stroke = nullptr;  // the stroke in progress
    const Image* textLayer = nullptr;
};

// Fills `view` (resized to 800 x 522 if needed) with the composed canvas.
void ComposeCanvas(const CanvasView& parts, Image& view);

}  // namespace fudeline
