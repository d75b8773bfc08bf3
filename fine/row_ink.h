// One text row's ink as the fine decoder reads it: which pixels are ink,
// which of them the row's glyphs must cover, and how near to ink each pixel
// of the row lies.
#pragma once

#include <array>
#include <cstdint>

#include "fine/fine_kernels.h"
#include "pixels/image.h"

namespace fudeline {

// Bit r of a column is ink row 16 row + r. `target` is the ink the row's
// glyphs must cover: all of it but the few pixels of a line that crosses the
// band's edge (kSharedDepth lines in), which the neighbouring row draws.
// `near1` and `near2` hold the pixels within 1 and 2 px of any ink, the ink
// of the two lines either side of the band included, and the pixels a
// stroke would reach going on past its end (up to kExtensionReach px): a
// character may overrun a stroke's end as an artist ends a line on a
// character's edge. `beyond` holds the pixels farther than 3 px from any ink
// and from where a stroke would reach.
struct RowInk : InkColumns {
    std::array<std::uint16_t, kSize> ink{};
    std::array<std::int32_t, kFineRowColumns + 1> targetBefore{};  // target pixels left of x
};

inline constexpr int kSharedDepth = 3;
inline constexpr int kExtensionReach = 8;

// Reads text row `row` of `ink` (its black pixels; outside the image blank).
void ReadRowInk(const Image& ink, int row, RowInk& out);

}  // namespace fudeline
