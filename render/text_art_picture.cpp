#include "render/text_art_picture.h"

#include <algorithm>

#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "text/spacing.h"
#include "pixels/geometry.h"

namespace fudeline {

std::int64_t TextLineWidth(std::u32string_view line, const MonaFont& font) {
    std::int64_t width = 0;
    for (const char32_t code : line) {
        if (const auto blank = BoardSpaceWidth(code)) width += *blank;
        else if (const FontGlyph* glyph = font.GlyphFor(code)) width += glyph->advance;
        else if (const auto undrawn = BoardIdeographWidth(code)) width += *undrawn;
    }
    return width;
}

Image RenderTextArt(const std::vector<std::u32string>& lines, const MonaFont& font) {
    std::int64_t widest = 1;
    for (const std::u32string& line : lines) widest = std::max(widest, TextLineWidth(line, font));
    const int width = static_cast<int>(std::min<std::int64_t>(widest, kMaxTextArtWidth));
    const std::size_t rows =
        std::clamp<std::size_t>(lines.size(), 1, std::size_t{kMaxTextArtLines});
    Image picture(width, static_cast<int>(rows) * kRowHeight, kWhite);
    for (std::size_t i = 0; i < rows && i < lines.size(); ++i) {
        const int top = static_cast<int>(i) * kRowHeight;
        int x = 0;
        for (const char32_t code : lines[i]) {
            if (x >= width) break;
            if (const auto blank = BoardSpaceWidth(code)) {
                x += *blank;
                continue;
            }
            const FontGlyph* glyph = font.GlyphFor(code);
            if (!glyph) {
                x += BoardIdeographWidth(code).value_or(0);
                continue;
            }
            const int right = std::min(x + glyph->advance, width);
            for (int gy = 0; gy < kFontLineHeight; ++gy) {
                std::uint32_t* row = picture.Row(top + gy);
                for (int px = x; px < right; ++px) {
                    if (glyph->IsDark(px - x, gy)) row[px] = kBlack;
                }
            }
            x += glyph->advance;
        }
    }
    return picture;
}

Image RenderTextArt(const std::vector<std::string>& lines, const MonaFont& font) {
    std::vector<std::u32string> decoded;
    decoded.reserve(std::min(lines.size(), std::size_t{kMaxTextArtLines}));
    for (std::size_t n = 0; n < lines.size() && n < std::size_t{kMaxTextArtLines}; ++n) {
        const std::string& line = lines[n];
        std::u32string codes;
        for (std::size_t i = 0; i < line.size();) {
            const std::size_t length =
                IsSingleByteChar(static_cast<unsigned char>(line[i])) || i + 1 == line.size() ? 1
                                                                                              : 2;
            if (const auto code = Cp932CharToUnicode(std::string_view(line).substr(i, length))) {
                codes += *code;
            }
            i += length;
        }
        decoded.push_back(std::move(codes));
    }
    return RenderTextArt(decoded, font);
}

}  // namespace fudeline
