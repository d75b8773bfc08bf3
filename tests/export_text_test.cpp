#include "export/export_text.h"

#include "text/gap_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "text/text_art_lines.h"
#include "export/post_counter.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "test_catalogs.h"

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

// The empty lines opened text began with are written above its first row,
// as many as there are rows above it, by every spelling of the gaps; with
// none the text starts at its first row, however low.
TEST(ComposeExportText, WritesTheTopLinesItIsGivenAboveTheFirstRow) {
    const UnicodeSpaces spaces({{0x2009, 2}, {0x2002, 8}, {0x3000, 11}}, 5);
    const TextRows rows = Rows({{3, {{0, "x", 5}}}, {5, {{11, "y", 5}}}});
    const struct {
        int topLines;
        std::string text;
    } cases[] = {
        {0, "x\r\n\r\n" + F + "y"},
        {1, "\r\nx\r\n\r\n" + F + "y"},
        {3, "\r\n\r\n\r\nx\r\n\r\n" + F + "y"},
        {5, "\r\n\r\n\r\nx\r\n\r\n" + F + "y"},  // row 0 at the highest
        {-1, "x\r\n\r\n" + F + "y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topLines);
        EXPECT_EQ(ComposeExportText(rows, false, c.topLines), c.text);
        ExportOptions options{true, Spacing::Unicode, &spaces};
        options.topLines = c.topLines;
        std::string br = c.text;
        ReplaceAll(br, "\r\n", "<BR>\r\n");
        EXPECT_EQ(ComposeExportText(rows, options), br);
        EXPECT_EQ(ComposeExportUtf8(rows, options).value(), Cp932ToUtf8(br).value());
    }
    EXPECT_EQ(ComposeExportText(TextRows{}, false, 3), "");
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

// A character written as another than CP932 reads its bytes as (〜 for the
// bytes of ～) comes back as written in UTF-8, whatever the spacing; the
// Shift-JIS bytes are the same for both.
TEST(ComposeExportUtf8, GivesBackTheCharacterAsTheUserWroteIt) {
    TextCell waveDash{0, "\x81\x60", 16}, fullwidthTilde = waveDash, notSign{11, "\x81\xCA", 8};
    waveDash.written = U'\u301C';
    notSign.written = U'\u00AC';
    const TextRows rows = Rows({{0, {waveDash, fullwidthTilde}}, {1, {notSign, {0, "a", 8}}}});
    const UnicodeSpaces spaces({{0x2009, 2}, {0x2002, 8}, {0x3000, 11}}, 5);
    const struct {
        const char* name;
        ExportOptions options;
        const char* utf8;
    } cases[] = {
        {"fillers", ExportOptions{true}, "\u301C\uFF5E<BR>\r\n\u3000\u00ACa"},
        {"unicode", ExportOptions{false, Spacing::Unicode, &spaces},
         "\u301C\uFF5E\r\n\u3000\u00ACa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComposeExportUtf8(rows, c.options).value(), c.utf8);
        TextRows asRead = rows;
        for (TextRow& row : asRead) {
            for (TextCell& cell : row) cell.written = 0;
        }
        EXPECT_EQ(ComposeExportText(rows, c.options), ComposeExportText(asRead, c.options));
    }
}

}  // namespace
}  // namespace fudeline

namespace fudeline {
namespace {

// Random rows of a few characters with gaps the face's Unicode spaces spell.
TextRows RandomSpacedRows(std::mt19937& random, const UnicodeSpaces& spaces, const MonaFont& font) {
    std::vector<TextCell> glyphs;
    for (const char* text : {"\x81\x5E", "\x81\x5F", "|", "\x81\x69", "A"}) {
        glyphs.push_back({0, text, font.GlyphFor(*Cp932CharToUnicode(text))->advance});
    }
    TextRows rows;
    for (int r = 0; r < kRowCount; ++r) {
        if (random() % 3 == 0) continue;
        int x = 0;
        while (true) {
            TextCell cell = glyphs[random() % glyphs.size()];
            int gap = static_cast<int>(random() % 40);
            while (!spaces.CanSpell(gap)) ++gap;
            cell.gap = gap;
            if (x + gap + cell.width > 790) break;
            x += gap + cell.width;
            rows[static_cast<std::size_t>(r)].push_back(cell);
        }
    }
    return rows;
}

// Where each non-space character of a line starts, drawing it with the face
// and the spaces at their board widths.
std::vector<int> CharacterPositions(const std::u32string& line, const MonaFont& font) {
    std::vector<int> positions;
    int x = 0;
    for (const char32_t code : line) {
        if (const auto blank = BoardSpaceWidth(code)) {
            x += *blank;
            continue;
        }
        const FontGlyph* glyph = font.GlyphFor(code);
        if (!glyph) return {-1};
        positions.push_back(x);
        x += glyph->advance;
    }
    return positions;
}

TEST(ComposeExportText, UnicodeSpacingPutsEveryCharacterWhereItsCellIs) {
    const MonaFont& font = testing::TestFont();
    const UnicodeSpaces spaces;
    std::mt19937 random(19);
    for (int trial = 0; trial < 20; ++trial) {
        const TextRows rows = RandomSpacedRows(random, spaces, font);
        for (const bool references : {false, true}) {
            const ExportOptions options{trial % 2 == 0, Spacing::Unicode, &spaces, references};
            const std::string sjis = ComposeExportText(rows, options);
            const std::string utf8 = ComposeExportUtf8(rows, options).value();
            // No filler was needed for any gap.
            for (const std::string& text : {sjis, utf8}) {
                EXPECT_EQ(text.find('.'), std::string::npos);
                EXPECT_EQ(text.find("\xDE"), std::string::npos);
                EXPECT_EQ(text.find("\xA4"), std::string::npos);
            }
            EXPECT_EQ(utf8.find("&#") != std::string::npos, references);
            for (const auto& [text, encoding] :
                 {std::pair{sjis, TextEncoding::ShiftJis}, std::pair{utf8, TextEncoding::Utf8}}) {
                std::string plain = text;
                ReplaceAll(plain, "<BR>", "");
                const auto lines = DecodeTextArt(plain, encoding).value();
                int first = 0;
                while (rows[static_cast<std::size_t>(first)].empty()) ++first;
                // The full-width prefix for a leading half-width space moves
                // every line alike.
                const bool prefixed = std::any_of(rows.begin(), rows.end(), [&](const TextRow& row) {
                    if (row.empty()) return false;
                    const auto spelled = spaces.Spell(row[0].gap, SpaceWriting::ShiftJis, true);
                    return !spelled->empty() && spelled->front() == U' ';
                });
                const int shift = prefixed ? 11 : 0;
                for (std::size_t i = 0; i < lines.size(); ++i) {
                    std::vector<int> expected;
                    int x = shift;
                    for (const TextCell& cell : rows[static_cast<std::size_t>(first) + i]) {
                        expected.push_back(x + cell.gap);
                        x += cell.gap + cell.width;
                    }
                    EXPECT_EQ(CharacterPositions(lines[i], font), expected)
                        << "trial " << trial << " line " << i;
                }
            }
            // The board stores a reference as its bytes: the counter counts them.
            const PostCount count = CountPost(sjis, {});
            std::string stored = sjis;
            ReplaceAll(stored, "\r\n", " <br> ");
            ReplaceAll(stored, "<BR>", "&lt;BR&gt;");
            EXPECT_EQ(count.bytes, static_cast<std::int64_t>(stored.size()));
        }
    }
}

TEST(ComposeExportText, UnicodeSpacingWritesReferencesOnlyWhereShiftJisHasNoForm) {
    const UnicodeSpaces spaces({{0x2009, 2}, {0x2002, 8}, {0x3000, 11}}, 5);
    TextRows rows;
    // 8 + 5 + 8 (fewer bytes than 11 + 8 + 2, and no half-width space first),
    // then 2 + 5; the second line only with a half-width space first, so
    // every line gets a full-width space in front.
    rows[0] = {{21, "A", 9}, {7, "B", 9}};
    rows[1] = {{5, "C", 9}};
    const ExportOptions plain{false, Spacing::Unicode, &spaces, false};
    EXPECT_EQ(ComposeExportText(rows, plain), F + "&#8194; &#8194;A&#8201; B\r\n" + F + " C");
    EXPECT_EQ(ComposeExportUtf8(rows, plain).value(),
              "\u3000\u2002 \u2002A\u2009 B\r\n\u3000 C");
    const ExportOptions referenced{true, Spacing::Unicode, &spaces, true};
    EXPECT_EQ(ComposeExportUtf8(rows, referenced).value(),
              "\u3000&#8194; &#8194;A&#8201; B<BR>\r\n\u3000 C");
    // After a cell ending in a half-width space a gap does not start with one:
    // 21 is " 　 " elsewhere.
    TextRows afterBlank;
    afterBlank[0] = {{0, "A", 9}, {21, "B", 9}, {0, "C ", 14}, {21, "D", 9}};
    EXPECT_EQ(ComposeExportText(afterBlank, plain), "A \x81\x40 BC &#8194; &#8194;D");
    // Without the measured spaces, or with another spacing, nothing changes.
    for (const ExportOptions& options :
         {ExportOptions{false, Spacing::Unicode, nullptr, false},
          ExportOptions{false, Spacing::Fillers, &spaces, true},
          ExportOptions{false, Spacing::Spaces, &spaces, true}}) {
        EXPECT_EQ(ComposeExportText(rows, options), ComposeExportText(rows, false));
        EXPECT_EQ(ComposeExportUtf8(rows, options).value(), ComposeExportUtf8(rows, false).value());
    }
}

}  // namespace
}  // namespace fudeline
