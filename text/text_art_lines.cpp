#include "text/text_art_lines.h"

#include <cstdio>

#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"
#include "text/text_errors.h"

namespace fudeline {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

}  // namespace

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string DescribeCodePoint(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string DescribeByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
}

std::u32string ResolveCharacterReferences(const std::u32string& line) {
    std::vector<std::size_t> unused;
    return ResolveCharacterReferences(line, unused);
}

std::u32string ResolveCharacterReferences(const std::u32string& line,
                                          std::vector<std::size_t>& sourceColumns) {
    sourceColumns.clear();
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
                sourceColumns.push_back(i);
                out += code;
                i = j + 1;
                continue;
            }
        }
        sourceColumns.push_back(i);
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
                return Error{"", kinds::NotUtf8, index + 1, column,
                             DescribeByte(static_cast<unsigned char>(line[i]))};
            }
            decoded += *code;
            continue;
        }
        const auto lead = static_cast<unsigned char>(line[i]);
        const std::size_t length = IsSingleByteChar(lead) || i + 1 == line.size() ? 1 : 2;
        const auto code = Cp932CharToUnicode(line.substr(i, length));
        if (!code) {
            std::string shown = DescribeByte(lead);
            if (length == 2) shown.append(" ").append(DescribeByte(static_cast<unsigned char>(line[i + 1])));
            return Error{"", kinds::NotShiftJis, index + 1, column, shown};
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

}  // namespace fudeline
