#include "cli/text_art_input.h"

#include <optional>

#include "text/spacing.h"
#include "text/text_art_lines.h"
#include "glyphs/cp932.h"
#include "glyphs/sjis.h"
#include "glyphs/utf8.h"
#include "io/file_bytes.h"
#include "io/line_reader.h"

namespace fudeline::cli {
namespace {

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
            return "column " + std::to_string(column) + ": control character " + DescribeByte(byte) +
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

// The first character a board cannot carry as it stands and the face cannot
// draw either (the blank characters with board widths are drawn blank).
std::optional<std::size_t> FirstUnsharable(const std::u32string& line, const MonaFont& font) {
    for (std::size_t c = 0; c < line.size(); ++c) {
        if (!HasCp932Form(line[c]) && !BoardSpaceWidth(line[c]) && !font.GlyphFor(line[c])) {
            return c;
        }
    }
    return std::nullopt;
}

// "\"x\" (U+XXXX)", to name a character in a message.
std::string Shown(char32_t code) {
    std::string text = "\"";
    text.append(Utf8Of(code)).append("\" (").append(DescribeCodePoint(code));
    return text.append(")");
}

// Line `index` as Unicode characters, or why it can't be drawn.
Result<std::u32string> DecodeLine(const std::string& line, std::size_t index, bool sjisInput,
                                  const MonaFont& font) {
    if (std::optional<std::string> control = ControlCharacterProblem(line, sjisInput)) {
        return LineError(index, *control);
    }
    Result<std::u32string> decoded =
        DecodeTextArtLine(line, sjisInput ? TextEncoding::ShiftJis : TextEncoding::Utf8, index);
    if (!decoded) return std::move(decoded).error();
    // Columns count the characters as written, before references are read.
    if (const auto at = FirstUnsharable(*decoded, font)) {
        return LineError(index, "column " + std::to_string(*at + 1) + ": " +
                                    Shown((*decoded)[*at]) + " has no Shift-JIS form");
    }
    std::vector<std::size_t> from;
    std::u32string resolved = ResolveCharacterReferences(*decoded, from);
    for (std::size_t c = 0; c < resolved.size(); ++c) {
        const char32_t code = resolved[c];
        if (!HasCp932Form(code) && !BoardSpaceWidth(code) && !font.GlyphFor(code)) {
            return LineError(index, "a character reference stands for " + Shown(code) +
                                        ", which has no Shift-JIS form");
        }
        // A reference may stand for what the text may not hold as it
        // stands; it would vanish all the same.
        if (code < 0x20 || code == 0x7F) {
            return LineError(index, "column " + std::to_string(from[c] + 1) +
                                        ": a character reference stands for control "
                                        "character " +
                                        DescribeByte(static_cast<unsigned char>(code)) +
                                        ControlName(static_cast<unsigned char>(code)) +
                                        ", which draws nothing");
        }
        // A character a board carries but the face does not draw would leave
        // a gap no one asked for. The Unicode spaces are drawn at their widths
        // whether or not the face holds them.
        if (!font.GlyphFor(code) && !BoardSpaceWidth(code)) {
            return Error{"", ErrorKind::NotInFont, index + 1, from[c] + 1, DescribeCodePoint(code)};
        }
    }
    return resolved;
}

}  // namespace

Result<std::vector<std::u32string>> ReadTextArtLines(const std::string& path, bool sjisInput,
                                                     const MonaFont& font,
                                                     const TextArtLineCheck& check) {
    const std::string name = InputName(path);
    Result<LineReader> reader = LineReader::Open(path);
    if (!reader) return std::move(reader).error();
    std::vector<std::u32string> lines;
    std::string line;
    for (;;) {
        const Result<bool> read = reader->Next(line);
        if (!read) return read.error();
        if (!*read) return lines;
        if (lines.empty() && !sjisInput && line.starts_with(kUtf8ByteOrderMark)) {
            line.erase(0, kUtf8ByteOrderMark.size());
        }
        Result<std::u32string> decoded = DecodeLine(line, lines.size(), sjisInput, font);
        if (!decoded) return decoded.error().WithPath(name);
        if (Status fits = check(lines.size(), *decoded); !fits) {
            return fits.error().WithPath(name);
        }
        lines.push_back(std::move(*decoded));
    }
}

}  // namespace fudeline::cli
