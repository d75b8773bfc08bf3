#include "cli/text_art_input.h"

#include <cstdio>
#include <optional>

#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "io/file_bytes.h"
#include "io/line_reader.h"

namespace fudeline::cli {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// "line N, column C: why", or "line N: why" when no column is known.
Error LineError(std::size_t index, const std::string& what) {
    const char* joint = what.starts_with("column") ? ", " : ": ";
    return Error{"", "line " + std::to_string(index + 1) + joint + what};
}

// Bytes in a UTF-8 sequence starting with `lead`, or 0 when it cannot lead one.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 0;
}

// The name of a control character, for the message that refuses it.
std::string ControlName(unsigned char byte) {
    switch (byte) {
        case 0x00:
            return " (NUL)";
        case 0x07:
            return " (BEL)";
        case 0x08:
            return " (BS)";
        case 0x09:
            return " (TAB)";
        case 0x0B:
            return " (VT)";
        case 0x0C:
            return " (FF)";
        case 0x0D:
            return " (CR)";
        case 0x1B:
            return " (ESC)";
        case 0x7F:
            return " (DEL)";
        default:
            return "";
    }
}

// The first control character of a line (C0 controls, a CR not followed by
// LF, DEL): the face draws nothing for them, so they would vanish from the
// picture. Neither encoding uses these bytes inside a longer character, so
// every such byte is one; columns count characters as the other messages do.
std::optional<std::string> ControlCharacterProblem(std::string_view line, bool sjis) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < line.size(); ++column) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte == 0x7F) {
            return "column " + std::to_string(column) + ": control character 0x" + Hex(byte, 2) +
                   ControlName(byte) + " draws nothing";
        }
        std::size_t length = 1;
        if (sjis) {
            length = IsSingleByteChar(byte) || i + 1 == line.size() ? 1 : 2;
        } else if (const std::size_t utf8 = Utf8SequenceLength(byte); utf8 > 1) {
            // Only the lead byte counts a column; a broken sequence is
            // reported by the decoding that follows.
            length = 1;
            while (length < utf8 && i + length < line.size() &&
                   (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80) {
                ++length;
            }
        }
        i += length;
    }
    return std::nullopt;
}

// Why a UTF-8 line has no Shift-JIS form: the first character at fault, so
// the user can find it.
std::string Utf8LineProblem(std::string_view line) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < line.size(); ++column) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const std::size_t length = Utf8SequenceLength(lead);
        bool wellFormed = length != 0 && i + length <= line.size();
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(line[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        const std::string where = "column " + std::to_string(column) + ": ";
        if (!wellFormed) return where + "byte 0x" + Hex(lead, 2) + " is not UTF-8";
        const std::string_view character = line.substr(i, length);
        if (!Utf8ToCp932(character)) {
            return where + "\"" + std::string(character) + "\" (U+" + Hex(code, 4) +
                   ") has no Shift-JIS form";
        }
        i += length;
    }
    return "a character has no Shift-JIS form";
}

// The first character of a Shift-JIS line that CP932 does not define.
std::string SjisLineProblem(std::string_view line) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < line.size(); ++column) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const std::size_t length = IsSingleByteChar(lead) || i + 1 == line.size() ? 1 : 2;
        if (!Cp932CharToUnicode(line.substr(i, length))) {
            std::string bytes = "0x" + Hex(lead, 2);
            if (length == 2) bytes += " 0x" + Hex(static_cast<unsigned char>(line[i + 1]), 2);
            return "column " + std::to_string(column) + ": " + bytes + " is not Shift-JIS";
        }
        i += length;
    }
    return "a byte is not Shift-JIS";
}

// Line `index` in Shift-JIS, or why it has none.
Result<std::string> DecodeTextArtLine(std::string line, std::size_t index, bool sjisInput) {
    if (std::optional<std::string> control = ControlCharacterProblem(line, sjisInput)) {
        return LineError(index, *control);
    }
    if (sjisInput) {
        Result<std::string> utf8 = Cp932ToUtf8(line);
        if (!utf8) return std::move(utf8).error();
        // Real text cannot hold U+FFFD in CP932: it marks undefined bytes.
        if (utf8->find(kReplacementCharacter) != std::string::npos) {
            return LineError(index, SjisLineProblem(line));
        }
        return line;
    }
    Result<std::string> sjis = Utf8ToCp932(line);
    if (!sjis) return LineError(index, Utf8LineProblem(line));
    return sjis;
}

}  // namespace

Result<std::vector<std::string>> ReadTextArtLines(const std::string& path, bool sjisInput,
                                                  const TextArtLineCheck& check) {
    const std::string name = InputName(path);
    // A system without CP932 fails here, before any line is blamed for it.
    if (Result<std::string> probe = Utf8ToCp932(""); !probe) return std::move(probe).error();
    Result<LineReader> reader = LineReader::Open(path);
    if (!reader) return std::move(reader).error();
    std::vector<std::string> lines;
    std::string line;
    for (;;) {
        const Result<bool> read = reader->Next(line);
        if (!read) return read.error();
        if (!*read) return lines;
        if (lines.empty() && !sjisInput && line.starts_with(kUtf8ByteOrderMark)) {
            line.erase(0, kUtf8ByteOrderMark.size());
        }
        Result<std::string> decoded = DecodeTextArtLine(std::move(line), lines.size(), sjisInput);
        if (!decoded) return Error{name, decoded.error().reason};
        if (Status fits = check(lines.size(), *decoded); !fits) {
            return Error{name, fits.error().reason};
        }
        lines.push_back(std::move(*decoded));
    }
}

}  // namespace fudeline::cli
