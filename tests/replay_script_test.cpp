#include "session/replay_script.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

using Kind = ReplayEvent::Kind;

TEST(ParseReplayScript, ReadsEveryEventAndSkipsCommentsAndBlanks) {
    std::string error;
    const auto events = ParseReplayScript(
        "# a stroke\n\ndown 12 40\r\nmove -5 32767\n  up  \nundo\nclear\nclear no", &error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 6u);
    EXPECT_EQ((*events)[0].kind, Kind::Down);
    EXPECT_EQ((*events)[0].x, 12);
    EXPECT_EQ((*events)[0].line, 3);
    EXPECT_EQ((*events)[1].x, -5);
    EXPECT_EQ((*events)[1].y, 32767);
    EXPECT_EQ((*events)[2].kind, Kind::Up);
    EXPECT_EQ((*events)[3].kind, Kind::Undo);
    EXPECT_EQ((*events)[4].kind, Kind::Clear);
    EXPECT_EQ((*events)[5].kind, Kind::ClearDeclined);
}

TEST(ParseReplayScript, NamesTheLineThatCannotBeRead) {
    const std::pair<std::string, const char*> bad[] = {
        {"down 1 2\nmove 1\n", "line 2"},
        {"down 1 2\nmove 1 2 3\n", "line 2"},
        {"up\n\ndown 32768 0\n", "line 3"},
        {"move 1.5 2\n", "line 1"},
        {"move 0x10 2\n", "line 1"},
        {"undo now\n", "line 1"},
        {"clear yes\n", "line 1"},
        {"draw 1 2\n", "line 1"},
        {std::string("do\0wn 1 2\n", 10), "line 1"},
    };
    for (const auto& [text, where] : bad) {
        std::string error;
        EXPECT_FALSE(ParseReplayScript(text, &error)) << text;
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
    }
}

}  // namespace
}  // namespace fudeline
