#include "glyphs/catalog_writer.h"

#include <algorithm>
#include <cstdint>

#include "glyphs/catalog_loader.h"
#include "glyphs/cp932.h"

namespace fudeline {
namespace {

bool IsTrailByte(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

void AppendGlyphLine(const MonaFont& font, unsigned b0, unsigned b1, std::string& out) {
    std::string character(1, static_cast<char>(b0));
    if (b1 != 0) character.push_back(static_cast<char>(b1));
    const auto codePoint = Cp932CharToUnicode(character);
    if (!codePoint) return;
    const FontGlyph* glyph = font.GlyphFor(*codePoint);
    if (!glyph || glyph->advance <= 0) return;
    out += CatalogLine(b0, b1, *glyph);
    out += '\n';
}

}  // namespace

std::string CatalogLine(unsigned b0, unsigned b1, const FontGlyph& glyph) {
    std::string pairs;
    int count = 0;
    for (int y = 0; y < kFontLineHeight; ++y) {
        for (int x = 0; x < glyph.advance; ++x) {
            if (!glyph.IsDark(x, y)) continue;
            pairs += ", " + std::to_string(x) + ", " + std::to_string(y);
            ++count;
        }
    }
    return std::to_string(b0) + ", " + std::to_string(b1) + ", " + std::to_string(glyph.advance) +
           ", " + std::to_string(count) + pairs;
}

std::string BuildCatalogText(const MonaFont& font, bool doubleByte) {
    std::string out;
    if (!doubleByte) {
        for (unsigned b = 0x21; b <= 0xDF; ++b) AppendGlyphLine(font, b, 0, out);
    } else {
        for (unsigned code = 0x8141; code <= 0x84BE; ++code) {
            if (IsTrailByte(code & 0xFF)) AppendGlyphLine(font, code >> 8, code & 0xFF, out);
        }
    }
    if (out.empty()) return out;
    const auto lines = static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
    return out + CatalogEndLine(lines) + '\n';
}

void StampCatalogPair(std::string& singleByte, std::string& doubleByte) {
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a, 64 bits
    for (const std::string* text : {&singleByte, &doubleByte}) {
        for (const char c : *text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    for (std::string* text : {&singleByte, &doubleByte}) {
        // The end line is the text's last line; the lines above it are glyphs.
        text->pop_back();
        text->erase(text->rfind('\n') + 1);
        const auto lines = static_cast<std::size_t>(std::count(text->begin(), text->end(), '\n'));
        *text += CatalogEndLine(lines, hash) + '\n';
    }
}

}  // namespace fudeline
