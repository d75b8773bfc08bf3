#include "render/text_painter.h"

#include <algorithm>
#include <optional>
#include <string>

#include "text/gap_composer.h"
#include "text/text_art_lines.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "pixels/geometry.h"

namespace fudeline {

TextPainter::TextPainter(const MonaFont& font) : font_(font) {}

const FontGlyph* TextPainter::GlyphForCode(unsigned code) const {
    if (!resolved_[code]) {
        resolved_[code] = true;
        std::string bytes;
        if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
        if (const auto codePoint = Cp932CharToUnicode(bytes)) {
            glyphs_[code] = font_.GlyphFor(*codePoint);
        }
    }
    return glyphs_[code];
}

const FontGlyph* TextPainter::NextGlyph(std::string_view sjis, std::size_t& i) const {
    unsigned code = static_cast<unsigned char>(sjis[i]);
    if (!IsSingleByteChar(static_cast<unsigned char>(code)) && i + 1 < sjis.size()) {
        code = (code << 8) | static_cast<unsigned char>(sjis[i + 1]);
        i += 2;
    } else {
        i += 1;
    }
    return GlyphForCode(code);
}

namespace {

void DrawGlyph(Image& layer, int x, int y, const FontGlyph& glyph, int right) {
    for (int gy = 0; gy < kFontLineHeight; ++gy) {
        const int py = y + gy;
        if (py < 0 || py >= layer.height()) continue;
        std::uint32_t* row = layer.Row(py);
        for (int gx = 0; gx < glyph.advance; ++gx) {
            const int px = x + gx;
            if (px < 0 || px >= right) continue;
            row[px] = glyph.IsDark(gx, gy) ? kBlack : kWhite;
        }
    }
}

// The character a cell holding one character reference ("&#8201;", as opened
// text keeps a character without a Shift-JIS form) stands for.
std::optional<char32_t> ReferencedCharacter(std::string_view text) {
    if (!text.starts_with("&#")) return std::nullopt;
    const std::u32string written(text.begin(), text.end());
    const std::u32string resolved = ResolveCharacterReferences(written);
    if (resolved.size() != 1 || resolved == written) return std::nullopt;
    return resolved[0];
}

}  // namespace

void TextPainter::DrawString(Image& layer, int x, int y, std::string_view sjis,
                             int clipRight) const {
    const int right = std::min(clipRight, layer.width());
    std::size_t i = 0;
    while (i < sjis.size() && x < right) {
        const FontGlyph* glyph = NextGlyph(sjis, i);
        if (!glyph) continue;  // a character the face lacks draws nothing
        DrawGlyph(layer, x, y, *glyph, right);
        x += glyph->advance;
    }
}

void TextPainter::DrawTextRow(Image& layer, int row, const TextRow& cells) const {
    const int y = row * kRowHeight;
    layer.FillRect(0, y, kCanvasWidth, kRowHeight, kWhite);
    DrawCells(layer, y, cells);
}

void TextPainter::DrawCells(Image& layer, int top, const TextRow& cells) const {
    std::int64_t penX = 0;
    for (const TextCell& cell : cells) {
        if (penX >= kCanvasWidth) break;  // the rest of the row lies off the canvas
        const int x = static_cast<int>(penX);
        const bool blank = blankGaps_ && blankGaps_->CanSpell(cell.gap);
        if (!blank) DrawString(layer, x, top, ComposeGap(cell.gap), kCanvasWidth);
        const int charX = static_cast<int>(std::min<std::int64_t>(penX + cell.gap, kCanvasWidth));
        if (const auto code = ReferencedCharacter(cell.text)) {
            if (const FontGlyph* glyph = font_.GlyphFor(*code)) {
                DrawGlyph(layer, charX, top, *glyph, std::min(kCanvasWidth, layer.width()));
            }
        } else {
            DrawString(layer, charX, top, cell.text, kCanvasWidth);
        }
        if (cell.gap == 3 && !blank) DrawString(layer, charX - 3, top, ".", kCanvasWidth);
        penX += std::int64_t{cell.gap} + cell.width;
    }
}

}  // namespace fudeline
