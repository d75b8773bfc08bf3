// Pictures to ink: the one entry point of line extraction. The result is an
// ink layer (kCanvasWidth x kInkHeight, black ink on white) that ArtState::LayInk
// takes and the ink-image writer saves, mapped from canvas to ink rows exactly
// as a pen stroke is (ink y = 16 y / 18).
#pragma once

#include "trace/trace_options.h"
#include "pixels/colour_picture.h"
#include "pixels/grey_picture.h"
#include "pixels/image.h"

namespace fudeline {

struct TracedInk {
    Image ink;
    TraceMode mode = TraceMode::LineArt;  // the extraction used: never Auto
};

// A decoded picture, placed on the canvas as `options` say.
// Auto reads each part of it as an artist would (thin strokes as one line
// along their middle, filled areas and flat colours as their outlines);
// LineArt and Photo force one method on the whole picture.
TracedInk TracePicture(const GreyPicture& picture, const TraceOptions& options);
TracedInk TracePicture(const ColourPicture& picture, const TraceOptions& options);

// For the window: the background exactly as shown on the canvas (a
// kCanvasWidth x kCanvasHeight image of 0x00RRGGBB pixels, already at its size
// and place). Canvas pixels the picture does not cover should be white.
TracedInk TraceCanvasPixels(const Image& canvasPixels, TraceMode mode);

}  // namespace fudeline
