#include "glyphs/sjis.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace fudeline {
namespace {

// "a", katakana PO (0x83 0x7C, whose trail byte is '|'), "b", "|", "c".
const std::string kPoText =
    "a\x83\x7C"
    "b|c";

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> fields;
    SplitString(text, fields, delimiter);
    return fields;
}

TEST(ReadLine, ReturnsLinesWithTheirLineFeedThenMinusOne) {
    std::FILE* stream = std::tmpfile();
    std::fputs("a\nb", stream);
    std::rewind(stream);
    std::string line;
    EXPECT_EQ(ReadLine(line, stream), 2);
    EXPECT_EQ(line, "a\n");
    EXPECT_EQ(ReadLine(line, stream), 1);
    EXPECT_EQ(line, "b");
    EXPECT_EQ(ReadLine(line, stream), -1);
    EXPECT_EQ(line, "");
    std::fclose(stream);
}

TEST(ReadLine, KeepsCarriageReturnsAndNulBytes) {
    std::FILE* stream = std::tmpfile();
    std::fwrite("x\0\r\n", 1, 4, stream);
    std::rewind(stream);
    std::string line;
    EXPECT_EQ(ReadLine(line, stream), 4);
    EXPECT_EQ(line, std::string("x\0\r\n", 4));
    std::fclose(stream);
}

TEST(StripTrailingChar, RemovesOneMatchingByteOnly) {
    std::string s = "a\r\n";
    StripTrailingChar(s, '\n');
    StripTrailingChar(s, '\r');
    EXPECT_EQ(s, "a");
    s = "a\n";
    StripTrailingChar(s, '\r');
    EXPECT_EQ(s, "a\n");
    s = "a\n\n";
    StripTrailingChar(s, '\n');
    EXPECT_EQ(s, "a\n");
    s.clear();
    StripTrailingChar(s, '\n');
    EXPECT_EQ(s, "");
}

TEST(IsSingleByteChar, RangeEndsAreInclusive) {
    EXPECT_TRUE(IsSingleByteChar(0x00));
    EXPECT_TRUE(IsSingleByteChar(0x7F));
    EXPECT_TRUE(IsSingleByteChar(0xA1));
    EXPECT_TRUE(IsSingleByteChar(0xDF));
    EXPECT_FALSE(IsSingleByteChar(0x80));
    EXPECT_FALSE(IsSingleByteChar(0xA0));
    EXPECT_FALSE(IsSingleByteChar(0xE0));
    EXPECT_FALSE(IsSingleByteChar(0xFF));
}

// Whether a one-byte character begins at `pos`, walking from offset 0: the
// plain answer the boundary search must agree with.
bool OneByteCharacterAt(std::string_view text, std::size_t pos) {
    for (std::size_t i = 0; i < text.size();) {
        const bool single = IsSingleByteChar(static_cast<unsigned char>(text[i]));
        if (single && i == pos) return true;
        i += single ? 1 : 2;
    }
    return false;
}

TEST(FindAtCharBoundary, PassesOverTrailBytesEqualToTheDelimiter) {
    EXPECT_EQ(FindAtCharBoundary(kPoText, "|", 0), 4);
    EXPECT_EQ(FindAtCharBoundary(kPoText, "|", 5), -1);
    EXPECT_EQ(FindAtCharBoundary(kPoText, "|", 99), -1);
    EXPECT_EQ(FindAtCharBoundary(kPoText, "c", 0), 5);
    // A delimiter whose first byte is a lead byte is never found.
    EXPECT_EQ(FindAtCharBoundary(kPoText, "\x83\x7C", 0), -1);
    // An empty delimiter matches at the start position when that is a boundary.
    EXPECT_EQ(FindAtCharBoundary("ab", "", 1), 1);
}

TEST(FindAtCharBoundary, AgreesWithAWalkFromTheStartOnEveryCandidate) {
    // Alternating two-byte characters with '|' trail bytes and real '|'s.
    std::string text;
    for (int i = 0; i < 50; ++i) text += (i % 3 == 0) ? "|" : "\x81|";
    for (std::size_t start = 0; start <= text.size(); ++start) {
        long expected = -1;
        for (std::size_t p = start; p < text.size(); ++p) {
            if (text[p] == '|' && OneByteCharacterAt(text, p)) {
                expected = static_cast<long>(p);
                break;
            }
        }
        EXPECT_EQ(FindAtCharBoundary(text, "|", start), expected) << "start " << start;
    }
}

TEST(SplitString, CommaSpaceFields) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("1, 2, 3", ", "), (V{"1", "2", "3"}));
    EXPECT_EQ(Split("1, , 3", ", "), (V{"1", "", "3"}));
    EXPECT_EQ(Split("1, 2, ", ", "), (V{"1", "2", ""}));
    EXPECT_EQ(Split(", 1", ", "), (V{"", "1"}));
    EXPECT_EQ(Split("1,2", ", "), (V{"1,2"}));
    EXPECT_EQ(Split("", ", "), V{});
    EXPECT_EQ(Split("abc", ""), V{});
}

TEST(SplitString, OneByteDelimiterRespectsCharacterBoundaries) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split(kPoText, "|"), (V{"a\x83\x7C"
                                      "b",
                                      "c"}));
}

TEST(SplitString, AppendsToTheList) {
    std::vector<std::string> fields{"x"};
    SplitString("1, 2", fields, ", ");
    EXPECT_EQ(fields, (std::vector<std::string>{"x", "1", "2"}));
}

TEST(ReplaceAll, NeverSearchesTheInsertedText) {
    std::string text = "x\r\ny\r\n";
    ReplaceAll(text, "\r\n", "\r\n\x81\x40");
    EXPECT_EQ(text, "x\r\n\x81\x40y\r\n\x81\x40");
    text = "aaa";
    ReplaceAll(text, "a", "aa");
    EXPECT_EQ(text, "aaaaaa");
    text = "abcabc";
    ReplaceAll(text, "abc", "");
    EXPECT_EQ(text, "");
}

TEST(ReplaceAll, EmptyPatternOrNoMatchChangesNothing) {
    std::string text = "no break";
    ReplaceAll(text, "\r\n", "X");
    EXPECT_EQ(text, "no break");
    ReplaceAll(text, "", "X");
    EXPECT_EQ(text, "no break");
}

}  // namespace
}  // namespace fudeline
