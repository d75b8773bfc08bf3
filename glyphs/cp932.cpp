#include "glyphs/cp932.h"

#include <array>
#include <memory>

#include "glyphs/cp932_table.h"
#include "glyphs/glyphs_errors.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"

namespace fudeline {
namespace {

// Row of a two-byte code's lead byte in kCp932DoubleByte, or -1.
int LeadRow(unsigned char lead) {
    if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + 31;
    return -1;
}

std::optional<char32_t> DecodeSingle(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xA1 && byte <= 0xDF) return static_cast<char32_t>(0xFF61 + byte - 0xA1);
    return std::nullopt;
}

std::optional<char32_t> DecodeDouble(unsigned char lead, unsigned char trail) {
    const int row = LeadRow(lead);
    if (row < 0 || trail < 0x40 || trail > 0xFC) return std::nullopt;
    const std::uint16_t u = kCp932DoubleByte[row * kCp932TrailCount + (trail - 0x40)];
    if (u == kCp932Undefined) return std::nullopt;
    return u;
}

// Decodes the whole of `sjis` strictly: false at the first byte sequence
// CP932 does not define (a lead byte at the end included).
bool DecodeStrict(std::string_view sjis, std::u32string& out) {
    out.clear();
    for (std::size_t i = 0; i < sjis.size();) {
        const auto byte = static_cast<unsigned char>(sjis[i]);
        std::optional<char32_t> u;
        if (IsSingleByteChar(byte)) {
            u = DecodeSingle(byte);
            i += 1;
        } else {
            if (i + 1 == sjis.size()) return false;
            u = DecodeDouble(byte, static_cast<unsigned char>(sjis[i + 1]));
            i += 2;
        }
        if (!u) return false;
        out += *u;
    }
    return true;
}

// The Shift-JIS code of every code point in the Basic Multilingual Plane (0:
// none; below 0x100: one byte), built once from the decoding table.
const std::array<std::uint16_t, 0x10000>& EncodeTable() {
    static const std::unique_ptr<std::array<std::uint16_t, 0x10000>> table = [] {
        auto t = std::make_unique<std::array<std::uint16_t, 0x10000>>();
        t->fill(0);
        for (int row = kCp932LeadCount - 1; row >= 0; --row) {
            const int lead = row < 31 ? 0x81 + row : 0xE0 + row - 31;
            for (int trail = 0xFC; trail >= 0x40; --trail) {
                const std::uint16_t u = kCp932DoubleByte[row * kCp932TrailCount + trail - 0x40];
                // Walking backwards leaves the first code in byte order.
                if (u != kCp932Undefined) (*t)[u] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
        for (int b = 0; b < 0x80; ++b) (*t)[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(b);
        for (int b = 0xA1; b <= 0xDF; ++b) (*t)[0xFF61 + b - 0xA1] = static_cast<std::uint16_t>(b);
        for (int k = 0; k < kCp932EncodeExceptionCount; ++k) {
            (*t)[kCp932EncodeExceptions[k].codePoint] = kCp932EncodeExceptions[k].code;
        }
        return t;
    }();
    return *table;
}

}  // namespace

std::optional<char32_t> Cp932CharToUnicode(std::string_view character) {
    std::u32string out;
    if (character.empty() || !DecodeStrict(character, out) || out.size() != 1) return std::nullopt;
    return out[0];
}

Result<std::string> Cp932ToUtf8(std::string_view sjis) {
    std::string result;
    std::u32string decoded;
    // Whole text first; character by character only when some byte sequence
    // is not CP932, each such character becoming U+FFFD.
    if (DecodeStrict(sjis, decoded)) {
        for (char32_t u : decoded) AppendUtf8(result, u);
        return result;
    }
    std::size_t i = 0;
    while (i < sjis.size()) {
        const std::size_t len =
            IsSingleByteChar(static_cast<unsigned char>(sjis[i])) || i + 1 == sjis.size() ? 1 : 2;
        if (DecodeStrict(sjis.substr(i, len), decoded)) {
            for (char32_t u : decoded) AppendUtf8(result, u);
        } else {
            result += "\xEF\xBF\xBD";
        }
        i += len;
    }
    return result;
}

bool HasCp932Form(char32_t code) {
    if (code >= 0xE0000 && code <= 0xE007F) return true;
    return code == 0 || (code < 0x10000 && EncodeTable()[code] != 0);
}

Result<std::string> Utf8ToCp932(std::string_view utf8) {
    const auto& table = EncodeTable();
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> u = NextUtf8(utf8, i);
        if (!u) return Error{"", kinds::TextNotUtf8};
        if (*u >= 0xE0000 && *u <= 0xE007F) continue;  // language tags: no bytes, as glibc
        const std::uint16_t code = *u == 0 ? 0 : *u < 0x10000 ? table[*u] : 0;
        if (*u != 0 && code == 0) return Error{"", kinds::NoShiftJisForm};
        if (code >= 0x100) out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

std::optional<char32_t> Cp932Reading(char32_t code) {
    if (code < 0x80) return std::nullopt;
    const Result<std::string> sjis = Utf8ToCp932(Utf8Of(code));
    const std::optional<char32_t> reading = sjis ? Cp932CharToUnicode(*sjis) : std::nullopt;
    if (!reading || *reading == code) return std::nullopt;
    return reading;
}

}  // namespace fudeline
