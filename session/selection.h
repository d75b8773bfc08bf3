// A part of the drawing taken up to be moved, copied or deleted: a rectangle
// of the ink layer, its black pixels, and the cells of opened text it holds
// whole, which travel with their ink so that text kept as written stays as
// written where it lands.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/geometry.h"
#include "pixels/image.h"
#include "pixels/raster.h"
#include "text/text_cell.h"

namespace fudeline {

// Ink-layer pixels: columns left to left + width - 1, rows top to top + height - 1.
struct InkRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    int right() const { return left + width; }    // one past the last column
    int bottom() const { return top + height; }   // one past the last row
    InkRect Moved(int dx, int dy) const { return {left + dx, top + dy, width, height}; }
    // The part inside the ink layer (columns up to 798: no ink lies beyond).
    InkRect Clipped() const;
    bool operator==(const InkRect&) const = default;
};

// The whole ink layer, as "select all" and "左に寄せる" take it.
inline constexpr InkRect kWholeInk{0, 0, kInkClipRight + 1, kInkHeight};

// A cell of opened text taken with its ink: its row and the column it starts at.
struct KeptCell {
    int row = 0;
    int x = 0;
    TextCell cell;  // its gap is not used: cells are placed by `x`
    bool operator==(const KeptCell&) const = default;
};

struct InkPiece {
    InkRect rect;               // where it was taken
    std::vector<Point> pixels;  // its black pixels, where they were
    std::vector<KeptCell> cells;

    bool Empty() const { return pixels.empty() && cells.empty(); }
};

// The cells of text row `row` where they lie (their gaps added up).
std::vector<KeptCell> PositionedCells(int row, const TextRow& cells);

// How much of the ink layer text rows fill: the rows down to the last that
// holds a cell (empty rows above it included) and the widest of them.
struct TextExtent {
    int rows = 0;
    int width = 0;
};
TextExtent ExtentOf(const TextRows& rows);

// Text drawn with the face (its ink and rows, as text art opens) made a
// piece to lay over a drawing: its ink and its cells moved `left` columns
// across and `row` text rows down, within the rectangle its extent covers
// there.
InkPiece TextPiece(const Image& ink, const TextRows& rows, int left, int row);

// The canvas rectangle a selection is drawn with (rows of 18 screen pixels
// for the ink's 16), and the ink rectangle a canvas rectangle selects: the
// two agree on whole rows, so a selection of whole text rows takes their ink
// and their cells.
InkRect InkRectOfCanvas(int left, int top, int width, int height);
InkRect CanvasRectOfInk(const InkRect& ink);

}  // namespace fudeline
