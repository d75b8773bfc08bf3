#include "convert/text_art_ink.h"

#include <cstdio>

#include "convert/text_art_picture.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t kLastCodePoint = 0x10FFFF;

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

Error LineError(std::size_t line, std::size_t column, const std::string& why) {
    return Error{"", "line " + std::to_string(line + 1) + ", column " + std::to_string(column) +
                         ": " + why};
}

std::string Describe(char32_t code) { return "U+" + Hex(static_cast<unsigned>(code), 4); }

}  // namespace

std::u32string ResolveCharacterReferences(const std::u32string& line) {
    std::u32string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == U'&' && i + 2 < line.size() && line[i + 1] == U'#') {
            std::size_t j = i + 2;
            const bool hex = line[j] == U'x' || line[j] == U'X';
            if (hex) ++j;
            char32_t code = 0;
            std::size_t digits = 0;
            for (; j < line.size() && digits <= 8; ++j, ++digits) {
                const char32_t c = line[j];
                int value = -1;
                if (c >= U'0' && c <= U'9') value = static_cast<int>(c - U'0');
                else if (hex && c >= U'a' && c <= U'f') value = static_cast<int>(c - U'a' + 10);
                else if (hex && c >= U'A' && c <= U'F') value = static_cast<int>(c - U'A' + 10);
                if (value < 0) break;
                code = code * (hex ? 16 : 10) + static_cast<char32_t>(value);
            }
            if (digits > 0 && digits <= 8 && j < line.size() && line[j] == U';' &&
                code <= kLastCodePoint && code != 0) {
                out += code;
                i = j + 1;
                continue;
            }
        }
        out += line[i++];
    }
    return out;
}

Result<std::u32string> DecodeTextArtLine(std::string_view line, TextEncoding encoding,
                                         std::size_t index) {
    std::u32string decoded;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t column = decoded.size() + 1;
        if (encoding == TextEncoding::Utf8) {
            const auto code = NextUtf8(line, i);
            if (!code) {
                return LineError(index, column,
                                 "byte 0x" + Hex(static_cast<unsigned char>(line[i]), 2) +
                                     " is not UTF-8");
            }
            decoded += *code;
            continue;
        }
        const auto lead = static_cast<unsigned char>(line[i]);
        const std::size_t length = IsSingleByteChar(lead) || i + 1 == line.size() ? 1 : 2;
        const auto code = Cp932CharToUnicode(line.substr(i, length));
        if (!code) {
            std::string shown = "0x" + Hex(lead, 2);
            if (length == 2) shown += " 0x" + Hex(static_cast<unsigned char>(line[i + 1]), 2);
            return LineError(index, column, shown + " is not Shift-JIS");
        }
        decoded += *code;
        i += length;
    }
    return decoded;
}

Result<std::vector<std::u32string>> DecodeTextArt(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 && bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::vector<std::u32string> lines;
    const std::vector<std::string> raw = SplitTextLines(bytes);
    lines.reserve(raw.size());
    for (std::size_t n = 0; n < raw.size(); ++n) {
        Result<std::u32string> decoded = DecodeTextArtLine(raw[n], encoding, n);
        if (!decoded) return std::move(decoded).error();
        lines.push_back(ResolveCharacterReferences(*decoded));
    }
    return lines;
}

namespace {

Status CheckLineCount(std::size_t count) {
    if (count <= static_cast<std::size_t>(kRowCount)) return {};
    return Error{"", "the text has " + std::to_string(count) + " lines; the canvas holds " +
                         std::to_string(kRowCount)};
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
            const FontGlyph* glyph = code < 0x20 || code == 0x7F ? nullptr : font.GlyphFor(code);
            if (!glyph) {
                return LineError(n, c + 1, Describe(code) + " is not in the Mona font");
            }
            if (x + glyph->advance > kTextArtInkWidth) {
                std::int64_t width = x;
                for (std::size_t k = c; k < lines[n].size(); ++k) {
                    if (const FontGlyph* g = font.GlyphFor(lines[n][k])) width += g->advance;
                }
                return Error{"", "line " + std::to_string(n + 1) + " is " + std::to_string(width) +
                                     " pixels wide; the canvas holds " +
                                     std::to_string(kTextArtInkWidth) + " (" +
                                     std::to_string(c) + " characters of this line fit)"};
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
