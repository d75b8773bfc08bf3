#include "session/stroke_preview.h"

#include "pixels/geometry.h"

namespace fudeline {

StrokePreview::StrokePreview() : layer_(kCanvasWidth, kCanvasHeight, kTransparent) {}

void StrokePreview::AddSegment(PenPoint a, PenPoint b, bool pen) {
    const ClipRect clip{0, 0, kCanvasWidth - 1, kCanvasHeight - 1};
    rows_.Add(pen ? DrawThinLine(layer_, a, b, kRed, clip)
                  : DrawWideLine(layer_, a, b, kLightGrey, clip));
}

void StrokePreview::Clear() {
    if (Empty()) return;
    layer_.FillRect(0, rows_.minY, kCanvasWidth, rows_.maxY - rows_.minY + 1, kTransparent);
    rows_ = {};
}

void StrokePreview::DrawOverRow(int y, std::uint32_t* pixels, int width) const {
    if (Empty() || y < rows_.minY || y > rows_.maxY || y < 0 || y >= layer_.height()) return;
    const std::uint32_t* src = layer_.Row(y);
    for (int x = 0; x < width && x < layer_.width(); ++x) {
        if (src[x] != kTransparent) pixels[x] = src[x];
    }
}

}  // namespace fudeline
