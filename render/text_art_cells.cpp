#include "render/text_art_cells.h"

#include <optional>
#include <string>
#include <vector>

#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "render/render_errors.h"
#include "render/text_art_ink.h"
#include "text/gap_composer.h"
#include "text/spacing.h"

namespace fudeline {

namespace {

// One character of a line: its code, the Shift-JIS bytes that write it and
// its advance in the face.
struct Written {
    char32_t code = 0;
    std::string sjis;
    std::int32_t width = 0;
    bool reference = false;
    char32_t writtenAs = 0;  // TextCell::written
};

// The length of the character reference at `i` (as ResolveCharacterReferences
// reads one) and the character it stands for; 0 when there is none.
std::size_t ReferenceAt(const std::u32string& line, std::size_t i, char32_t& code) {
    if (line[i] != U'&') return 0;
    const std::size_t end = line.find(U';', i);
    // "&#x" and at most eight digits.
    if (end == std::u32string::npos || end - i > 12) return 0;
    const std::u32string candidate = line.substr(i, end - i + 1);
    const std::u32string resolved = ResolveCharacterReferences(candidate);
    if (resolved.size() != 1 || candidate.size() == 1) return 0;
    code = resolved[0];
    return candidate.size();
}

std::string AsciiOf(const std::u32string& text) {
    std::string out;
    for (const char32_t c : text) out += static_cast<char>(c);
    return out;
}

bool IsSpace(const Written& c) {
    return !c.reference && (c.code == U' ' || c.code == U'\u3000');
}

// How a character is drawn: the width the ink has it at (the board spaces
// at their board widths, every other character at its advance in the face)
// and whether it is an ideograph the face lacks, kept with no pixels.
struct Drawn {
    std::int32_t width = 0;
    bool undrawn = false;
};
std::optional<Drawn> DrawnAs(char32_t code, const MonaFont& font) {
    if (const std::optional<std::int32_t> blank = BoardSpaceWidth(code)) return Drawn{*blank};
    const FontGlyph* glyph = code < 0x20 || code == 0x7F ? nullptr : font.GlyphFor(code);
    if (glyph) return Drawn{glyph->advance};
    if (const std::optional<std::int32_t> undrawn = BoardIdeographWidth(code)) {
        return Drawn{*undrawn, true};
    }
    return std::nullopt;
}

// The Shift-JIS bytes of a character, or the decimal reference that writes
// one without them.
Result<std::string> SjisOf(char32_t code) {
    if (!HasCp932Form(code)) return "&#" + std::to_string(static_cast<std::uint32_t>(code)) + ";";
    return Utf8ToCp932(Utf8Of(code));
}

// The character itself where CP932 reads its Shift-JIS bytes as another,
// else 0: what TextCell::written keeps.
char32_t WrittenAs(char32_t code) {
    return Cp932Reading(code) ? code : 0;
}

TextCell CellOf(const Written& c, std::int32_t gap = 0) {
    TextCell cell{gap, c.sjis, c.width};
    cell.written = c.writtenAs;
    return cell;
}

TextRow RowOf(const std::vector<Written>& line) {
    std::size_t end = line.size();
    while (end > 0 && IsSpace(line[end - 1])) --end;
    TextRow row;
    std::size_t i = 0;
    while (i < end) {
        if (!IsSpace(line[i])) {
            row.push_back(CellOf(line[i]));
            ++i;
            continue;
        }
        std::size_t j = i;
        std::string bytes;
        std::int32_t width = 0;
        for (; j < end && IsSpace(line[j]); ++j) {
            bytes += line[j].sjis;
            width += line[j].width;
        }
        // A run ending the kept part is followed by a character.
        const bool leadingHalf = row.empty() && bytes.front() == ' ';
        if (!leadingHalf && ComposeGap(width) == bytes) {
            row.push_back(CellOf(line[j], width));
            i = j + 1;
        } else {
            for (; i < j; ++i) row.push_back(CellOf(line[i]));
        }
    }
    return row;
}

// The rows of text the ink was drawn from without a refusal: the same
// characters at the same places.
Result<TextRows> RowsOfDrawnText(std::string_view bytes, TextEncoding encoding,
                                 const MonaFont& font,
                                 std::vector<UndrawnCharacter>& undrawnCharacters) {
    if (encoding == TextEncoding::Utf8 && bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::vector<std::string> raw = SplitTextLines(bytes);
    while (!raw.empty() && raw.back().empty()) raw.pop_back();
    TextRows rows;
    for (std::size_t n = 0; n < raw.size(); ++n) {
        Result<std::u32string> line = DecodeTextArtLine(raw[n], encoding, n);
        if (!line) return std::move(line).error();
        std::vector<Written> written;
        for (std::size_t i = 0; i < line->size();) {
            Written c;
            std::size_t length = ReferenceAt(*line, i, c.code);
            c.reference = length > 0;
            if (!c.reference) {
                c.code = (*line)[i];
                length = 1;
            }
            const std::optional<Drawn> drawn = DrawnAs(c.code, font);
            if (!drawn) {
                return Error{"", kinds::NotInFont, n + 1, i + 1, DescribeCodePoint(c.code)};
            }
            if (drawn->undrawn) undrawnCharacters.push_back({n + 1, i + 1, c.code});
            c.width = drawn->width;
            // An escaped '&' is how an artist shows a reference as text
            // ("&#38;#8201;"): written as a plain '&' it would become the
            // reference it shows, and a board would draw a space.
            if (c.reference && (!HasCp932Form(c.code) || c.code == U'&')) {
                c.sjis = AsciiOf(line->substr(i, length));
            } else {
                Result<std::string> sjis = SjisOf(c.code);
                if (!sjis) return std::move(sjis).error();
                c.sjis = std::move(*sjis);
                c.writtenAs = WrittenAs(c.code);
            }
            written.push_back(std::move(c));
            i += length;
        }
        rows[n] = RowOf(written);
    }
    return rows;
}

}  // namespace

Result<TextArtDrawing> ReadTextArtDrawing(std::string_view bytes, TextEncoding encoding,
                                          const MonaFont& font) {
    // The ink makes the checks; the rows then find every character drawable.
    Result<Image> ink = DrawTextArtInk(bytes, encoding, font);
    if (!ink) return std::move(ink).error();
    std::vector<UndrawnCharacter> undrawn;
    Result<TextRows> rows = RowsOfDrawnText(bytes, encoding, font, undrawn);
    if (!rows) return std::move(rows).error();
    int topLines = 0;
    while (topLines < kRowCount && (*rows)[static_cast<std::size_t>(topLines)].empty()) ++topLines;
    // Text of blank lines alone has no top to keep.
    if (topLines == kRowCount) topLines = 0;
    return TextArtDrawing{std::move(*ink), std::move(*rows), std::move(undrawn), topLines};
}

Result<TextCell> CellOfCharacter(char32_t code, const MonaFont& font) {
    const std::optional<Drawn> drawn = DrawnAs(code, font);
    if (!drawn) return Error{"", kinds::CannotBeTyped, DescribeCodePoint(code)};
    Result<std::string> sjis = SjisOf(code);
    if (!sjis) return std::move(sjis).error();
    TextCell cell{0, std::move(*sjis), drawn->width};
    cell.written = WrittenAs(code);
    return cell;
}

Result<TextRows> TextArtRows(std::string_view bytes, TextEncoding encoding, const MonaFont& font) {
    Result<TextArtDrawing> drawing = ReadTextArtDrawing(bytes, encoding, font);
    if (!drawing) return std::move(drawing).error();
    return std::move(drawing->rows);
}

}  // namespace fudeline
