// Composes what the canvas shows: white, the background picture, the row
// lines, the preview of the stroke in progress, and the text ANDed over all.
// The ink itself is never shown.
#pragma once

#include <vector>

#include "canvas/image.h"
#include "canvas/trace.h"

namespace fudeline {

struct CanvasView {
    const Image* picture = nullptr;  // already scaled; drawn at (0, 0), cut at the canvas edge
    bool showRowLines = false;
    const std::vector<TracePoint>* trace = nullptr;
    bool penMode = true;
    const Image* textLayer = nullptr;
};

// Fills `view` (resized to 800 x 522 if needed) with the composed canvas.
void ComposeCanvas(const CanvasView& parts, Image& view);

}  // namespace fudeline
