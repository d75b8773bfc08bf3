#include "fine/row_ink.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "fine/fine_cost.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

// Where the ink's strokes would go on past their ends, up to kExtensionReach
// pixels, in the band's bits (bit r of column c is ink row r - 2 of the
// band): from each end whose neighbourhood lies in the band, the stroke is
// followed back kExtensionTrace pixels for its direction.
constexpr int kExtensionTrace = 6;  // pixels back along the stroke for its direction

template <std::size_t N>
std::array<std::uint32_t, N> StrokeExtensions(const std::array<std::uint32_t, N>& band) {
    std::array<std::uint32_t, N> out{};
    constexpr int kRows = kInkRowHeight + 4;
    auto ink = [&](int c, int r) {
        return c >= 0 && c < static_cast<int>(N) && r >= 0 && r < kRows &&
               ((band[static_cast<std::size_t>(c)] >> r) & 1) != 0;
    };
    for (std::size_t c = 1; c + 1 < N; ++c) {
        const std::uint32_t left = band[c - 1], centre = band[c], right = band[c + 1];
        if (centre == 0) continue;
        // Pixels with exactly one of their eight neighbours inked.
        std::uint32_t ones = 0, twos = 0;
        for (const std::uint32_t m : {left, left << 1, left >> 1, right, right << 1, right >> 1,
                                      centre << 1, centre >> 1}) {
            twos |= ones & m;
            ones |= m;
        }
        // Ends whose neighbourhood lies wholly in the band.
        std::uint32_t ends = centre & ones & ~twos & 0x7FFFEu;
        while (ends != 0) {
            const int r0 = std::countr_zero(ends);
            ends &= ends - 1;
            const int c0 = static_cast<int>(c);
            int pc = c0, pr = r0, prevC = -1, prevR = -1, steps = 0;
            while (steps < kExtensionTrace) {
                int nextC = -1, nextR = -1, found = 0;
                for (int dr = -1; dr <= 1; ++dr) {
                    for (int dc = -1; dc <= 1; ++dc) {
                        if ((dr == 0 && dc == 0) || (pc + dc == prevC && pr + dr == prevR)) continue;
                        if (!ink(pc + dc, pr + dr)) continue;
                        ++found;
                        nextC = pc + dc;
                        nextR = pr + dr;
                    }
                }
                if (found != 1) break;  // a branch or the stroke's other end
                prevC = pc;
                prevR = pr;
                pc = nextC;
                pr = nextR;
                ++steps;
            }
            if (steps < 3) continue;  // too short to say where it goes
            const double dc = static_cast<double>(c0 - pc) / steps, dr = static_cast<double>(r0 - pr) / steps;
            const double length = std::hypot(dc, dr);
            for (int t = 1; t <= kExtensionReach; ++t) {
                const int ec = c0 + static_cast<int>(std::lround(dc / length * t));
                const int er = r0 + static_cast<int>(std::lround(dr / length * t));
                if (ec < 0 || ec >= static_cast<int>(N) || er < 0 || er >= kRows) break;
                out[static_cast<std::size_t>(ec)] |= 1u << er;
            }
        }
    }
    return out;
}

}  // namespace

void ReadRowInk(const Image& ink, int row, RowInk& out) {
    // Ink rows 16 row - 3 to 16 row + 18 as bits 0 to 21 of each column (for
    // the pixels within 3 px of ink), three blank columns either side.
    std::array<std::uint32_t, kFineRowColumns + 6> wide{};
    const int top = row * kInkRowHeight - 3;
    const int width = std::min(ink.width(), kFineRowColumns);
    for (int r = 0; r < kInkRowHeight + 6; ++r) {
        const int y = top + r;
        if (y < 0 || y >= ink.height()) continue;
        const std::uint32_t* pixels = ink.Row(y);
        for (int x = 0; x < width; ++x) {
            if (pixels[x] == kBlack) wide[static_cast<std::size_t>(x + 3)] |= 1u << r;
        }
    }
    // Ink rows 16 row - 2 to 16 row + 17 as bits 0 to 19, two blank columns
    // either side.
    std::array<std::uint32_t, kFineRowColumns + 4> band{};
    for (std::size_t c = 0; c < band.size(); ++c) band[c] = (wide[c + 1] >> 1) & 0xFFFFFu;
    // A line that crosses into the next row leaves a few pixels at the band's
    // edge that the glyphs of this row, standing on whole lines, can seldom
    // reach: the neighbouring row's glyph draws the line on, and a stroke
    // that only grazes the band is drawn in the row it lies in. Such pixels,
    // reached from beyond the edge going straight into the band for up to
    // kSharedDepth lines, need not be covered (a mark spent on them is
    // noise), though a glyph lying on them still lies on ink.
    std::array<std::uint32_t, kFineRowColumns + 4> shared{};
    for (int depth = 0; depth < kSharedDepth; ++depth) {
        const std::uint32_t fromTop = 1u << (2 + depth), fromBottom = 1u << (17 - depth);
        // The line before, beyond the edge for the first one.
        const std::uint32_t beforeTop = 1u << (1 + depth), beforeBottom = 1u << (18 - depth);
        std::array<std::uint32_t, kFineRowColumns + 4> next{};
        for (std::size_t c = 1; c <= kFineRowColumns + 2; ++c) {
            const std::uint32_t reached = depth == 0 ? band[c - 1] | band[c] | band[c + 1]
                                                     : shared[c - 1] | shared[c] | shared[c + 1];
            if ((band[c] & fromTop) && (reached & beforeTop)) next[c] |= fromTop;
            if ((band[c] & fromBottom) && (reached & beforeBottom)) next[c] |= fromBottom;
        }
        for (std::size_t c = 0; c < shared.size(); ++c) shared[c] |= next[c];
    }
    const auto extension = StrokeExtensions(band);
    // The ink and where its strokes would go on, for what lies within 3 px.
    std::array<std::uint32_t, kFineRowColumns + 6> reached = wide;
    for (std::size_t c = 0; c < extension.size(); ++c) reached[c + 1] |= extension[c] << 1;
    for (int x = 0; x < kFineRowColumns; ++x) {
        const auto c = static_cast<std::size_t>(x + 2);
        const auto xi = static_cast<std::size_t>(x);
        const std::uint32_t near1 = WithinOne(band[c - 1], band[c], band[c + 1]) | extension[c];
        const std::uint32_t near2 =
            WithinTwo(band[c - 2], band[c - 1], band[c], band[c + 1], band[c + 2]) | extension[c];
        out.near1[xi] = static_cast<std::uint16_t>(near1 >> 2);
        out.near2[xi] = static_cast<std::uint16_t>(near2 >> 2);
        const std::uint32_t near3 = WithinThree(&reached[xi]) >> 1;
        out.beyond[xi] = static_cast<std::uint16_t>(~(near3 >> 2));
        out.ink[xi] = static_cast<std::uint16_t>(band[c] >> 2);
        out.target[xi] = static_cast<std::uint16_t>((band[c] & ~shared[c]) >> 2);
        out.targetBefore[xi + 1] = out.targetBefore[xi] + std::popcount(out.target[xi]);
    }
}

}  // namespace fudeline
