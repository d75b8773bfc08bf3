#include "match/ink_band.h"

#include <algorithm>
#include <bit>

#include "pixels/geometry.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fudeline {
namespace {

// Bit x of the result is set when pixels[x] is black, for x from 0 to 15.
// Baseline code, not a kernel: SSE2 is in every x86-64 processor and the page
// builds it as WebAssembly SIMD, so no run-time choice is needed; the plain
// loop serves other processors. A wider form would gain nothing here, where
// a refresh reads a few rows of pixels.
std::uint32_t BlackBits16(const std::uint32_t* pixels) {
#if defined(__SSE2__)
    const __m128i black = _mm_set1_epi32(static_cast<int>(kBlack));
    auto equal = [&](int i) {
        return _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i)),
                               black);
    };
    const __m128i low = _mm_packs_epi32(equal(0), equal(4));
    const __m128i high = _mm_packs_epi32(equal(8), equal(12));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
#else
    std::uint32_t bits = 0;
    for (int x = 0; x < 16; ++x) bits |= std::uint32_t{pixels[x] == kBlack} << x;
    return bits;
#endif
}

}  // namespace

InkBand::InkBand(const Image& ink, int row) {
    Refresh(ink, row, row * kInkRowHeight - 1, row * kInkRowHeight + kWindowRows - 2);
}

void InkBand::Refresh(const Image& ink, int row, int firstY, int lastY) {
    const int top = row * kInkRowHeight;
    const int width = std::min(ink.width(), kColumns);
    const int first = std::max(firstY - (top - 1), 0);
    const int last = std::min(lastY - (top - 1), kWindowRows - 1);
    for (int r = first; r <= last; ++r) {
        const int y = top - 1 + r;
        BitRow& bits = rows_[static_cast<std::size_t>(r)];
        bits = {};
        if (y < 0 || y >= ink.height()) continue;
        const std::uint32_t* pixels = ink.Row(y);
        // Sixteen pixels per compare; bit c + 1 of the row is column c.
        int x = 0;
        for (; x + 16 <= width; x += 16) {
            const std::uint64_t found = BlackBits16(pixels + x);
            const int bit = x + 1;
            bits[static_cast<std::size_t>(bit >> 6)] |= found << (bit & 63);
            if ((bit & 63) > 48)
                bits[static_cast<std::size_t>((bit >> 6) + 1)] |= found >> (64 - (bit & 63));
        }
        for (; x < width; ++x) {
            if (pixels[x] == kBlack) {
                bits[static_cast<std::size_t>((x + 1) >> 6)] |= std::uint64_t{1} << ((x + 1) & 63);
            }
        }
    }
    if (first > last || last < 1 || first > kInkRowHeight) return;  // the band's own rows kept
    CountHits();
}

void InkBand::CountHits() {
    hits_ = {};
    for (int r = 1; r <= kInkRowHeight; ++r) {
        for (int w = 0; w <= kWords; ++w) {
            hits_[static_cast<std::size_t>(w)] |=
                rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(w)];
        }
    }
}

void InkBand::SetPixel(int row, int x, int y, bool ink) {
    const int r = y - (row * kInkRowHeight - 1);
    if (r < 0 || r >= kWindowRows || x < 0 || x >= kColumns) return;
    const auto w = static_cast<std::size_t>((x + 1) >> 6);
    const std::uint64_t bit = std::uint64_t{1} << ((x + 1) & 63);
    std::uint64_t& word = rows_[static_cast<std::size_t>(r)][w];
    word = ink ? word | bit : word & ~bit;
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
