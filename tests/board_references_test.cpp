#include "export/board_references.h"

#include <gtest/gtest.h>

#include "export/boards.h"

namespace fudeline {
namespace {

// A board's row decides; custom limits and names no row holds never do.
TEST(BoardNeedsReferences, AsTheBoardsRowSays) {
    for (const BoardProfile& board : kBoardProfiles) {
        EXPECT_EQ(BoardNeedsReferences(board.name), board.references) << board.name;
    }
    EXPECT_TRUE(BoardNeedsReferences("2ch"));
    EXPECT_TRUE(BoardNeedsReferences("shitaraba"));
    for (const char* text : {"", "2048", "2048:24:256", "4096:0:0", "2CH", "custom"}) {
        EXPECT_FALSE(BoardNeedsReferences(text)) << text;
    }
}

}  // namespace
}  // namespace fudeline
