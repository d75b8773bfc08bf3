#include "session/compose.h"

#include "pixels/geometry.h"

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

    if (parts.stroke) parts.stroke->DrawOver(view);

    if (parts.textLayer) view.Blit(*parts.textLayer, 0, 0, /*andMode=*/true);
}

}  // namespace fudeline
