#include "glyphs/utf8.h"

namespace fudeline {

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf8Of(char32_t code) {
    std::string out;
    AppendUtf8(out, code);
    return out;
}

std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t u = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        u = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        u = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        u = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) return std::nullopt;
    for (int k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((byte & 0xC0) != 0x80) return std::nullopt;
        u = (u << 6) | (byte & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (u < kSmallest[length] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return std::nullopt;
    i += static_cast<std::size_t>(length);
    return u;
}

}  // namespace fudeline
