#include "render/text_art_ink.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>

#include "fine/fine_decoder.h"
#include "render/text_art_cells.h"
#include "text/gap_composer.h"
#include "text/spacing.h"
#include "glyphs/cp932.h"
#include "pixels/geometry.h"
#include "render/render_errors.h"
#include "test_catalogs.h"
#include "text/gap_composer.h"
#include "text/spacing.h"

namespace fudeline {
namespace {

using testing::TestFont;

// Where each character's dark pixels lie: every glyph at the sum of the
// advances before it, on its own line's 16 ink rows, and nothing else inked.
TEST(DrawTextArtInk, PutsEveryCharacterAtItsOwnPlace) {
    const std::vector<std::u32string> lines = {U"\u3000 \uFF0F\uFFE3\uFF3C", U"", U"（´∀｀）漢字",
                                               U"\u2009.\u2002."};
    const auto ink = DrawTextArtInk(lines, TestFont());
    ASSERT_TRUE(ink) << ink.error().Reason();
    ASSERT_EQ(ink->width(), kTextArtInkWidth);
    ASSERT_EQ(ink->height(), kInkHeight);
    Image expected(kTextArtInkWidth, kInkHeight, kWhite);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        int x = 0;
        for (const char32_t code : lines[n]) {
            const FontGlyph* glyph = TestFont().GlyphFor(code);
            ASSERT_NE(glyph, nullptr);
            for (int gy = 0; gy < 16; ++gy) {
                for (int gx = 0; gx < glyph->advance; ++gx) {
                    if (glyph->IsDark(gx, gy)) {
                        expected.SetPixel(x + gx, static_cast<int>(n) * 16 + gy, kBlack);
                    }
                }
            }
            x += glyph->advance;
        }
    }
    int differences = 0;
    for (int y = 0; y < kInkHeight; ++y) {
        for (int x = 0; x < kTextArtInkWidth; ++x) {
            differences += ink->Pixel(x, y) != expected.Pixel(x, y);
        }
    }
    EXPECT_EQ(differences, 0);
}

// Every blank character boards give a fixed width opens at that width with
// no ink, as a character or a reference, including those the face lacks.
// Typed cells are drawn as the same text opened would be, and only within
// the columns asked for.
TEST(DrawCellsInk, DrawsCellsAsOpenedTextIsDrawnWithinTheColumnsAsked) {
    for (const std::string_view line :
         {std::string_view("\xEF\xBC\xBC\xEF\xBC\xB9" "7 (^o^)"),  // ＼Ｙ7 (^o^)
          std::string_view("\xE3\x80\x80\xE6\xBC\xA2&#8201;a&#65;b")}) {  // 　漢 aAb
        SCOPED_TRACE(line);
        const Result<TextRows> rows = TextArtRows(line, TextEncoding::Utf8, TestFont());
        ASSERT_TRUE(rows) << rows.error().Reason();
        const Result<Image> opened = DrawTextArtInk(line, TextEncoding::Utf8, TestFont());
        ASSERT_TRUE(opened) << opened.error().Reason();
        for (const auto& [from, to] : {std::pair{0, kTextArtInkWidth}, std::pair{14, 30}}) {
            Image drawn(opened->width(), opened->height(), kWhite);
            DrawCellsInk(drawn, 0, (*rows)[0], from, to, TestFont());
            Image expected = *opened;
            expected.FillRect(0, 0, from, expected.height(), kWhite);
            expected.FillRect(to, 0, expected.width() - to, expected.height(), kWhite);
            EXPECT_TRUE(drawn == expected) << from << ".." << to;
        }
    }
}

TEST(DrawTextArtInk, BoardSpacesOpenBlankAtTheirBoardWidths) {
    const FontGlyph& a = *TestFont().GlyphFor(U'A');
    const FontGlyph& b = *TestFont().GlyphFor(U'B');
    const Image alone = DrawTextArtInk(std::vector<std::u32string>{U"A"}, TestFont()).value();
    for (const auto& [code, width] : kBoardSpaceWidths) {
        const std::string reference = "&#x" + [](unsigned c) {
            char text[12];
            std::snprintf(text, sizeof text, "%x", c);
            return std::string(text);
        }(static_cast<unsigned>(code)) + ";";
        for (const std::string& line :
             {"A" + reference + "B", "A" + reference + reference + reference + "B"}) {
            SCOPED_TRACE(line);
            const int copies = line.size() > reference.size() + 2 ? 3 : 1;
            const auto ink = DrawTextArtInk(line + "\r\n", TextEncoding::ShiftJis, TestFont());
            ASSERT_TRUE(ink) << ink.error().Reason();
            const int bx = a.advance + copies * width;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < kTextArtInkWidth; ++x) {
                    bool dark = x < a.advance && alone.Pixel(x, y) == kBlack;
                    if (x >= bx && x < bx + b.advance) dark = b.IsDark(x - bx, y);
                    ASSERT_EQ(ink->Pixel(x, y), dark ? kBlack : kWhite) << x << "," << y;
                }
            }
        }
    }
    // A line of them as wide as the ink fits; one pixel more does not.
    std::u32string widest(kTextArtInkWidth, char32_t{0x200A});
    EXPECT_TRUE(DrawTextArtInk(std::vector<std::u32string>{widest}, TestFont()));
    widest += char32_t{0x200A};
    const auto over = DrawTextArtInk(std::vector<std::u32string>{widest}, TestFont());
    ASSERT_FALSE(over);
    EXPECT_EQ(over.error().kind, &kinds::LineTooWide);
}

TEST(DrawTextArtInk, RefusesWhatDoesNotFitSayingHowMuchDoes) {
    const std::u32string slash = U"\uFF0F";
    const int slashWidth = TestFont().GlyphFor(0xFF0F)->advance;
    const int fitting = kTextArtInkWidth / slashWidth;
    std::u32string wide;
    for (int i = 0; i <= fitting; ++i) wide += slash;
    struct Case {
        const char* name;
        std::vector<std::u32string> lines;
        std::string reason;  // empty: drawn
    };
    const std::vector<Case> cases = {
        {"29 lines", std::vector<std::u32string>(29, slash), ""},
        {"29 lines and empty ones after", [&] {
             auto lines = std::vector<std::u32string>(29, slash);
             lines.resize(40);
             return lines;
         }(), ""},
        {"30 lines", std::vector<std::u32string>(30, slash),
         "the text has 30 lines; the canvas holds 29"},
        {"a line as wide as fits", {wide.substr(1)}, ""},
        {"a line one character too wide", {U"", wide},
         "line 2 is " + std::to_string((fitting + 1) * slashWidth) +
             " pixels wide; the canvas holds 799 (" + std::to_string(fitting) +
             " characters of this line fit)"},
        {"a control character", {U"a\tb"}, "line 1, column 2: U+0009 is not in the Mona font"},
        {"a character the face lacks", {U"\U0001F600"}, "line 1, column 1: U+1F600 is not in the Mona font"},
        {"an ideograph the face lacks, at its board width", {U"\u5393"}, ""},
    };
    for (const Case& c : cases) {
        const auto ink = DrawTextArtInk(c.lines, TestFont());
        if (c.reason.empty()) {
            EXPECT_TRUE(ink) << c.name << ": " << ink.error().Reason();
        } else {
            ASSERT_FALSE(ink) << c.name;
            EXPECT_EQ(ink.error().Reason(), c.reason) << c.name;
        }
    }
    // Counted before decoding: bytes that would not even decode are refused
    // for their length first.
    std::string many;
    for (int i = 0; i < 30; ++i) many += "\xFF\n";
    const auto refused = DrawTextArtInk(many, TextEncoding::Utf8, TestFont());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().Reason(), "the text has 30 lines; the canvas holds 29");
    // A character is named where it was written, a reference by its '&'.
    const struct {
        std::string bytes, reason;
    } written[] = {
        {"&#9;&#27;", "line 1, column 1: U+0009 is not in the Mona font"},
        {"ok\nA&#x2009;&#27;B", "line 2, column 10: U+001B is not in the Mona font"},
        {"&#12354;\xF0\x9F\x98\x80", "line 1, column 9: U+1F600 is not in the Mona font"},
    };
    for (const auto& c : written) {
        const auto ink = DrawTextArtInk(c.bytes, TextEncoding::Utf8, TestFont());
        ASSERT_FALSE(ink) << c.bytes;
        EXPECT_EQ(ink.error().Reason(), c.reason);
        EXPECT_EQ(ink.error().kind, &kinds::NotInFont);
    }
    // A line far longer than the canvas could show is refused before decoding.
    const auto longLine = DrawTextArtInk("ok\n" + std::string(kMaxTextArtInkLineBytes + 1, 'a'),
                                         TextEncoding::Utf8, TestFont());
    ASSERT_FALSE(longLine);
    EXPECT_EQ(longLine.error().Reason(), "line 2 is longer than 65536 bytes");
    EXPECT_FALSE(DrawTextArtInk(std::string(kMaxTextArtInkLineBytes, 'a'), TextEncoding::Utf8,
                                TestFont())
                     .error()
                     .Reason()
                     .starts_with("line 1 is longer"));
    // Empty lines at the end do not count, however many; a line after them does.
    const std::string trailing = "a\r\n" + std::string(1 << 20, '\n');
    EXPECT_TRUE(DrawTextArtInk(trailing, TextEncoding::Utf8, TestFont()));
    const auto late = DrawTextArtInk(trailing + "\xFF", TextEncoding::Utf8, TestFont());
    ASSERT_FALSE(late);
    EXPECT_EQ(late.error().Reason(),
              "the text has " + std::to_string((1 << 20) + 2) + " lines; the canvas holds 29");
}

}  // namespace
}  // namespace fudeline

namespace fudeline {
namespace {

// Text art made only of catalogue characters the way artists compose it
// (strokes, brackets, dots and runs of spacing), drawn as ink and decoded
// again by the fine decoder: how much of the text comes back.
struct RoundTrip {
    int lines = 0, exactLines = 0, characters = 0, charactersBack = 0;
};

std::vector<TextCell> ArtistCells(const GlyphCatalog& catalog, const MonaFont& font) {
    const std::u32string wanted =
        U"／＼｜─￣＿ノヽ（）く〈〉`'´､｀′″・：ゝミ彡ハレ⌒∧∨〃l|i!:;,.Yイ丿乂＜＞";
    std::set<std::string> held;
    for (const Glyph& glyph : catalog) {
        const auto code = Cp932CharToUnicode(glyph.text);
        const FontGlyph* face = code ? font.GlyphFor(*code) : nullptr;
        if (face && face->advance == glyph.width) held.insert(glyph.text);
    }
    std::vector<TextCell> cells;
    for (const Glyph& glyph : catalog) {
        const auto code = Cp932CharToUnicode(glyph.text);
        if (code && wanted.find(*code) != std::u32string::npos && held.count(glyph.text)) {
            cells.push_back({0, glyph.text, glyph.width});
        }
    }
    return cells;
}

TextRows RandomPiece(std::mt19937& random, const std::vector<TextCell>& cells,
                     const UnicodeSpaces* spaces) {
    TextRows rows;
    const int lines = 6 + static_cast<int>(random() % 8);
    for (int r = 0; r < lines; ++r) {
        int x = 0;
        const int width = 100 + static_cast<int>(random() % 500);
        while (true) {
            TextCell cell = cells[random() % cells.size()];
            const int kind = static_cast<int>(random() % 10);
            cell.gap = kind < 5 ? 0 : kind < 8 ? 3 + static_cast<int>(random() % 12)
                                               : 11 * (1 + static_cast<int>(random() % 4));
            if (spaces) {
                while (!spaces->CanSpell(cell.gap)) ++cell.gap;
            }
            if (x + cell.gap + cell.width > width) break;
            x += cell.gap + cell.width;
            rows[static_cast<std::size_t>(r)].push_back(cell);
        }
    }
    return rows;
}

// The line as text: gaps as spacing strings, or as Unicode spaces written
// as references (which the text art reader takes back).
std::string LineText(const TextRow& row, const UnicodeSpaces* spaces = nullptr) {
    std::string text;
    for (const TextCell& cell : row) {
        if (spaces) {
            const std::u32string spelled = spaces->Spell(cell.gap).value_or(U"?");
            for (const char32_t code : spelled) {
                text += code == U' ' ? std::string(" ") : "&#" + std::to_string(code) + ";";
            }
        } else {
            text += ComposeGap(cell.gap);
        }
        text += cell.text;
    }
    return text;
}

// What the character draws: its width and dark pixels.
std::string Pixels(const MonaFont& font, const std::string& sjis) {
    const auto code = Cp932CharToUnicode(sjis);
    const FontGlyph* face = code ? font.GlyphFor(*code) : nullptr;
    if (!face) return sjis;
    std::string out(1, static_cast<char>(face->advance));
    for (int y = 0; y < kFontLineHeight; ++y) {
        for (int x = 0; x < face->advance; ++x) out += face->IsDark(x, y) ? '#' : '.';
    }
    return out;
}

RoundTrip MeasureRoundTrip(const GlyphCatalog& catalog, const UnicodeSpaces* spaces) {
    const MonaFont& font = TestFont();
    const std::vector<TextCell> cells = ArtistCells(catalog, font);
    const auto fine = std::make_unique<FineDecoder>(catalog, font, FineOptions{false, spaces});
    std::mt19937 random(15);
    RoundTrip total;
    for (int piece = 0; piece < 12; ++piece) {
        const TextRows rows = RandomPiece(random, cells, spaces);
        std::string text;
        for (int r = 0; r < kRowCount; ++r) {
            text += LineText(rows[static_cast<std::size_t>(r)], spaces) + "\n";
        }
        const auto ink = DrawTextArtInk(text, TextEncoding::ShiftJis, font);
        if (!ink) {
            ADD_FAILURE() << ink.error().Reason();
            return total;
        }
        for (int r = 0; r < kRowCount; ++r) {
            const TextRow& source = rows[static_cast<std::size_t>(r)];
            if (source.empty()) continue;
            const TextRow decoded = fine->DecodeRow(*ink, r);
            ++total.lines;
            // Look-alikes draw the same pixels ('─' and '―', '|' between
            // spaces and '｜'), and which of them comes back is the glyph
            // prior's to say: a line is back when it draws the same ink.
            const bool exact = LineText(decoded, spaces) == LineText(source, spaces) ||
                               *DrawTextArtInk(LineText(decoded, spaces), TextEncoding::ShiftJis,
                                               font) ==
                                   *DrawTextArtInk(LineText(source, spaces),
                                                   TextEncoding::ShiftJis, font);
            total.exactLines += exact;
            // Characters given back: the source's characters (or look-alikes)
            // found at their own x.
            std::set<std::pair<int, std::string>> placed;
            int x = 0;
            for (const TextCell& cell : decoded) {
                if (spaces) {
                    EXPECT_TRUE(spaces->CanSpell(cell.gap)) << cell.gap;
                }
                x += cell.gap;
                placed.insert({x, Pixels(font, cell.text)});
                x += cell.width;
            }
            x = 0;
            for (const TextCell& cell : source) {
                x += cell.gap;
                ++total.characters;
                total.charactersBack +=
                    static_cast<int>(placed.count({x, Pixels(font, cell.text)}));
                x += cell.width;
            }
        }
    }
    std::printf("round trip (%s): %d of %d lines exact (%.2f), %d of %d characters back (%.2f)\n",
                spaces ? "unicode" : "fillers", total.exactLines, total.lines,
                static_cast<double>(total.exactLines) / total.lines, total.charactersBack,
                total.characters, static_cast<double>(total.charactersBack) / total.characters);
    return total;
}

// Opening text art and converting it back with the fine decoder gives the
// text again, as far as the decoder's cost lets it.
TEST(DrawTextArtInk, CatalogueTextComesBackThroughTheFineDecoder) {
    const GlyphCatalog catalog = testing::LoadBuiltCatalog();
    ASSERT_GT(ArtistCells(catalog, TestFont()).size(), 20u);
    const UnicodeSpaces spaces;
    for (const UnicodeSpaces* spacing : {static_cast<const UnicodeSpaces*>(nullptr), &spaces}) {
        const RoundTrip total = MeasureRoundTrip(catalog, spacing);
        ASSERT_GT(total.lines, 50);
        EXPECT_GE(static_cast<double>(total.exactLines) / total.lines, 0.85);
        EXPECT_GE(static_cast<double>(total.charactersBack) / total.characters, 0.97);
    }
}

}  // namespace
}  // namespace fudeline
