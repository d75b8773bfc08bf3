#include "render/text_art_cells.h"

#include <gtest/gtest.h>

#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "render/text_art_ink.h"
#include "test_catalogs.h"
#include "text/gap_composer.h"
#include "text/spacing.h"

namespace fudeline {
namespace {

using testing::TestFont;

// A row as the export spells it, line by line.
std::string Spelled(const TextRow& row) {
    std::string out;
    for (const TextCell& cell : row) out += ComposeGap(cell.gap) + cell.text;
    return out;
}

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

// Each line comes back as written (trailing spaces dropped), with every
// character where the ink has it, for spaces, references and characters of
// every kind.
TEST(TextArtRows, EachRowSpellsItsLineBackWithCellsWhereTheInkIs) {
    struct Case {
        const char* name;
        std::string line;  // UTF-8
        std::string back;  // Shift-JIS
    };
    const std::vector<Case> cases = {
        {"kanji and kana", "筆で描いた顔です。", Sjis("筆で描いた顔です。")},
        {"full-width spaces before a character", "　　　＿", Sjis("　　　＿")},
        {"mixed spaces the gap composer spells otherwise", "　 　 ／￣＼", Sjis("　 　 ／￣＼")},
        {"a leading half-width space", " |　●　ﾆｬｰ", Sjis(" |　●　ﾆｬｰ")},
        {"two half-width spaces", "  (´∀｀)", Sjis("  (´∀｀)")},
        {"trailing spaces", "ab 　 ", "ab"},
        {"only spaces", "　 　", ""},
        {"references without a Shift-JIS form stay as written", "&#8201;x&#x2002;y",
         "&#8201;x&#x2002;y"},
        {"a reference to a Shift-JIS character is that character", "a&#12288;b",
         Sjis("a　b")},
        {"what is no reference stays", "a&b; &#; &#x;", "a&b; &#; &#x;"},
        {"an escaped '&' before a reference stays escaped", "a&#38;#8201;b", "a&#38;#8201;b"},
        {"an escaped '&' before a name or a number stays escaped", "&#38;lt; &#x26;#65;",
         "&#38;lt; &#x26;#65;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "top\r\n" + c.line + "\r\n";
        const Result<TextRows> rows = TextArtRows(text, TextEncoding::Utf8, TestFont());
        ASSERT_TRUE(rows) << rows.error().Reason();
        EXPECT_EQ(Spelled((*rows)[0]), "top");
        const TextRow& row = (*rows)[1];
        EXPECT_EQ(Spelled(row), c.back);
        // A first gap spelled with a half-width space would make the export
        // put a full-width space in front of every line.
        if (!row.empty()) {
            EXPECT_NE(ComposeGap(row[0].gap).substr(0, 1), " ");
        }
        // Every cell is as wide as the face draws its character, and the row
        // ends where the line's ink ends.
        const Result<std::vector<std::u32string>> lines = DecodeTextArt(text, TextEncoding::Utf8);
        ASSERT_TRUE(lines);
        std::u32string line = (*lines)[1];
        while (!line.empty() && (line.back() == U' ' || line.back() == U'\u3000')) line.pop_back();
        std::int64_t inkWidth = 0, rowWidth = 0;
        for (const char32_t code : line) inkWidth += TestFont().GlyphFor(code)->advance;
        for (const TextCell& cell : row) {
            rowWidth += cell.gap + cell.width;
            if (const auto code = Cp932CharToUnicode(cell.text)) {
                EXPECT_EQ(cell.width, TestFont().GlyphFor(*code)->advance) << cell.text;
            }
        }
        EXPECT_EQ(rowWidth, inkWidth);
        for (std::size_t n = 2; n < rows->size(); ++n) EXPECT_TRUE((*rows)[n].empty());
    }
}

TEST(TextArtRows, ReadsShiftJisAndAByteOrderMarkAndKeepsEmptyLines) {
    const std::string sjis = Sjis("（´∀｀）\r\n\r\n　　漢字") + "\r\n\r\n";
    const Result<TextRows> fromSjis = TextArtRows(sjis, TextEncoding::ShiftJis, TestFont());
    ASSERT_TRUE(fromSjis) << fromSjis.error().Reason();
    EXPECT_EQ(Spelled((*fromSjis)[0]), Sjis("（´∀｀）"));
    EXPECT_TRUE((*fromSjis)[1].empty());
    EXPECT_EQ(Spelled((*fromSjis)[2]), Sjis("　　漢字"));
    const Result<TextRows> fromUtf8 =
        TextArtRows("\xEF\xBB\xBF（´∀｀）\n\n　　漢字", TextEncoding::Utf8, TestFont());
    ASSERT_TRUE(fromUtf8);
    EXPECT_EQ(*fromUtf8, *fromSjis);
}

// A character whose Shift-JIS bytes CP932 reads as another (〜 has the bytes
// of ～) keeps the one written, opened or typed; read from Shift-JIS there is
// only CP932's reading to keep.
TEST(TextArtRows, KeepsTheCharacterWrittenWhereCp932ReadsItsBytesAsAnother) {
    const struct {
        const char* utf8;
        char32_t written;
    } cases[] = {
        {"〜", U'\u301C'}, {"～", 0}, {"¬", U'\u00AC'}, {"￢", 0},
        {"£", U'\u00A3'},  {"−", U'\u2212'}, {"a", 0},  {"あ", 0},        {"&#12316;", U'\u301C'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        const Result<TextRows> rows =
            TextArtRows(std::string("x") + c.utf8, TextEncoding::Utf8, TestFont());
        ASSERT_TRUE(rows) << rows.error().Reason();
        ASSERT_EQ((*rows)[0].size(), 2u);
        EXPECT_EQ((*rows)[0][1].written, c.written);
        const Result<TextRows> fromSjis =
            TextArtRows("x" + (*rows)[0][1].text, TextEncoding::ShiftJis, TestFont());
        ASSERT_TRUE(fromSjis);
        EXPECT_EQ((*fromSjis)[0][1].written, 0u);
        if (c.utf8[0] == '&') continue;
        std::size_t at = 0;
        const char32_t code = *NextUtf8(c.utf8, at);
        const Result<TextCell> typed = CellOfCharacter(code, TestFont());
        ASSERT_TRUE(typed);
        EXPECT_EQ(typed->written, c.written);
    }
}

// Nothing the ink refuses opens as rows.
TEST(TextArtRows, RefusesWhatTheInkRefuses) {
    std::string tooMany;
    for (int i = 0; i < 30; ++i) tooMany += "a\n";
    const std::string tooWide(200, 'W');
    for (const std::string& text : {tooMany, tooWide, std::string("a\x01")}) {
        const Result<TextRows> rows = TextArtRows(text, TextEncoding::Utf8, TestFont());
        ASSERT_FALSE(rows);
        EXPECT_EQ(rows.error().kind,
                  DrawTextArtInk(text, TextEncoding::Utf8, TestFont()).error().kind);
    }
}

// An ideograph the face lacks opens as text, a full-width cell with no ink,
// and is named for the user; characters around it keep their places.
TEST(ReadTextArtDrawing, KeepsAnIdeographTheFaceLacksAsTextWithoutInk) {
    ASSERT_EQ(TestFont().GlyphFor(U'\u5393'), nullptr);
    const auto drawing = ReadTextArtDrawing("a\r\n|\xE5\x8E\x93|", TextEncoding::Utf8, TestFont());
    ASSERT_TRUE(drawing) << drawing.error().Reason();
    EXPECT_EQ(drawing->undrawn, (std::vector<UndrawnCharacter>{{2, 2, U'\u5393'}}));
    const TextRow& row = drawing->rows[1];
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[1].width, kIdeographWidth);
    EXPECT_EQ(row[1].text, HasCp932Form(U'\u5393') ? Sjis("\xE5\x8E\x93") : "&#21395;");
    const int bar = TestFont().GlyphFor(U'|')->advance;
    int inkInCell = 0, inkAfter = 0;
    for (int y = 16; y < 32; ++y) {
        for (int x = bar; x < bar + kIdeographWidth; ++x) inkInCell += drawing->ink.Pixel(x, y) == kBlack;
        for (int x = bar + kIdeographWidth; x < 2 * bar + kIdeographWidth; ++x)
            inkAfter += drawing->ink.Pixel(x, y) == kBlack;
    }
    EXPECT_EQ(inkInCell, 0);
    EXPECT_GT(inkAfter, 0);
}

}  // namespace
}  // namespace fudeline
