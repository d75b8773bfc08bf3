#include "canvas/compose.h"

#include "canvas/geometry.h"
#include "canvas/raster.h"

namespace fudeline {

void ComposeCanvas(const CanvasView& parts, Image& view) {
    if (view.width() != kCanvasWidth || view.height() != kCanvasHeight) {
        view = Image(kCanvasWidth, kCanvasHeight);
    } else {
        view.FillRect(0, 0, kCanvasWidth, kCanvasHeight, kWhite);
    }
    if (parts.picture) view.Blit(*parts.picture, 0, 0);

    if (parts.showRowLines) {
        // Two light-grey lines under every text row but the last: y 16/17, 34/35, ... 502/503.
        for (int y = 16; y < 520; y += kRowHeight) {
            view.FillRect(0, y, kCanvasWidth, 2, kLightGrey);
        }
    }

    if (parts.trace && parts.trace->size() >= 2) {
        const ClipRect clip{0, 0, kCanvasWidth - 1, kCanvasHeight - 1};
        const auto& points = *parts.trace;
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (parts.penMode) {
                DrawThinLine(view, points[i - 1], points[i], kRed, clip);
            } else {
                DrawWideLine(view, points[i - 1], points[i], kLightGrey, clip);
            }
        }
    }

    if (parts.textLayer) view.Blit(*parts.textLayer, 0, 0, /*andMode=*/true);
}

}  // namespace fudeline
