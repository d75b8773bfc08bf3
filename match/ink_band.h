// One text row's ink as bit rows: the 16 rows of its band plus the window's
// margins (one row above, three below), each 800 columns wide with a blank
// column on either side. Finding the next inked column and filling a hit's
// window are then a few word operations.
#pragma once

#include <array>
#include <cstdint>

#include "match/glyph_bits.h"
#include "pixels/image.h"

namespace fudeline {

class InkBand {
  public:
    // A band without ink.
    InkBand() = default;
    // Reads ink-layer rows 16 * row - 1 to 16 * row + 18 of `ink`; rows and
    // columns outside the layer, and columns at 800 or beyond, are blank.
    InkBand(const Image& ink, int row);

    // Reads again the ink-layer rows firstY to lastY that lie in text row
    // `row`'s band, after they changed; a drawing session keeps one band per
    // row this way instead of reading 16,000 pixels at every paint.
    void Refresh(const Image& ink, int row, int firstY, int lastY);
    // Sets ink-layer pixel (x, y), if it lies in text row `row`'s band and
    // left of column 800, to ink or not, as Refresh would read it: a change
    // of a few pixels costs a few bits, not a reading of every line they lie
    // on. CountHits then, once the pixels are set, and before NextHit.
    void SetPixel(int row, int x, int y, bool ink);
    void CountHits();

    // The first column from `from` up to `end` - 1 with ink in the band's own
    // 16 rows, or -1.
    int NextHit(int from, int end) const;

    // The window of a hit at column `x`, in padded bit form.
    void FillWindow(int x, WindowBits& window) const;

  private:
    static constexpr int kColumns = 800;
    // Bit c + 1 of a row is column c, so that column -1 is bit 0; room up to
    // column 822, the right edge of a window at column 799.
    static constexpr int kWords = 13;
    using BitRow = std::array<std::uint64_t, kWords + 1>;

    static std::uint32_t Extract24(const BitRow& row, int bit);

    std::array<BitRow, kWindowRows> rows_{};
    BitRow hits_{};  // OR of the band's own 16 rows
};

}  // namespace fudeline
