// What the fine decoder minimises, in tenths of a pixel: every pixel the row
// draws farther than 2 px from ink costs 1.2, every one within 2 px earns
// 0.1, and every ink pixel of the row with no drawn pixel within 2 px costs 1.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "glyphs/mona_font.h"

namespace fudeline {

inline constexpr std::int32_t kFarPixelCost = 12;   // a drawn pixel away from ink
inline constexpr std::int32_t kNearPixelGain = 1;   // a drawn pixel on or by ink
inline constexpr std::int32_t kMissedInkCost = 10;  // an ink pixel nothing drawn covers
// What a far pixel costs over a near one: the cost is 1.2 far - 0.1 near.
inline constexpr std::int32_t kFarWeight = kFarPixelCost + kNearPixelGain;
// How far outside its 16 ink rows a row's decoding looks: ink this close to
// a band changes the band's row.
inline constexpr int kFineDecoderReach = 2;

// The face's glyph for each character of `sjis`, in order; null where it has none.
std::vector<const FontGlyph*> FaceGlyphs(const MonaFont& font, std::string_view sjis);

// Column `x` of `glyph` as 16 bits, bit y for line y.
std::uint16_t DarkColumn(const FontGlyph& glyph, int x);

// The rows within `reach` rows of a set bit.
inline std::uint32_t SpreadRows(std::uint32_t bits, int reach) {
    std::uint32_t out = bits;
    for (int d = 1; d <= reach; ++d) out |= (bits << d) | (bits >> d);
    return out;
}

}  // namespace fudeline
