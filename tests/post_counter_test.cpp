#include "export/post_counter.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

struct Post {
    const char* name;
    std::string text;
    std::int64_t bytes, lines, longestLine;
};

// Each count worked out by hand: escapes and " <br> " spelled out in the comment.
TEST(CountPost, CountsAsTheBoardStoresThePost) {
    const Post posts[] = {
        {"empty", "", 0, 0, 0},
        {"one plain line", "abc", 3, 1, 3},
        // &lt; a &gt;  = 4 + 1 + 4
        {"angle brackets", "<a>", 9, 1, 9},
        // &quot;x&quot; = 6 + 1 + 6
        {"quotes", "\"x\"", 13, 1, 13},
        // a <br> b: 1 + 6 + 1, over two lines
        {"CRLF break", "a\r\nb", 8, 2, 1},
        {"LF break", "a\nb", 8, 2, 1},
        // &lt;BR&gt; (10) + <br> (6) + "x" (1)
        {"copied <BR> tag", "<BR>\r\nx", 17, 2, 10},
        // an empty line in the middle still costs its break
        {"empty middle line", "a\r\n\r\nb", 14, 3, 1},
        // full-width space (2 bytes, trail 0x40) then "<" (4)
        {"two-byte character", "\x81\x40<", 6, 1, 6},
    };
    for (const Post& post : posts) {
        const PostCount count = CountPost(post.text, FindBoard("2ch")->limits);
        EXPECT_EQ(count.bytes, post.bytes) << post.name;
        EXPECT_EQ(count.lines, post.lines) << post.name;
        EXPECT_EQ(count.longestLine, post.longestLine) << post.name;
        EXPECT_FALSE(count.over()) << post.name;
    }
}

TEST(CountPost, EachLimitIsPassedOnlyWhenExceeded) {
    const BoardLimits limits{20, 3, 5};
    struct Case {
        const char* name;
        std::string text;
        bool overBytes, overLines, overLineBytes;
    };
    const Case cases[] = {
        // 5 + 6 + 2 = 13 bytes, 2 lines
        {"within", "aaaaa\nbb", false, false, false},
        {"line exactly at its limit", "aaaaa", false, false, false},
        {"line one byte over", "aaaaaa", false, false, true},
        // "<" escapes to 4 bytes: 2 + 4 = 6 > 5
        {"escape pushes a line over", "ab<", false, false, true},
        // 1 + 6 + 1 + 6 + 1 = 15 bytes, 3 lines: at both limits
        {"three lines", "a\nb\nc", false, false, false},
        {"four lines", "a\nb\nc\nd", true, true, false},  // 1*4 + 18 = 22 > 20
        // 3 + 6 + 3 + 6 + 2 = 20 bytes exactly, then one more
        {"bytes exactly at the limit", "aaa\naaa\naa", false, false, false},
        {"bytes one over", "aaa\naaa\naaa", true, false, false},
    };
    for (const Case& c : cases) {
        const PostCount count = CountPost(c.text, limits);
        EXPECT_EQ(count.overBytes, c.overBytes) << c.name << " bytes " << count.bytes;
        EXPECT_EQ(count.overLines, c.overLines) << c.name;
        EXPECT_EQ(count.overLineBytes, c.overLineBytes) << c.name;
    }
}

TEST(CountPost, BoardsDifferOnTheSamePost) {
    // 2100 bytes on one line: too long for 2ch in every way it can be, fine for shitaraba.
    const BoardLimits on2chLimits = FindBoard("2ch")->limits;
    const BoardLimits onShitarabaLimits = FindBoard("shitaraba")->limits;
    const std::string post(2100, 'a');
    const PostCount on2ch = CountPost(post, on2chLimits);
    EXPECT_TRUE(on2ch.overBytes);
    EXPECT_TRUE(on2ch.overLineBytes);
    EXPECT_FALSE(on2ch.overLines);
    EXPECT_FALSE(CountPost(post, onShitarabaLimits).over());
    EXPECT_TRUE(CountPost(std::string(4097, 'a'), onShitarabaLimits).overBytes);
    // 25 short lines: only the line count is over on 2ch.
    std::string lines = "a";
    for (int i = 0; i < 24; ++i) lines += "\r\na";
    const PostCount many = CountPost(lines, on2chLimits);
    EXPECT_EQ(many.lines, 25);
    EXPECT_TRUE(many.overLines);
    EXPECT_FALSE(many.overBytes);
}

}  // namespace
}  // namespace fudeline
