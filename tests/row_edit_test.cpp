#include "text/row_edit.h"

#include <gtest/gtest.h>

#include <string>

#include "text/text_errors.h"

namespace fudeline {
namespace {

TextCell Cell(std::string text, std::int32_t width, std::int32_t gap = 0) {
    return {gap, std::move(text), width};
}

// Plain spaces spell 0, 11, 16, 22, 27, ... (a lone half-width space only
// after a character); fillers spell every width from 3.
const GapRule kSpaces(Spacing::Spaces);
const GapRule kFillers(Spacing::Fillers);

TEST(GapRule, FindsTheSpelledGapsAroundAWidth) {
    const struct {
        const GapRule& rule;
        std::int32_t width;
        bool lineStart;
        std::int32_t atLeast, atMost, nearest;
    } cases[] = {
        {kSpaces, 12, true, 16, 11, 11},
        {kSpaces, 5, true, 11, 0, 0},    // no lone half-width space to start a line
        {kSpaces, 5, false, 5, 5, 5},
        {kSpaces, 30, false, 33, 27, 33},  // as near both ways: the wider
        {kFillers, 2, true, 3, 0, 3},
        {kFillers, 40, true, 40, 40, 40},
        {kSpaces, 0, true, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(c.rule.AtLeast(c.width, c.lineStart), c.atLeast);
        EXPECT_EQ(c.rule.AtMost(c.width, c.lineStart), c.atMost);
        EXPECT_EQ(c.rule.Nearest(c.width, c.lineStart), c.nearest);
    }
}

TEST(CaretAt, StandsAtACharactersNearerEdgeOrWhereTheGapIsSpelled) {
    // A at 11..21, B at 21..27, then C at 49..59.
    const TextRow row = {Cell("A", 10, 11), Cell("B", 6), Cell("C", 10, 22)};
    const struct {
        const char* what;
        const GapRule& rule;
        std::int32_t x, caret;
    } cases[] = {
        {"left half of a character", kSpaces, 13, 11},
        {"right half of a character", kSpaces, 17, 21},
        {"between two touching characters", kSpaces, 22, 21},
        {"in a gap: the nearest spelled column", kSpaces, 40, 38},
        {"in a gap, near the next character", kSpaces, 47, 49},
        {"fillers reach every column from 3 on", kFillers, 40, 40},
        {"past the last character", kSpaces, 75, 75},
        {"left of everything, too near the edge", kSpaces, 3, 0},
        {"left of the canvas", kSpaces, -20, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CaretAt(row, c.x, c.rule), c.caret);
    }
}

TEST(CaretStep, ArrowsGoOverACharacterOrAFullWidthSpaceOfGap) {
    // A at 11..21, B at 21..27, then C at 49..59.
    const TextRow row = {Cell("A", 10, 11), Cell("B", 6), Cell("C", 10, 22)};
    const struct {
        const GapRule& rule;
        std::int32_t caret;
        int step;
        std::int32_t to;
    } cases[] = {
        // Right, from the line's start to past the last character.
        {kSpaces, 0, 1, 11}, {kSpaces, 11, 1, 21}, {kSpaces, 21, 1, 27}, {kSpaces, 27, 1, 38},
        {kSpaces, 38, 1, 49}, {kSpaces, 49, 1, 59}, {kSpaces, 59, 1, 70},
        {kFillers, 40, 1, 49},  // a space's step, but no further than the next character
        {kSpaces, 795, 1, 800}, {kSpaces, 800, 1, 800},  // the canvas's edge
        // Left, back to the start.
        {kSpaces, 70, -1, 59}, {kSpaces, 59, -1, 49}, {kSpaces, 49, -1, 38}, {kSpaces, 38, -1, 27},
        {kSpaces, 27, -1, 21}, {kSpaces, 21, -1, 11}, {kSpaces, 11, -1, 0}, {kSpaces, 0, -1, 0},
        {kFillers, 30, -1, 27},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.caret << (c.step < 0 ? " left" : " right"));
        EXPECT_EQ(CaretStep(row, c.caret, c.step, c.rule, 800), c.to);
    }
}

TEST(InsertCells, PutsCharactersAtTheCaretAndMovesWhatFollowsTheLeastItMust) {
    const struct {
        const char* what;
        TextRow row;
        std::int32_t caret;
        TextRow typed;
        TextRow after;
        std::int32_t caretAfter, from, to;
    } cases[] = {
        {"on an empty row", {}, 22, {Cell("a", 5), Cell("b", 6)},
         {Cell("a", 5, 22), Cell("b", 6)}, 33, 22, 33},
        {"before a touching character, which moves on with it", {Cell("X", 10)}, 0,
         {Cell("a", 4)}, {Cell("a", 4), Cell("X", 10)}, 4, 0, 14},
        {"in a gap, what follows keeps its column while its gap is spelled",
         {Cell("A", 10), Cell("B", 10, 22)}, 21, {Cell("c", 6)},
         {Cell("A", 10), Cell("c", 6, 11), Cell("B", 10, 5)}, 27, 21, 27},
        {"in a gap, what follows moves to the nearest spelled gap",
         {Cell("A", 10), Cell("B", 10, 22)}, 21, {Cell("c", 8)},
         {Cell("A", 10), Cell("c", 8, 11), Cell("B", 10, 5)}, 29, 21, 44},
        {"at a column the spacing cannot reach: the next one it can", {Cell("A", 10)}, 13,
         {Cell("c", 6)}, {Cell("A", 10), Cell("c", 6, 5)}, 21, 15, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result<RowEdit> edit = InsertCells(c.row, c.caret, c.typed, kSpaces, 799, 1);
        ASSERT_TRUE(edit) << edit.error().Message();
        EXPECT_EQ(edit->row, c.after);
        EXPECT_EQ(edit->caret, c.caretAfter);
        EXPECT_EQ(edit->from, c.from);
        EXPECT_EQ(edit->to, c.to);
    }
}

TEST(InsertCells, RefusesARowGrowingPastTheCanvasAndNamesIt) {
    const TextRow row = {Cell("A", 10, 70)};
    const Result<RowEdit> edit = InsertCells(row, 0, {Cell("c", 11)}, kSpaces, 80, 7);
    ASSERT_FALSE(edit);
    EXPECT_EQ(edit.error().kind, &kinds::RowTooWide);
    EXPECT_EQ(edit.error().Reason(), "row 7 would be 81 pixels wide; the canvas holds 80");
}

TEST(EraseBefore, TakesTheCharacterBeforeTheCaretOrAFullWidthSpaceOfGap) {
    const struct {
        const char* what;
        TextRow row;
        std::int32_t caret;
        TextRow after;
        std::int32_t caretAfter;
        bool changed;
    } cases[] = {
        {"the last character", {Cell("A", 10), Cell("B", 6)}, 16, {Cell("A", 10)}, 10, true},
        {"a character with one touching it after the caret",
         {Cell("A", 10), Cell("B", 6), Cell("C", 7)}, 16, {Cell("A", 10), Cell("C", 7)}, 10,
         true},
        {"a gap, pulling the touching character along", {Cell("A", 10, 33)}, 33,
         {Cell("A", 10, 22)}, 22, true},
        {"a gap with nothing touching: only the caret moves", {Cell("A", 10, 44)}, 33,
         {Cell("A", 10, 44)}, 22, false},
        {"the row's start", {Cell("A", 10)}, 0, {Cell("A", 10)}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RowEdit edit = EraseBefore(c.row, c.caret, kSpaces);
        EXPECT_EQ(edit.row, c.after);
        EXPECT_EQ(edit.caret, c.caretAfter);
        EXPECT_EQ(edit.Changed(), c.changed);
    }
}

}  // namespace
}  // namespace fudeline
