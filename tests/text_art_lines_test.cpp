#include "text/text_art_lines.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

TEST(SplitTextLines, BreaksAtEachLineFeed) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"a\rb", {"a\rb"}},  // a lone CR is no break
    };
    for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text;
}

TEST(DecodeTextArt, ReadsLinesAndReferencesInBothEncodings) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::vector<std::u32string> lines;
    };
    const std::vector<Case> cases = {
        {"CRLF and LF", "a\r\nb\nc", TextEncoding::Utf8, {U"a", U"b", U"c"}},
        {"byte order mark", "\xEF\xBB\xBF\xEF\xBC\x8F", TextEncoding::Utf8, {U"\uFF0F"}},
        {"references", "&#8201;x&#x200A;&#X3000;", TextEncoding::Utf8, {U"\u2009x\u200A\u3000"}},
        {"not references", "&#;&#x;&#12a&amp;&#0;", TextEncoding::Utf8, {U"&#;&#x;&#12a&amp;&#0;"}},
        {"Shift-JIS", "\x81\x40\x81\x5E\r\n\xDE", TextEncoding::ShiftJis, {U"\u3000\uFF0F", U"\uFF9E"}},
        {"Shift-JIS references", "&#8202;\x5C", TextEncoding::ShiftJis, {U"\u200A\\"}},
    };
    for (const Case& c : cases) {
        const auto lines = DecodeTextArt(c.bytes, c.encoding);
        ASSERT_TRUE(lines) << c.name << ": " << lines.error().Reason();
        EXPECT_EQ(*lines, c.lines) << c.name;
    }
}

// Each character of the result names where it was written: a reference by
// its '&', so that a message points at what the user wrote.
TEST(ResolveCharacterReferences, SaysWhereEachCharacterWasWritten) {
    struct Case {
        std::u32string line;
        std::u32string resolved;
        std::vector<std::size_t> columns;
    };
    const std::vector<Case> cases = {
        {U"", U"", {}},
        {U"ab", U"ab", {0, 1}},
        {U"A&#27;B", U"A\x1B" U"B", {0, 1, 6}},
        {U"&#x2009;&#9;", U"\u2009\t", {0, 8}},
        {U"&#;x&#13;", U"&#;x\r", {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        std::vector<std::size_t> columns = {99};
        EXPECT_EQ(ResolveCharacterReferences(c.line, columns), c.resolved);
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(ResolveCharacterReferences(c.line), c.resolved);
    }
}

TEST(DecodeTextArt, NamesTheLineAndColumnOfABadCharacter) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"ok\nab\xFF", TextEncoding::Utf8, "line 2, column 3: byte 0xFF is not UTF-8"},
        {"\xC0\xAF", TextEncoding::Utf8, "line 1, column 1: byte 0xC0 is not UTF-8"},
        {"\xED\xA0\x80", TextEncoding::Utf8, "line 1, column 1: byte 0xED is not UTF-8"},
        {"x\x81\x40\xA0", TextEncoding::ShiftJis, "line 1, column 3: 0xA0 is not Shift-JIS"},
    };
    for (const Case& c : cases) {
        const auto lines = DecodeTextArt(c.bytes, c.encoding);
        ASSERT_FALSE(lines) << c.reason;
        EXPECT_EQ(lines.error().Reason(), c.reason);
    }
}

}  // namespace
}  // namespace fudeline
