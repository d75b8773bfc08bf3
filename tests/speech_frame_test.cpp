#include "render/speech_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glyphs/glyphs_errors.h"
#include "glyphs/utf8.h"
#include "render/text_art_picture.h"
#include "test_catalogs.h"

namespace fudeline {
namespace {

std::vector<std::u32string> Lines(std::string_view text) {
    std::vector<std::u32string> lines(1);
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextUtf8(text, i).value_or(U'?');
        if (c == U'\r') continue;
        if (c == U'\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// The words inside, one a line, and the frame's right side within a few
// pixels of its corners on every line, whatever the words' widths.
TEST(SpeechFrameTest, FramesTheWordsWithTheRightSideStraight) {
    const MonaFont& face = testing::TestFont();
    const struct {
        const char* words;
        FrameStyle style;
        std::size_t lines;  // the words' lines, blank ones around them left out
    } kCases[] = {
        {"\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF", FrameStyle::Rounded,
         1},  // こんにちは
        {"Hi!\nA longer second line, iiii\n\xE3\x81\x82", FrameStyle::Box, 3},
        {"\n\r\nl\r\n\xE3\x80\x80\n", FrameStyle::Rounded, 1},
        {"wwwwwwwwwwwwwwwwwww\nl\nWWW", FrameStyle::Box, 3},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.words);
        const Result<std::string> framed = FramedText(c.words, c.style, face);
        ASSERT_TRUE(framed) << framed.error().Message();
        const std::vector<std::u32string> lines = Lines(*framed);
        ASSERT_EQ(lines.size(), c.lines + 2);
        const std::int64_t corner =
            TextLineWidth(lines.front(), face) -
            TextLineWidth(lines.front().substr(lines.front().size() - 1), face);
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            const std::u32string& line = lines[i];
            const std::int64_t side =
                TextLineWidth(line, face) - TextLineWidth(line.substr(line.size() - 1), face);
            EXPECT_LE(std::abs(side - corner), 3) << i;
            EXPECT_NE(line.find(U"  "), 0u);  // no doubled half-width space
        }
        EXPECT_EQ(TextLineWidth(lines.front(), face), TextLineWidth(lines.back(), face));
    }
}

TEST(SpeechFrameTest, NothingToFrameAndBadBytes) {
    const MonaFont& face = testing::TestFont();
    EXPECT_EQ(FramedText("", FrameStyle::Box, face).value(), "");
    EXPECT_EQ(FramedText(" \n\xE3\x80\x80\r\n", FrameStyle::Rounded, face).value(), "");
    const Result<std::string> bad = FramedText("a\xFF", FrameStyle::Box, face);
    ASSERT_FALSE(bad);
    EXPECT_TRUE(bad.error().Is(kinds::TextNotUtf8));
    EXPECT_EQ(ParseFrameStyle("rounded"), FrameStyle::Rounded);
    EXPECT_EQ(ParseFrameStyle("box"), FrameStyle::Box);
    EXPECT_EQ(ParseFrameStyle("cloud"), std::nullopt);
}

}  // namespace
}  // namespace fudeline
