#include "cli/report.h"

#include <iostream>

namespace fudeline::cli {

int ReportFailure(const std::string& what, const Error& error) {
    std::cerr << EscapeForTerminal("fudeline-cli: cannot " + what + ' ' + error.Message()) << '\n';
    return kExitError;
}

namespace {

// Length of the well-formed UTF-8 sequence at `text[i]` of a printable code
// point (not C1, not overlong, not a surrogate), or 0.
std::size_t PrintableUtf8Length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF) return 0;
    if (code >= 0xD800 && code <= 0xDFFF) return 0;
    if (code <= 0x9F) return 0;  // C1 controls, 0x9B among them
    return length;
}

}  // namespace

std::string EscapeForTerminal(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            out += text[i++];
        } else if (const std::size_t length = PrintableUtf8Length(text, i); length != 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
            ++i;
        }
    }
    return out;
}

}  // namespace fudeline::cli
