#include "session/replay_script.h"

#include <gtest/gtest.h>

#include <random>

#include "session/client_map.h"
#include "session/replay_player.h"
#include "test_catalogs.h"
#include "test_sessions.h"

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
    // Scripts from before Shift and the stabilizer mean what they meant.
    for (const ReplayEvent& event : *events) EXPECT_FALSE(event.shift);
}

TEST(ParseReplayScript, ReadsShiftOnPressesAndMovesAndTheStabilizerSetting) {
    const struct {
        const char* line;
        Kind kind;
        bool shift;
        Stabilizer stabilizer;
    } cases[] = {
        {"down 10 20 shift", Kind::Down, true, Stabilizer::Off},
        {"move 10 20 shift # held", Kind::Move, true, Stabilizer::Off},
        {"move\t10  20\tshift\r", Kind::Move, true, Stabilizer::Off},
        {"move 10 20", Kind::Move, false, Stabilizer::Off},
        {"stabilizer off", Kind::SetStabilizer, false, Stabilizer::Off},
        {"stabilizer weak", Kind::SetStabilizer, false, Stabilizer::Weak},
        {" stabilizer strong # for a shaky hand", Kind::SetStabilizer, false, Stabilizer::Strong},
    };
    for (const auto& c : cases) {
        const auto event = ParseReplayLine(c.line, 4);
        ASSERT_TRUE(event) << c.line << ": " << event.error().Reason();
        ASSERT_TRUE(*event) << c.line;
        EXPECT_EQ((*event)->kind, c.kind) << c.line;
        EXPECT_EQ((*event)->shift, c.shift) << c.line;
        EXPECT_EQ((*event)->stabilizer, c.stabilizer) << c.line;
        if (c.kind != Kind::SetStabilizer) {
            EXPECT_EQ((*event)->x, 10);
            EXPECT_EQ((*event)->y, 20);
        }
    }
}

TEST(ParseReplayLine, ReadsTheEraserSize) {
    const struct {
        const char* line;
        EraserSize size;
        int width;
    } cases[] = {
        {"eraser small", EraserSize::Small, 4},
        {"eraser medium # the width there always was", EraserSize::Medium, kWidePenWidth},
        {"\teraser large\r", EraserSize::Large, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto event = ParseReplayLine(c.line, 3);
        ASSERT_TRUE(event && *event);
        EXPECT_EQ((*event)->kind, Kind::SetEraser);
        EXPECT_EQ((*event)->eraser, c.size);
        EXPECT_EQ(EraserWidth((*event)->eraser), c.width);
    }
}

TEST(ParseReplayLine, ATypeLinesTextIsTheRestOfTheLineAsItStands) {
    const struct {
        const char* line;
        int x, y;
        const char* text;
    } cases[] = {
        {"type 10 20 hello", 10, 20, "hello"},
        {"type -3 20  two  spaces # and a hash ", -3, 20, " two  spaces # and a hash "},
        {"  type\t10 20\tTab before\r", 10, 20, "Tab before"},
        {"type 10 20 \xE6\x96\x87\xE5\xAD\x97", 10, 20, "\xE6\x96\x87\xE5\xAD\x97"},
        {"type 10 20", 10, 20, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto event = ParseReplayLine(c.line, 2);
        ASSERT_TRUE(event) << event.error().Reason();
        ASSERT_TRUE(*event);
        EXPECT_EQ((*event)->kind, Kind::Type);
        EXPECT_EQ((*event)->x, c.x);
        EXPECT_EQ((*event)->y, c.y);
        EXPECT_EQ((*event)->text, c.text);
    }
}

// A script may end in the middle of a stroke: its last moves are painted
// all the same, as the window paints what the pointer drew before it stops.
TEST(PlayReplayEvents, PaintsTheMovesOfAScriptEndingMidStroke) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const RowMatcher matcher(catalog);
    const auto events = ParseReplayScript("down 100 100\nmove 300 104\nmove 400 98\n");
    ASSERT_TRUE(events) << events.error().Reason();
    ArtState played(matcher, nullptr);
    PlayReplayEvents(*events, played);
    ArtState direct(matcher, nullptr);
    direct.BeginStroke({100 - kCanvasLeft, 100 - kCanvasTop});
    direct.ExtendStroke({300 - kCanvasLeft, 104 - kCanvasTop});
    direct.ExtendStroke({400 - kCanvasLeft, 98 - kCanvasTop});
    direct.RunPendingConversion();
    EXPECT_FALSE(played.rows()[3].empty());
    EXPECT_EQ(played.rows(), direct.rows());
}

// With the row matcher every move is painted as it comes: a row is matched
// up to the inked extent of its paint, so a level stroke painted at its end
// would be spelled otherwise than the window spelled it.
TEST(PlayReplayEvents, PaintsEveryMoveForTheRowMatcher) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const RowMatcher matcher(catalog);
    std::string script = "down 72 207\n";
    for (int x = 70; x < 700; x += 10) script += "move " + std::to_string(x + 12) + " " + std::to_string(200 + x / 8) + "\n";
    script += "up\n";
    const auto events = ParseReplayScript(script);
    ASSERT_TRUE(events) << events.error().Reason();
    ArtState played(matcher, nullptr), painted(matcher, nullptr);
    PlayReplayEvents(*events, played);
    for (const ReplayEvent& event : *events) {
        const ClientTarget target = MapClientPoint(event.x, event.y);
        if (event.kind == Kind::Down) painted.BeginStroke(target.point);
        if (event.kind == Kind::Move) painted.ExtendStroke(target.point);
        if (event.kind == Kind::Up) painted.EndStroke();
        painted.RunPendingConversion();
    }
    EXPECT_EQ(played.rows(), painted.rows());
}

// The player hands the script's Shift and setting to the session exactly as
// the window hands over its mouse events and its choice.
TEST(PlayReplayEvents, DrawsWhatTheSameEventsDrawOnTheSession) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    const RowMatcher matcher(catalog);
    const auto events = ParseReplayScript(
        "down 100 100\nmove 130 104\nmove 170 98\nup\n"
        "stabilizer strong\n"
        "down 100 200\nmove 120 205\nmove 140 199\nmove 200 260 shift\nmove 260 262 shift\n"
        "move 290 250\nmove 300 255\nup\n"
        "down 400 100 shift\nmove 470 160 shift\nup\n");
    ASSERT_TRUE(events) << events.error().Reason();
    ArtState played(matcher, nullptr);
    PlayReplayEvents(*events, played);

    ArtState direct(matcher, nullptr);
    const PenPoint origin{kCanvasLeft, kCanvasTop};
    auto at = [&](int x, int y) { return PenPoint{x - origin.x, y - origin.y}; };
    direct.BeginStroke(at(100, 100));
    for (const PenPoint p : {at(130, 104), at(170, 98)}) direct.ExtendStroke(p);
    direct.EndStroke();
    direct.SetStabilizer(Stabilizer::Strong);
    direct.BeginStroke(at(100, 200));
    direct.ExtendStroke(at(120, 205));
    direct.ExtendStroke(at(140, 199));
    direct.ExtendStroke(at(200, 260), true);
    direct.ExtendStroke(at(260, 262), true);
    direct.ExtendStroke(at(290, 250));
    direct.ExtendStroke(at(300, 255));
    direct.EndStroke();
    direct.BeginStroke(at(400, 100), true);
    direct.ExtendStroke(at(470, 160), true);
    direct.EndStroke();
    direct.RunPendingConversion();
    EXPECT_EQ(played.stabilizer(), Stabilizer::Strong);
    EXPECT_EQ(played.rows(), direct.rows());
    int differ = 0, inked = 0;
    for (int y = 0; y < kInkHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            differ += played.inkLayer().Pixel(x, y) != direct.inkLayer().Pixel(x, y);
            inked += played.inkLayer().Pixel(x, y) == kBlack;
        }
    }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(inked, 300);  // every stroke drew
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
        // Shift is the one word after X and Y, and only on presses and moves.
        {"move 1 2 alt\n", "line 1"},
        {"move 1 2 Shift\n", "line 1"},
        {"down 1 2 shift shift\n", "line 1"},
        {"up shift\n", "line 1"},
        {"move shift 1 2\n", "line 1"},
        {"stabilizer\n", "line 1"},
        {"stabilizer medium\n", "line 1"},
        {"stabilizer weak strong\n", "line 1"},
        {"eraser\n", "line 1"},
        {"eraser 8\n", "line 1"},
        {"eraser small large\n", "line 1"},
        // Type needs its point; its text must be UTF-8.
        {"type\n", "line 1"},
        {"type 1\n", "line 1"},
        {"type 1 x words\n", "line 1"},
        {"up\ntype 1 2 \xFF\n", "line 2"},
    };
    for (const auto& [text, where] : bad) {
        const auto events = ParseReplayScript(text);
        ASSERT_FALSE(events) << text;
        EXPECT_TRUE(events.error().path.empty());
        EXPECT_EQ(events.error().Reason().rfind(where, 0), 0u) << events.error().Reason();
    }
}

// With the fine decoder a script's rows are decoded once, at its end: they
// are the rows of the same script decoded at every paint, through undo,
// redo, clears, the eraser and either history, and what undo brings back
// after it carries its rows too.
TEST(PlayReplayEvents, RowsDecodedAtTheEndAreThoseOfEveryPaint) {
    const testing::SessionDecoders& decoders = testing::Decoders();
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
        std::string script = seed % 2 == 0 ? "history steps\n" : "";
        for (int i = 0; i < 60; ++i) {
            const int what = pick(0, 19);
            if (what == 0) script += "undo\n";
            if (what == 1) script += "redo\n";
            if (what == 2) script += pick(0, 3) == 0 ? "clear\n" : "clear no\n";
            if (what == 3) script += pick(0, 1) ? "eraser large\n" : "eraser small\n";
            if (what == 4) script += pick(0, 1) ? "stabilizer strong\n" : "stabilizer off\n";
            if (what < 5) continue;
            int x = pick(0, 820), y = pick(0, 540);
            script += "down " + std::to_string(x) + " " + std::to_string(y) + "\n";
            for (int m = pick(0, 8); m > 0; --m) {
                x += pick(-40, 40);
                y += pick(-40, 40);
                script += "move " + std::to_string(x) + " " + std::to_string(y) + "\n";
            }
            script += "up\n";
        }
        const auto events = ParseReplayScript(script);
        ASSERT_TRUE(events) << events.error().Reason();
        ArtState waited(decoders.matcher, nullptr), painted(decoders.matcher, nullptr);
        waited.SetFineDecoder(&decoders.fine);
        painted.SetFineDecoder(&decoders.fine);
        PlayReplayEvents(*events, waited);
        PlayReplayEvents(*events, painted, [](const ArtState&) {});  // every paint seen
        EXPECT_EQ(waited.inkLayer(), painted.inkLayer());
        EXPECT_EQ(waited.rows(), painted.rows());
        waited.Undo();
        for (int row = 0; row < kRowCount; ++row) {
            EXPECT_EQ(waited.rows()[static_cast<std::size_t>(row)],
                      decoders.fine.DecodeRow(waited.inkLayer(), row))
                << "row " << row;
        }
    }
}

}  // namespace
}  // namespace fudeline
