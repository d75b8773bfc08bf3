#include "cli/report.h"

#include <iostream>
#include <optional>

#include "glyphs/utf8.h"

namespace fudeline::cli {

int ReportFailure(const std::string& what, const Error& error) {
    std::cerr << EscapeForTerminal("fudeline-cli: cannot " + what + ' ' + error.Message()) << '\n';
    return kExitError;
}

namespace {

// The characters that change the direction or the lines of what follows
// them: a U+202E in a name would show the rest of the message reversed.
bool ReordersText(char32_t code) {
    return code == 0x061C || code == 0x200E || code == 0x200F || code == 0x2028 ||
           code == 0x2029 || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

// Length of the well-formed UTF-8 sequence at `text[i]` of a printable code
// point beyond ASCII (not C1, not overlong, not a surrogate, not one that
// reorders text), or 0.
std::size_t PrintableUtf8Length(std::string_view text, std::size_t i) {
    std::size_t end = i;
    const std::optional<char32_t> code = NextUtf8(text, end);
    // C1 controls (0x9B among them) would steer a terminal.
    return code && *code > 0x9F && !ReordersText(*code) ? end - i : 0;
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
