// The stroke in progress as the canvas shows it: a red one-pixel line in pen
// mode, a light-grey line as wide as the eraser in eraser mode. Segments are drawn once, as
// they arrive, so a paint costs the same however long the stroke has grown.
// A straight line that follows the pointer (Shift) lies on a layer of its
// own, so that moving it never takes pixels from the segments under it.
#pragma once

#include "pixels/image.h"
#include "pixels/raster.h"
#include "pixels/pen_stroke.h"

namespace fudeline {

class StrokePreview {
  public:
    StrokePreview();

    // Adds the segment a-b (canvas coordinates) in the given mode (and the
    // eraser's width).
    void AddSegment(PenPoint a, PenPoint b, bool pen, int width = kWidePenWidth);
    // Shows the straight line a-b in place of the one shown before, if any.
    void SetLine(PenPoint a, PenPoint b, bool pen, int width = kWidePenWidth);
    void ClearLine();
    // Forgets the stroke and its line (the button went up).
    void Clear();
    bool Empty() const { return rows_.Empty() && lineRows_.Empty(); }

    // Lays the drawn segments over canvas row `y`, `pixels` holding its first
    // `width` pixels.
    void DrawOverRow(int y, std::uint32_t* pixels, int width) const;

  private:
    static constexpr std::uint32_t kTransparent = Image::kOutside;
    static ChangedRows Draw(Image& layer, PenPoint a, PenPoint b, bool pen, int width,
                            std::uint32_t colour);

    // Both layers are empty until something is drawn on them.
    Image layer_;
    ChangedRows rows_;  // rows that hold anything
    Image lineLayer_;
    ChangedRows lineRows_;
    PenPoint lineFrom_, lineTo_;
    bool linePen_ = true;
    int lineWidth_ = kWidePenWidth;
};

}  // namespace fudeline
