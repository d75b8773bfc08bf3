// The 24 x 20 cells of ink around a hit that every glyph is scored against.
#pragma once

#include <array>
#include <cstdint>

namespace fudeline {

inline constexpr int kWindowColumns = 24;
inline constexpr int kWindowRows = 20;

// Cell (j, r) is ink-layer pixel (hitX - 1 + j, bandTop - 1 + r). Cells outside
// the window read as not ink.
struct InkWindow {
    // Bit j of rows[r] is cell (j, r).
    std::array<std::uint32_t, kWindowRows> rows{};

    bool IsInk(std::int64_t column, std::int64_t row) const {
        if (column < 0 || column >= kWindowColumns || row < 0 || row >= kWindowRows) return false;
        return (rows[static_cast<std::size_t>(row)] >> column) & 1u;
    }
    void Set(int column, int row) { rows[static_cast<std::size_t>(row)] |= 1u << column; }
};

}  // namespace fudeline
