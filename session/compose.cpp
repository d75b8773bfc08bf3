#include "session/compose.h"

#include <algorithm>

#include "pixels/geometry.h"

namespace fudeline {

void ComposeCanvas(const CanvasView& parts, Image& view) {
    if (view.width() != kCanvasWidth || view.height() != kCanvasHeight) {
        view = Image(kCanvasWidth, kCanvasHeight);
    }
    // Row by row, every layer of a row while it is in cache: two passes over
    // the 1.6 MB canvas cost more than the work on it.
    const Image* picture = parts.picture;
    const Image* text = parts.textLayer;
    for (int y = 0; y < kCanvasHeight; ++y) {
        std::uint32_t* out = view.Row(y);
        int x = 0;
        if (picture && y < picture->height()) {
            const int width = std::min(picture->width(), kCanvasWidth);
            std::copy(picture->Row(y), picture->Row(y) + width, out);
            x = width;
        }
        std::fill(out + x, out + kCanvasWidth, kWhite);
        // Two light-grey lines under every text row but the last: y 16/17, 34/35, ... 502/503.
        if (parts.showRowLines && y < 520 && y % kRowHeight >= 16) {
            std::fill(out, out + kCanvasWidth, kLightGrey);
        }
        if (parts.stroke) parts.stroke->DrawOverRow(y, out, kCanvasWidth);
        if (text && y < text->height()) {
            const std::uint32_t* ink = text->Row(y);
            const int width = std::min(text->width(), kCanvasWidth);
            for (int i = 0; i < width; ++i) out[i] &= ink[i];
        }
    }
}

}  // namespace fudeline
