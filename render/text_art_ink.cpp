#include "render/text_art_ink.h"

#include "render/text_art_picture.h"
#include "pixels/geometry.h"
#include "text/spacing.h"

namespace fudeline {

namespace {

Status CheckLineCount(std::size_t count) {
    if (count <= static_cast<std::size_t>(kRowCount)) return {};
    return Error{"", ErrorKind::TooManyLines, count, kRowCount};
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
            if (!glyph && !blank) {
                return Error{"", ErrorKind::NotInFont, n + 1, c + 1, DescribeCodePoint(code)};
            }
            const int advance = blank ? *blank : glyph->advance;
            if (x + advance > kTextArtInkWidth) {
                const std::int64_t width =
                    x + TextLineWidth(std::u32string_view(lines[n]).substr(c), font);
                return Error{"", ErrorKind::LineTooWide, n + 1, width, kTextArtInkWidth, c};
            }
            if (blank) {
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
    // Refused before decoding: a long file must not be decoded only to be refused.
    std::vector<std::string> raw = SplitTextLines(bytes);
    while (!raw.empty() && raw.back().empty()) raw.pop_back();
    if (Status fits = CheckLineCount(raw.size()); !fits) return fits.error();
    Result<std::vector<std::u32string>> lines = DecodeTextArt(bytes, encoding);
    if (!lines) return std::move(lines).error();
    return DrawTextArtInk(*lines, font);
}

}  // namespace fudeline
