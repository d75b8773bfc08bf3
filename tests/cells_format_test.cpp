#include "export/cells_format.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

TEST(CellsFormatTest, ReadsBackWhatItWrites) {
    TextRows rows;
    rows[0] = {{0, "|", 4}};
    rows[2] = {{172, "_", 5}, {0, "\x81\x44", 11}, {3, "\xDE", 4}};
    rows[28] = {{799, "\x82\xA0", 16}, {0, "\x81\x60", 16, U'\u301C'}};
    const std::string text = FormatCells(rows);
    const auto parsed = ParseCells(text);
    ASSERT_TRUE(parsed) << parsed.error().Message();
    EXPECT_EQ(*parsed, rows);
    // The last line break may be missing; nothing at all is a blank canvas.
    EXPECT_EQ(ParseCells(text.substr(0, text.size() - 1)).value(), rows);
    EXPECT_EQ(ParseCells("").value(), TextRows{});
}

TEST(CellsFormatTest, RejectsMalformedLinesNamingThem) {
    struct Case {
        const char* text;
        const char* reason;
    };
    for (const Case& c : {Case{"2\t0:5:5F\n29\t0:5:5F\n", "line 2: bad row number"},
                          Case{"-1\t0:5:5F", "line 1: bad row number"},
                          Case{"2\t0:5:5F\n2\t0:5:5F", "line 2: row given twice"},
                          Case{"2 0:5:5F", "line 1: not ROW<TAB>cells"},
                          Case{"2\t1:5:5F", "line 1: bad gap"},
                          Case{"2\t2:5:5F", "line 1: bad gap"},
                          Case{"2\t-3:5:5F", "line 1: bad gap"},
                          Case{"2\t99999999999:5:5F", "line 1: bad gap"},
                          Case{"2\t0:-5:5F", "line 1: bad width"},
                          Case{"2\t0:5:5", "line 1: bad character bytes"},
                          Case{"2\t0:5:", "line 1: bad character bytes"},
                          Case{"2\t0:5:XY", "line 1: bad character bytes"},
                          Case{"2\t0:5", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:5:5F  0:5:5F", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:16:8160:", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:16:8160:0", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:16:8160:D800", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:16:8160:110000", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:16:8160:-301C", "line 1: a cell is not gap:width:bytes"},
                          Case{"2\t0:16:8160:301C:1", "line 1: a cell is not gap:width:bytes"},
                          Case{"\n\n", "line 1: not ROW<TAB>cells"}}) {
        SCOPED_TRACE(c.text);
        const auto parsed = ParseCells(c.text);
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error().Message(), c.reason);
    }
}

}  // namespace
}  // namespace fudeline
