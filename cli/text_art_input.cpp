#include "cli/text_art_input.h"

#include <optional>

#include "cli/cli_errors.h"
#include "files/file_bytes.h"
#include "files/line_reader.h"
#include "glyphs/cp932.h"
#include "glyphs/utf8.h"
#include "render/render_errors.h"
#include "text/spacing.h"
#include "text/text_art_lines.h"

namespace fudeline::cli {
namespace {

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

// The C0 controls and DEL: bytes neither encoding uses inside a longer
// character, so every such byte is a control character of its own.
constexpr std::string_view kControlBytes(
    "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F"
    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F\x7F",
    33);

// Refuses the first control character of a line (a CR not followed by LF
// included): the face draws nothing for them, so they would vanish from the
// picture. Its column counts the characters before it as the text's own
// decoding reads them, as the other messages do.
Status CheckControlCharacters(std::string_view line, TextEncoding encoding, std::size_t index) {
    const std::size_t at = line.find_first_of(kControlBytes);
    if (at == std::string_view::npos) return {};
    const Result<std::u32string> before = DecodeTextArtLine(line.substr(0, at), encoding, index);
    if (!before) return before.error();
    const auto byte = static_cast<unsigned char>(line[at]);
    return Error{"",
                 kinds::ControlCharacter,
                 index + 1,
                 before->size() + 1,
                 DescribeByte(byte),
                 ControlName(byte)};
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
    const TextEncoding encoding = sjisInput ? TextEncoding::ShiftJis : TextEncoding::Utf8;
    if (Status clean = CheckControlCharacters(line, encoding, index); !clean) return clean.error();
    Result<std::u32string> decoded = DecodeTextArtLine(line, encoding, index);
    if (!decoded) return std::move(decoded).error();
    // Columns count the characters as written, before references are read.
    if (const auto at = FirstUnsharable(*decoded, font)) {
        return Error{"", kinds::NoShiftJisFormAt, index + 1, *at + 1, Shown((*decoded)[*at])};
    }
    std::vector<std::size_t> from;
    std::u32string resolved = ResolveCharacterReferences(*decoded, from);
    for (std::size_t c = 0; c < resolved.size(); ++c) {
        const char32_t code = resolved[c];
        if (!HasCp932Form(code) && !BoardSpaceWidth(code) && !font.GlyphFor(code)) {
            return Error{"", kinds::ReferenceWithoutShiftJis, index + 1, Shown(code)};
        }
        // A reference may stand for what the text may not hold as it
        // stands; it would vanish all the same.
        if (code < 0x20 || code == 0x7F) {
            return Error{"",
                         kinds::ReferenceToControl,
                         index + 1,
                         from[c] + 1,
                         DescribeByte(static_cast<unsigned char>(code)),
                         ControlName(static_cast<unsigned char>(code))};
        }
        // A character a board carries but the face does not draw would leave
        // a gap no one asked for. The Unicode spaces are drawn at their widths
        // whether or not the face holds them.
        if (!font.GlyphFor(code) && !BoardSpaceWidth(code)) {
            return Error{"", kinds::NotInFont, index + 1, from[c] + 1, DescribeCodePoint(code)};
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
