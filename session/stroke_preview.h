// The stroke in progress as the canvas shows it: a red one-pixel line in pen
// mode, an 8-pixel light-grey line in eraser mode. Segments are drawn once, as
// they arrive, so a paint costs the same however long the stroke has grown.
#pragma once

#include "pixels/image.h"
#include "pixels/raster.h"
#include "pixels/pen_stroke.h"

namespace fudeline {

class StrokePreview {
  public:
    StrokePreview();

    // Adds the segment a-b (canvas coordinates) in the given mode.
    void AddSegment(PenPoint a, PenPoint b, bool pen);
    // Forgets the stroke (the button went up).
    void Clear();
    bool Empty() const { return rows_.Empty(); }

    // Lays the drawn segments over canvas row `y`, `pixels` holding its first
    // `width` pixels.
    void DrawOverRow(int y, std::uint32_t* pixels, int width) const;

  private:
    static constexpr std::uint32_t kTransparent = Image::kOutside;
    Image layer_;
    ChangedRows rows_;  // rows that hold anything
};

}  // namespace fudeline
