#include "session/replay_script.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

using Kind = ReplayEvent::Kind;

TEST(ParseReplayScript, ReadsEveryEventAndSkipsCommentsAndBlanks) {
    const auto events = ParseReplayScript(
        "# a stroke\n\ndown 12 40\r\nmove -5 32767\n  up  \nundo\nclear\nclear no");
    ASSERT_TRUE(events) << events.error().Reason();
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

TEST(ParseReplayScript, ReadsRedoAndTheUndoMode) {
    const auto events = ParseReplayScript("history steps\nundo\nredo\nhistory single\n");
    ASSERT_TRUE(events) << events.error().Reason();
    ASSERT_EQ(events->size(), 4u);
    EXPECT_EQ((*events)[0].kind, Kind::SetUndoMode);
    EXPECT_EQ((*events)[0].undoMode, UndoMode::Steps);
    EXPECT_EQ((*events)[2].kind, Kind::Redo);
    EXPECT_EQ((*events)[3].undoMode, UndoMode::Single);
    for (const char* bad : {"redo 2\n", "history\n", "history all\n", "history steps single\n"}) {
        const auto refused = ParseReplayScript(bad);
        ASSERT_FALSE(refused) << bad;
        EXPECT_NE(refused.error().Reason().find("line 1"), std::string::npos) << bad;
    }
}

// Scripts saved by other editors read exactly as the plain one.
TEST(ParseReplayScript, ByteOrderMarkCrlfAndTrailingCommentsChangeNothing) {
    const std::string plain = "down 100 50\nmove 120 60\nup\nclear no\nundo\n";
    const std::string variants[] = {
        "\xEF\xBB\xBF" + plain,
        "down 100 50\r\nmove 120 60\r\nup\r\nclear no\r\nundo\r\n",
        "down 100 50 # start\nmove 120 60\t#to the right\nup #\nclear no # kept\nundo #x\n",
        "\xEF\xBB\xBF# header\r\ndown 100 50 # start\r\nmove 120 60\r\nup\r\nclear no\r\nundo",
    };
    const auto expected = ParseReplayScript(plain);
    ASSERT_TRUE(expected);
    for (const std::string& text : variants) {
        const auto events = ParseReplayScript(text);
        ASSERT_TRUE(events) << text << ": " << events.error().Reason();
        ASSERT_EQ(events->size(), expected->size()) << text;
        for (std::size_t i = 0; i < events->size(); ++i) {
            EXPECT_EQ((*events)[i].kind, (*expected)[i].kind) << text;
            EXPECT_EQ((*events)[i].x, (*expected)[i].x) << text;
            EXPECT_EQ((*events)[i].y, (*expected)[i].y) << text;
        }
    }
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
        // A comment must stand apart from the event's last word.
        {"down 1 2# start\n", "line 1"},
        {"down 1 # 2\n", "line 1"},
        // Only a mark at the very start is skipped.
        {"up\n\xEF\xBB\xBFup\n", "line 2"},
    };
    for (const auto& [text, where] : bad) {
        const auto events = ParseReplayScript(text);
        ASSERT_FALSE(events) << text;
        EXPECT_TRUE(events.error().path.empty());
        EXPECT_EQ(events.error().Reason().rfind(where, 0), 0u) << events.error().Reason();
    }
}

}  // namespace
}  // namespace fudeline
