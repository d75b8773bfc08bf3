#include "convert/ink_band.h"

#include <algorithm>
#include <bit>

#include "pixels/geometry.h"

namespace fudeline {

InkBand::InkBand(const Image& ink, int row) {
    const int top = row * kInkRowHeight;
    const int width = std::min(ink.width(), kColumns);
    for (int r = 0; r < kWindowRows; ++r) {
        const int y = top - 1 + r;
        if (y < 0 || y >= ink.height()) continue;
        const std::uint32_t* pixels = ink.Row(y);
        BitRow& bits = rows_[static_cast<std::size_t>(r)];
        for (int x = 0; x < width; ++x) {
            if (pixels[x] == kBlack) {
                bits[static_cast<std::size_t>((x + 1) >> 6)] |= std::uint64_t{1} << ((x + 1) & 63);
            }
        }
        if (r >= 1 && r <= kInkRowHeight) {
            for (int w = 0; w <= kWords; ++w)
                hits_[static_cast<std::size_t>(w)] |= bits[static_cast<std::size_t>(w)];
        }
    }
}

int InkBand::NextHit(int from, int end) const {
    from = std::max(from, 0);
    end = std::min(end, kColumns);
    if (from >= end) return -1;
    int bit = from + 1;
    std::uint64_t word =
        hits_[static_cast<std::size_t>(bit >> 6)] & (~std::uint64_t{0} << (bit & 63));
    int index = bit >> 6;
    for (;;) {
        if (word != 0) {
            const int column = index * 64 + std::countr_zero(word) - 1;
            return column < end ? column : -1;
        }
        if (++index > kWords) return -1;
        word = hits_[static_cast<std::size_t>(index)];
    }
}

std::uint32_t InkBand::Extract24(const BitRow& row, int bit) {
    const int index = bit >> 6, shift = bit & 63;
    std::uint64_t value = row[static_cast<std::size_t>(index)] >> shift;
    if (shift != 0) value |= row[static_cast<std::size_t>(index + 1)] << (64 - shift);
    return static_cast<std::uint32_t>(value & 0xFFFFFFu);
}

void InkBand::FillWindow(int x, WindowBits& window) const {
    // Window column j is ink column x - 1 + j, stored at bit x + j; padded
    // column j + 1 and padded row r + 1.
    std::array<std::uint32_t, kPaddedRows> padded{};
    for (int r = 0; r < kWindowRows; ++r) {
        padded[static_cast<std::size_t>(r + 1)] = Extract24(rows_[static_cast<std::size_t>(r)], x)
                                                  << 1;
    }
    window.Build(padded);
}

}  // namespace fudeline
