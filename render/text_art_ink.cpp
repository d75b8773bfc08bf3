#include "render/text_art_ink.h"

#include <algorithm>

#include "errors/common_errors.h"
#include "glyphs/cp932.h"
#include "render/text_art_picture.h"
#include "glyphs/utf8.h"
#include "pixels/geometry.h"
#include "render/render_errors.h"
#include "render/text_art_picture.h"
#include "text/spacing.h"

namespace fudeline {

namespace {

Status CheckLineCount(std::size_t count) {
    if (count <= static_cast<std::size_t>(kRowCount)) return {};
    return Error{"", kinds::TooManyLines, count, kRowCount};
}

}  // namespace

Result<Image> DrawTextArtInk(const std::vector<std::u32string>& lines, const MonaFont& font) {
    std::size_t count = lines.size();
    while (count > 0 && lines[count - 1].empty()) --count;
    if (Status fits = CheckLineCount(count); !fits) return fits.error();
    Image ink(kTextArtInkWidth, kInkHeight, kWhite);
    for (std::size_t n = 0; n < count; ++n) {
        const int top = static_cast<int>(n) * kInkRowHeight;
        int x = 0;
        for (std::size_t c = 0; c < lines[n].size(); ++c) {
            const char32_t code = lines[n][c];
            const std::optional<std::int32_t> blank = BoardSpaceWidth(code);
            const FontGlyph* glyph =
                blank || code < 0x20 || code == 0x7F ? nullptr : font.GlyphFor(code);
            // An ideograph the face lacks stays in the text at its board
            // width, with nothing to draw.
            const std::optional<std::int32_t> undrawn =
                blank || glyph ? std::nullopt : BoardIdeographWidth(code);
            if (!glyph && !blank && !undrawn) {
                return Error{"", kinds::NotInFont, n + 1, c + 1, DescribeCodePoint(code)};
            }
            const int advance = blank ? *blank : undrawn ? *undrawn : glyph->advance;
            if (x + advance > kTextArtInkWidth) {
                const std::int64_t width =
                    x + TextLineWidth(std::u32string_view(lines[n]).substr(c), font);
                return Error{"", kinds::LineTooWide, n + 1, width, kTextArtInkWidth, c};
            }
            if (!glyph) {
                x += advance;
                continue;
            }
            for (int gy = 0; gy < kFontLineHeight; ++gy) {
                std::uint32_t* row = ink.Row(top + gy);
                for (int gx = 0; gx < glyph->advance; ++gx) {
                    if (glyph->IsDark(gx, gy)) row[x + gx] = kBlack;
                }
            }
            x += glyph->advance;
        }
    }
    return ink;
}

Result<Image> DrawTextArtInk(std::string_view bytes, TextEncoding encoding, const MonaFont& font) {
    // Lines are counted before any is decoded, and only those the canvas can
    // take are kept: a long text costs a pass over its bytes, not a copy of
    // every line, before it is refused.
    if (encoding == TextEncoding::Utf8 && bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::vector<std::string_view> kept;
    std::size_t count = 0, index = 0;
    for (std::string_view rest = bytes; !rest.empty(); ++index) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) count = index + 1;
        if (index < static_cast<std::size_t>(kRowCount)) kept.push_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (Status fits = CheckLineCount(count); !fits) return fits.error();
    std::vector<std::u32string> lines;
    std::vector<std::vector<std::size_t>> columns(count);
    lines.reserve(count);
    for (std::size_t n = 0; n < count; ++n) {
        if (kept[n].size() > kMaxTextArtInkLineBytes) {
            return Error{"", kinds::LineTooLong, n + 1, kMaxTextArtInkLineBytes};
        }
        Result<std::u32string> decoded = DecodeTextArtLine(kept[n], encoding, n);
        if (!decoded) return std::move(decoded).error();
        lines.push_back(ResolveCharacterReferences(*decoded, columns[n]));
    }
    Result<Image> ink = DrawTextArtInk(lines, font);
    // A character is named where it was written, a reference by its '&', as
    // the other readers of text art name it.
    if (!ink && ink.error().Is(kinds::NotInFont) && ink.error().args.size() == 3) {
        const std::size_t line = std::stoul(ink.error().args[0]) - 1;
        const std::size_t column = std::stoul(ink.error().args[1]) - 1;
        if (line < count && column < columns[line].size()) {
            return Error{"", kinds::NotInFont, line + 1, columns[line][column] + 1,
                         ink.error().args[2]};
        }
    }
    return ink;
}

void DrawCellsInk(Image& ink, int top, const TextRow& cells, int from, int to,
                  const MonaFont& font) {
    from = std::max(from, 0);
    to = std::min(to, ink.width());
    std::int64_t x = 0;
    for (const TextCell& cell : cells) {
        x += cell.gap;
        const std::int64_t left = x;
        x += cell.width;
        if (x <= from || left >= to) continue;
        // A cell holds one character, or the reference that writes it.
        const std::string utf8 = Cp932ToUtf8(cell.text).value_or(std::string());
        std::u32string written;
        std::size_t i = 0;
        while (i < utf8.size()) {
            const std::optional<char32_t> c = NextUtf8(utf8, i);
            if (!c) break;
            written += *c;
        }
        const std::u32string code = ResolveCharacterReferences(written);
        if (code.size() != 1 || BoardSpaceWidth(code[0])) continue;
        const FontGlyph* glyph = code[0] < 0x20 || code[0] == 0x7F ? nullptr : font.GlyphFor(code[0]);
        if (!glyph) continue;
        for (int gy = 0; gy < kFontLineHeight; ++gy) {
            const int y = top + gy;
            if (y < 0 || y >= ink.height()) continue;
            std::uint32_t* row = ink.Row(y);
            for (int gx = 0; gx < glyph->advance; ++gx) {
                const std::int64_t px = left + gx;
                if (px >= from && px < to && glyph->IsDark(gx, gy)) row[px] = kBlack;
            }
        }
    }
}

}  // namespace fudeline
