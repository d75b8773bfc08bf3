#include "export/export_text.h"

#include "convert/gap_composer.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

const std::string F = "\x81\x40";

TextRows Rows(std::initializer_list<std::pair<int, TextRow>> rows) {
    TextRows result;
    for (const auto& [index, cells] : rows) result[static_cast<std::size_t>(index)] = cells;
    return result;
}

TEST(ComposeExportText, NoCellsGiveTheEmptyText) {
    EXPECT_EQ(ComposeExportText({}, false), "");
    EXPECT_EQ(ComposeExportText({}, true), "");
}

TEST(ComposeExportText, OneRowHasNoSeparator) {
    const TextRows rows = Rows({{7, {{0, "A", 8}, {11, "B", 8}}}});
    EXPECT_EQ(ComposeExportText(rows, false), "A" + F + "B");
    EXPECT_EQ(ComposeExportText(rows, true), "A" + F + "B");
}

TEST(ComposeExportText, EmptyRowsInsideTheRangeBecomeEmptyLines) {
    const TextRows rows = Rows({{2, {{0, "x", 5}}}, {4, {{0, "y", 5}}}});
    EXPECT_EQ(ComposeExportText(rows, true), "x<BR>\r\n<BR>\r\ny");
    EXPECT_EQ(ComposeExportText(rows, false), "x\r\n\r\ny");
}

TEST(ComposeExportText, LeadingHalfWidthSpacePrefixesEveryLine) {
    for (int gap : {5, 8, 13}) {
        const TextRows rows = Rows({{1, {{0, "a", 5}}}, {2, {}}, {3, {{gap, "b", 5}}}});
        const std::string b = ComposeGap(gap) + "b";
        EXPECT_EQ(ComposeExportText(rows, false), F + "a\r\n" + F + "\r\n" + F + b) << gap;
        EXPECT_EQ(ComposeExportText(rows, true), F + "a<BR>\r\n" + F + "<BR>\r\n" + F + b) << gap;
    }
}

TEST(ComposeExportText, OtherSpacingDoesNotTriggerThePrefix) {
    // Gaps of 11 and 12 start with a full-width space and a full stop; a half-width
    // space later in a row does not count.
    const TextRows rows = Rows({{0, {{11, "a", 5}, {5, "b", 5}}}, {1, {{12, "c", 5}}}});
    EXPECT_EQ(ComposeExportText(rows, false), F + "a b\r\n....c");
}

TEST(ComposeExportUtf8, DecodesTheSameTextAsCp932) {
    // The wave dash and the backslash are where CP932 and plain Shift-JIS differ.
    const TextRows rows = Rows({{0, {{0, "\x82\xA0", 15}}}, {1, {{5, "\x81\x60\\", 16}}}});
    // The second row opens with a half-width space, so every line gets the
    // full-width one in front.
    EXPECT_EQ(ComposeExportUtf8(rows, true).value(),
              "\xE3\x80\x80\xE3\x81\x82<BR>\r\n\xE3\x80\x80 \xEF\xBD\x9E\\");
    EXPECT_EQ(ComposeExportUtf8({}, false).value(), "");
}

}  // namespace
}  // namespace fudeline
