#include "fine/row_ink.h"

#include <gtest/gtest.h>

#include <vector>

#include "pixels/geometry.h"
#include "pixels/raster.h"

namespace fudeline {
namespace {

bool Bit(const std::array<std::uint16_t, InkColumns::kSize>& mask, int x, int line) {
    return ((mask[static_cast<std::size_t>(x)] >> line) & 1) != 0;
}

// Text row 5 is ink rows 80 to 95.
constexpr int kRow = 5, kTop = 80;

// Lines drawn as the pen draws them, each without its last pixel.
Image Lines(const std::vector<std::pair<Point, Point>>& lines) {
    Image ink(kCanvasWidth, kInkHeight, kWhite);
    for (const auto& [a, b] : lines) DrawThinLine(ink, a, b, kBlack, {0, 0, kInkClipRight, kInkClipBottom});
    return ink;
}

// A line crossing the band's edge leaves its first kSharedDepth lines to the
// neighbouring row; a line that stays in the band, or only touches the edge
// sideways, is the row's to draw whole.
TEST(RowInkTest, LinesCrossingTheEdgeLeaveTheirEndsToTheNextRow) {
    struct Case {
        const char* name;
        std::vector<std::pair<Point, Point>> lines;
        int x;
        std::vector<int> targetLines, sharedLines;
    };
    const std::vector<Case> cases = {
        {"upright through the band", {{{100, kTop - 10}, {100, kTop + 30}}}, 100,
         {3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {0, 1, 2, 13, 14, 15}},
        {"upright from the band into the next", {{{100, kTop + 6}, {100, kTop + 30}}}, 100,
         {6, 7, 8, 9, 10, 11, 12}, {13, 14, 15}},
        {"upright inside the band", {{{100, kTop + 2}, {100, kTop + 14}}}, 100,
         {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {}},
        {"level on the first line", {{{60, kTop}, {160, kTop}}}, 100, {0}, {}},
        {"level on the last line", {{{60, kTop + 15}, {160, kTop + 15}}}, 100, {15}, {}},
        // A level line a line above the band: only what steps straight in from it is left.
        {"level line stepping in", {{{60, kTop - 1}, {100, kTop - 1}}, {{100, kTop}, {160, kTop}}}, 130, {0}, {}},
        {"level line stepping in, at the step", {{{60, kTop - 1}, {100, kTop - 1}}, {{100, kTop}, {160, kTop}}}, 100,
         {}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowInk read;
        ReadRowInk(Lines(c.lines), kRow, read);
        for (int line : c.targetLines) {
            EXPECT_TRUE(Bit(read.target, c.x, line)) << "line " << line;
            EXPECT_TRUE(Bit(read.ink, c.x, line)) << "line " << line;
        }
        for (int line : c.sharedLines) {
            EXPECT_FALSE(Bit(read.target, c.x, line)) << "line " << line;
            EXPECT_TRUE(Bit(read.ink, c.x, line)) << "line " << line;
            // A glyph lying there still lies next to ink.
            EXPECT_TRUE(Bit(read.near1, c.x, line)) << "line " << line;
        }
    }
}

// Past a stroke's end, along its direction, a character may overrun it:
// those pixels read as near ink, up to kExtensionReach of them, and only for
// strokes long enough to say where they go.
TEST(RowInkTest, StrokesReachOnPastTheirEnds) {
    struct Case {
        const char* name;
        Point a, b;
        Point beyond;  // a pixel past the end, in band coordinates (x, line)
        bool near;
    };
    const std::vector<Case> cases = {
        {"level, within reach", {60, kTop + 7}, {100, kTop + 7}, {99 + kExtensionReach, 7}, true},
        {"level, beyond reach", {60, kTop + 7}, {100, kTop + 7}, {100 + kExtensionReach + 2, 7}, false},
        {"upright, up past its top", {100, kTop + 12}, {100, kTop + 40}, {100, 12 - kExtensionReach}, true},
        {"diagonal, on along it", {100, kTop + 8}, {140, kTop + 48}, {100 - 6, 8 - 6}, true},
        {"diagonal, not across it", {100, kTop + 8}, {140, kTop + 48}, {100 + 6, 8 - 6}, false},
        {"too short to say", {100, kTop + 8}, {101, kTop + 9}, {100 - 6, 8 - 6}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowInk read;
        ReadRowInk(Lines({{c.a, c.b}}), kRow, read);
        EXPECT_EQ(Bit(read.near2, c.beyond.x, c.beyond.y), c.near);
        EXPECT_FALSE(Bit(read.target, c.beyond.x, c.beyond.y));
    }
}

// `beyond` is what lies more than 3 px (Euclidean) from ink, ink in the
// three lines either side of the band and where a stroke would go on included.
TEST(RowInkTest, MarksWhatLiesMoreThanThreePixelsFromInk) {
    struct Case {
        const char* name;
        Point a, b;
        Point at;  // in band coordinates (x, line)
        bool beyond;
    };
    const std::vector<Case> cases = {
        {"on the line", {60, kTop + 7}, {100, kTop + 7}, {80, 7}, false},
        {"3 lines below", {60, kTop + 7}, {100, kTop + 7}, {80, 10}, false},
        {"4 lines below", {60, kTop + 7}, {100, kTop + 7}, {80, 11}, true},
        {"2 across and 2 down", {200, kTop + 2}, {200, kTop + 4}, {202, 5}, false},
        {"2 across and 3 down", {200, kTop + 2}, {200, kTop + 4}, {202, 6}, true},
        {"ink 3 lines above the band", {60, kTop - 3}, {100, kTop - 3}, {80, 0}, false},
        {"ink 4 lines above the band", {60, kTop - 4}, {100, kTop - 4}, {80, 0}, true},
        {"ink 3 lines below the band", {60, kTop + 18}, {100, kTop + 18}, {80, 15}, false},
        {"above a level stroke's end, where it goes on", {60, kTop + 7}, {100, kTop + 7},
         {99 + kExtensionReach, 4}, false},
        {"past where it goes on", {60, kTop + 7}, {100, kTop + 7}, {103 + kExtensionReach, 7}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RowInk read;
        ReadRowInk(Lines({{c.a, c.b}}), kRow, read);
        EXPECT_EQ(Bit(read.beyond, c.at.x, c.at.y), c.beyond);
    }
}

TEST(RowInkTest, CountsTheTargetLeftOfEachColumn) {
    RowInk read;
    ReadRowInk(Lines({{{10, kTop + 5}, {20, kTop + 5}}}), kRow, read);
    EXPECT_EQ(read.targetBefore[10], 0);
    EXPECT_EQ(read.targetBefore[15], 5);
    EXPECT_EQ(read.targetBefore[kFineRowColumns], 10);
}

}  // namespace
}  // namespace fudeline
