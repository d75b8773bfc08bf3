#include "session/stroke_preview.h"

#include "pixels/geometry.h"

namespace fudeline {

namespace {

void Overlay(const Image& layer, const ChangedRows& rows, int y, std::uint32_t* pixels,
             int width, std::uint32_t transparent) {
    if (rows.Empty() || y < rows.minY || y > rows.maxY || y < 0 || y >= layer.height()) return;
    const std::uint32_t* src = layer.Row(y);
    for (int x = 0; x < width && x < layer.width(); ++x) {
        if (src[x] != transparent) pixels[x] = src[x];
    }
}

}  // namespace

StrokePreview::StrokePreview() = default;

ChangedRows StrokePreview::Draw(Image& layer, PenPoint a, PenPoint b, bool pen, int width,
                                std::uint32_t colour) {
    // Made at the first stroke: a session that is never drawn on (a command
    // converting a file) does not pay for two canvases it never shows.
    if (layer.width() == 0) layer = Image(kCanvasWidth, kCanvasHeight, kTransparent);
    const ClipRect clip{0, 0, kCanvasWidth - 1, kCanvasHeight - 1};
    return pen ? DrawThinLine(layer, a, b, colour, clip) : DrawWideLine(layer, a, b, colour, clip, width);
}

void StrokePreview::AddSegment(PenPoint a, PenPoint b, bool pen, int width) {
    rows_.Add(Draw(layer_, a, b, pen, width, pen ? kRed : kLightGrey));
}

void StrokePreview::SetLine(PenPoint a, PenPoint b, bool pen, int width) {
    ClearLine();
    lineFrom_ = a;
    lineTo_ = b;
    linePen_ = pen;
    lineWidth_ = width;
    lineRows_ = Draw(lineLayer_, a, b, pen, width, pen ? kRed : kLightGrey);
}

void StrokePreview::ClearLine() {
    if (lineRows_.Empty()) return;
    // The layer holds this line alone: drawing it again in the clear colour
    // clears it, at the cost of its own pixels rather than of its rows.
    Draw(lineLayer_, lineFrom_, lineTo_, linePen_, lineWidth_, kTransparent);
    lineRows_ = {};
}

void StrokePreview::Clear() {
    ClearLine();
    if (rows_.Empty()) return;
    layer_.FillRect(0, rows_.minY, kCanvasWidth, rows_.maxY - rows_.minY + 1, kTransparent);
    rows_ = {};
}

void StrokePreview::DrawOverRow(int y, std::uint32_t* pixels, int width) const {
    Overlay(layer_, rows_, y, pixels, width, kTransparent);
    Overlay(lineLayer_, lineRows_, y, pixels, width, kTransparent);
}

}  // namespace fudeline
