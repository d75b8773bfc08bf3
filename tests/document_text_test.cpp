// The text tool's commands on a Document: typed words kept as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <string>
#include <vector>

#include "engine/document.h"
#include "render/render_errors.h"
#include "text/text_errors.h"
#include "glyphs/cp932.h"
#include "pixels/geometry.h"
#include "session/client_map.h"
#include "session/replay_script.h"
#include "test_engine.h"

namespace fudeline {
namespace {

// The exported UTF-8 text split into its lines, without line ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// What a row writes its characters as, gaps left out.
std::string Visible(const TextRow& row) {
    std::string out;
    for (const TextCell& cell : row) out += Cp932ToUtf8(cell.text).value_or("?");
    return out;
}

// Whether `s` is spacing alone: plain, full-width and the Unicode spaces.
bool OnlySpacing(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        bool matched = false;
        for (const std::string_view blank :
             {" ", "\u3000", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006", "\u2007", "\u2008",
              "\u2009", "\u200A", "\u205F"}) {
            if (std::string_view(s).substr(i).starts_with(blank)) {
                i += blank.size();
                matched = true;
                break;
            }
        }
        if (!matched) return false;
    }
    return true;
}

// Canvas y of the middle of text row `row`.
std::int32_t RowY(int row) { return row * kRowHeight + kRowHeight / 2; }

class DocumentTextTest : public ::testing::Test {
  protected:
    void TearDown() override { document_.SetDecoder({}); }

    std::vector<std::string> Exported() {
        const Result<std::string> text = document_.Text(TextFormat::Utf8);
        EXPECT_TRUE(text) << text.error().Message();
        return Lines(text.value_or(""));
    }
    void TypeAt(PenPoint at, std::string_view text) {
        ASSERT_TRUE(document_.PlaceCaret(at));
        const Status typed = document_.Type(text);
        ASSERT_TRUE(typed) << typed.error().Message();
    }
    void Stroke(std::initializer_list<PenPoint> points) {
        ArtState& state = document_.state();
        state.BeginStroke(*points.begin());
        for (const PenPoint& p : points) state.ExtendStroke(p);
        state.EndStroke();
        document_.Settle();
    }

    Document document_{testing::LoadedEngine()};
};

TEST_F(DocumentTextTest, ArrowsMoveTheCaretToWhereTheNextWordsGo) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> moves;  // (step, rows) in turn
        std::string typed;
        std::vector<std::string> rows;  // rows 3 and 4, what they show
    } cases[] = {
        {"two left: into the word", {{-1, 0}, {-1, 0}}, "X", {"aXbc", ""}},
        {"left past the start stops there", {{-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}, {-1, 0}}, "X", {"Xabc", ""}},
        {"down: the next row", {{0, 1}}, "X", {"abc", "X"}},
        {"down and up: back on the word's end", {{0, 1}, {0, -1}}, "X", {"abcX", ""}},
        {"right past the end: a space on", {{1, 0}}, "X", {"abcX", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        document_.state().ClearCanvas();
        TypeAt({100, RowY(3)}, "abc");
        for (const auto& [step, rows] : c.moves) document_.MoveCaret(step, rows);
        ASSERT_TRUE(document_.Type(c.typed));
        EXPECT_EQ(Visible(document_.state().rows()[3]), c.rows[0]);
        EXPECT_EQ(Visible(document_.state().rows()[4]), c.rows[1]);
        document_.EndTyping();
    }
    // Right past the end leaves a gap before what is typed next.
    document_.state().ClearCanvas();
    TypeAt({100, RowY(3)}, "abc");
    document_.MoveCaret(1);
    ASSERT_TRUE(document_.Type("X"));
    EXPECT_GT(document_.state().rows()[3].back().gap, 0);
    // Without a caret the arrows do nothing.
    document_.EndTyping();
    EXPECT_FALSE(document_.MoveCaret(-1));
}

TEST_F(DocumentTextTest, TypedTextComesBackExactlyInTheExportedText) {
    const struct {
        const char* what;
        DecoderOptions decoder;
        std::string text;
        std::string exported;  // when not the text itself
    } cases[] = {
        {"half-width letters, row matcher", {false, Spacing::Fillers}, "Hello, world!", ""},
        {"half-width kana with no fillers", {true, Spacing::Spaces}, "\uFF76\uFF80\uFF76\uFF85", ""},
        {"kana and kanji, Unicode spacing", {true, Spacing::Unicode}, "ひらがなと漢字", ""},
        {"full-width letters and spaces inside", {true, Spacing::Unicode}, "Ａ　Ｂ C", ""},
        {"a reference's characters as written", {false, Spacing::Fillers}, "&#9829;", ""},
        // Shift-JIS has no thin space: the text holds it as the reference a
        // board shows as one, as opened text does.
        {"a Unicode space", {true, Spacing::Unicode}, "C\u2009D", "C&#8201;D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        document_.SetDecoder(c.decoder);
        document_.state().ClearCanvas();
        TypeAt({133, RowY(3)}, c.text);
        const std::vector<std::string> lines = Exported();
        // The export leaves out the blank rows above the text.
        ASSERT_EQ(lines.size(), 1u);
        const std::string& exported = c.exported.empty() ? c.text : c.exported;
        ASSERT_TRUE(lines[0].ends_with(exported)) << lines[0];
        const std::string lead = lines[0].substr(0, lines[0].size() - exported.size());
        if (c.decoder.spacing != Spacing::Fillers) {
            EXPECT_TRUE(OnlySpacing(lead)) << lead;
        }
        if (c.decoder.spacing == Spacing::Unicode) {
            EXPECT_EQ(document_.state().rows()[3].front().gap, 133);
        }
    }
}

TEST_F(DocumentTextTest, EnterGoesOnInTheNextRowWhereTheCaretWasPutDown) {
    document_.SetDecoder({true, Spacing::Unicode});
    TypeAt({200, RowY(5)}, "first line\r\nsecond");
    ASSERT_TRUE(document_.NewLine());
    ASSERT_TRUE(document_.Type("third"));
    const TextRows& rows = document_.state().rows();
    for (const auto& [row, text] : {std::pair{5, "first line"}, {6, "second"}, {7, "third"}}) {
        EXPECT_EQ(Visible(rows[row]), text);
        ASSERT_FALSE(rows[row].empty());
        EXPECT_EQ(rows[row].front().gap, 200) << row;
    }
    // One undoable step, from the first key to the caret's going.
    document_.state().ExchangeWithUndo();
    for (int row = 5; row <= 7; ++row) EXPECT_TRUE(document_.state().rows()[row].empty()) << row;
}

TEST_F(DocumentTextTest, BackspaceTakesTypedCharactersBackInTheSameStep) {
    document_.SetDecoder({true, Spacing::Unicode});
    TypeAt({100, RowY(2)}, "words");
    const Image typedInk = document_.state().inkLayer();
    ASSERT_TRUE(document_.Type("xy"));
    EXPECT_TRUE(document_.EraseBefore());
    EXPECT_TRUE(document_.EraseBefore());
    EXPECT_EQ(Visible(document_.state().rows()[2]), "words");
    // The ink of the characters taken back goes with them.
    EXPECT_TRUE(document_.state().inkLayer() == typedInk);
    document_.state().ExchangeWithUndo();
    EXPECT_TRUE(document_.state().rows()[2].empty());
}

TEST_F(DocumentTextTest, TypingBesideStrokesKeepsTheirCells) {
    for (const DecoderOptions decoder : {DecoderOptions{false, Spacing::Fillers},
                                         DecoderOptions{true, Spacing::Spaces}}) {
        SCOPED_TRACE(decoder.fine ? "fine" : "row matcher");
        document_.SetDecoder(decoder);
        document_.state().ClearCanvas();
        // A line in row 4 and a stroke down rows 6 and 7.
        Stroke({{20, RowY(4)}, {140, RowY(4)}});
        Stroke({{300, RowY(6) - 6}, {300, RowY(7) + 6}});
        const TextRows before = document_.state().rows();
        TypeAt({400, RowY(4)}, "words");
        TypeAt({330, RowY(6)}, "more");
        const TextRows& rows = document_.state().rows();
        for (int row = 0; row < kRowCount; ++row) {
            SCOPED_TRACE(row);
            const auto r = static_cast<std::size_t>(row);
            if (row == 4 || row == 6) {
                // The cells the strokes made stay, the words after them.
                ASSERT_GE(rows[r].size(), before[r].size());
                EXPECT_TRUE(std::equal(before[r].begin(), before[r].end(), rows[r].begin()));
                EXPECT_TRUE(Visible(rows[r]).ends_with(row == 4 ? "words" : "more"));
            } else {
                EXPECT_EQ(rows[r], before[r]);
            }
        }
    }
}

TEST_F(DocumentTextTest, TheEraserTakesATypedCharacterWholeAsInOpenedText) {
    // ＼ is typed at columns 440-455 of text row 4, Ｙ and 7 after it.
    const struct {
        const char* what;
        std::initializer_list<PenPoint> points;
        std::string left;
    } cases[] = {
        {"across the middle of Ｙ", {{463, 60}, {463, 100}}, "＼7"},
        {"across every one", {{430, 81}, {500, 81}}, ""},
        {"past them all", {{520, 81}, {600, 81}}, "＼Ｙ7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        document_.SetDecoder({true, Spacing::Fillers});
        document_.state().ClearCanvas();
        TypeAt({440, RowY(4)}, "＼Ｙ7");
        document_.EndTyping();
        ASSERT_EQ(document_.state().rows()[4].front().gap, 440);
        document_.state().TogglePenMode();
        Stroke(c.points);
        document_.state().TogglePenMode();
        EXPECT_EQ(Visible(document_.state().rows()[4]), c.left);
        document_.state().ExchangeWithUndo();
        EXPECT_EQ(Visible(document_.state().rows()[4]), "＼Ｙ7");
    }
}

TEST_F(DocumentTextTest, RefusesWhatCannotBeTypedAndKeepsTheDrawing) {
    const struct {
        const char* what;
        std::string text;
        const ErrorKind* kind;
    } cases[] = {
        {"a character the face lacks", "ok\U0001F600", &kinds::CannotBeTyped},
        {"a control character", "a\tb", &kinds::CannotBeTyped},
        {"bytes that are not UTF-8", "a\xFF", &kinds::NotUtf8},
        {"a row past the canvas", std::string(200, 'W'), &kinds::RowTooWide},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        document_.state().ClearCanvas();
        const TextRows before = document_.state().rows();
        ASSERT_TRUE(document_.PlaceCaret({50, RowY(9)}));
        const Status typed = document_.Type(c.text);
        ASSERT_FALSE(typed);
        EXPECT_EQ(typed.error().kind, c.kind) << typed.error().Message();
        EXPECT_EQ(document_.state().rows(), before);
    }
    EXPECT_FALSE(document_.PlaceCaret({-1, 10}));
    EXPECT_FALSE(document_.PlaceCaret({10, kRowCount * kRowHeight}));
    EXPECT_FALSE(document_.Type("a"));
}

TEST_F(DocumentTextTest, ATypeEventTypesAsAClickAndTheKeysDo) {
    const Result<std::optional<ReplayEvent>> event = ParseReplayLine("type 150 80 # words", 1);
    ASSERT_TRUE(event && *event);
    // The same text typed at the canvas point the client pixel maps to.
    Document byHand{testing::LoadedEngine()};
    ASSERT_TRUE(document_.Play(**event));
    EXPECT_FALSE(document_.caret());
    const ClientTarget target = MapClientPoint(150, 80);
    ASSERT_TRUE(byHand.PlaceCaret(target.point));
    ASSERT_TRUE(byHand.Type("# words"));
    EXPECT_EQ(document_.state().rows(), byHand.state().rows());
    EXPECT_TRUE(document_.state().inkLayer() == byHand.state().inkLayer());
}

}  // namespace
}  // namespace fudeline
