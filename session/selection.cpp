#include "session/selection.h"

#include <algorithm>

namespace fudeline {
namespace {

// Rounded down and up, for negative numbers too.
int FloorDiv(std::int64_t a, std::int64_t b) {
    return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b));
}
int CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

}  // namespace

InkRect InkRect::Clipped() const {
    const int l = std::max(left, 0), t = std::max(top, 0);
    const int r = std::min(right(), kInkClipRight + 1), b = std::min(bottom(), kInkHeight);
    return {l, t, std::max(r - l, 0), std::max(b - t, 0)};
}

std::vector<KeptCell> PositionedCells(int row, const TextRow& cells) {
    std::vector<KeptCell> out;
    std::int64_t x = 0;
    for (const TextCell& cell : cells) {
        x += cell.gap;
        out.push_back({row, static_cast<int>(x), cell});
        x += cell.width;
    }
    return out;
}

TextExtent ExtentOf(const TextRows& rows) {
    TextExtent extent;
    for (int row = 0; row < kRowCount; ++row) {
        const TextRow& cells = rows[static_cast<std::size_t>(row)];
        if (cells.empty()) continue;
        extent.rows = row + 1;
        const KeptCell last = PositionedCells(row, cells).back();
        extent.width = std::max(extent.width, last.x + last.cell.width);
    }
    return extent;
}

InkPiece TextPiece(const Image& ink, const TextRows& rows, int left, int row) {
    const TextExtent extent = ExtentOf(rows);
    InkPiece piece;
    piece.rect = {left, row * kInkRowHeight, extent.width, extent.rows * kInkRowHeight};
    const int height = std::min(extent.rows * kInkRowHeight, ink.height());
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* pixels = ink.Row(y);
        for (int x = 0; x < std::min(extent.width, ink.width()); ++x) {
            if (pixels[x] == kBlack) piece.pixels.push_back({x + left, y + row * kInkRowHeight});
        }
    }
    for (int r = 0; r < extent.rows; ++r) {
        for (KeptCell cell : PositionedCells(r + row, rows[static_cast<std::size_t>(r)])) {
            cell.x += left;
            piece.cells.push_back(cell);
        }
    }
    return piece;
}

InkRect InkRectOfCanvas(int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return {left, FloorDiv(std::int64_t{16} * top, 18), 0, 0};
    // The ink rows the canvas rows squeeze into, as a pen point's are.
    const int inkTop = FloorDiv(std::int64_t{16} * top, 18);
    const int inkBottom = FloorDiv(std::int64_t{16} * (std::int64_t{top} + height - 1), 18) + 1;
    return {left, inkTop, width, inkBottom - inkTop};
}

InkRect CanvasRectOfInk(const InkRect& ink) {
    // The first canvas row that squeezes into each edge's ink row.
    const int top = CeilDiv(std::int64_t{18} * ink.top, 16);
    const int bottom = CeilDiv(std::int64_t{18} * ink.bottom(), 16);
    return {ink.left, top, ink.width, bottom - top};
}

}  // namespace fudeline
