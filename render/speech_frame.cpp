#include "render/speech_frame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "glyphs/glyphs_errors.h"
#include "glyphs/utf8.h"
#include "pixels/geometry.h"
#include "render/text_art_picture.h"
#include "text/row_edit.h"

namespace fudeline {
namespace {

// The pieces of a frame: its corners and edges, and the blank between the
// sides and the words.
struct FramePieces {
    std::u32string topLeft, top, topRight, left, right, bottomLeft, bottom, bottomRight;
};

FramePieces PiecesOf(FrameStyle style) {
    switch (style) {
        case FrameStyle::Box:
            return {U"┌", U"─", U"┐", U"│", U"│", U"└", U"─", U"┘"};
        case FrameStyle::Rounded:
            break;
    }
    return {U"／", U"￣", U"＼", U"｜", U"｜", U"＼", U"＿", U"／"};
}

constexpr char32_t kFullWidthSpace = U'\u3000';

// Spaces as near `width` pixels as spaces alone spell between characters:
// full-width ones and at most one half-width one after them (boards fold two
// half-width spaces).
std::u32string SpacesFor(std::int64_t width) {
    const std::int32_t spelled = GapRule(Spacing::Spaces).Nearest(
        static_cast<std::int32_t>(std::clamp<std::int64_t>(width, 0, kCanvasWidth)), false);
    std::u32string spaces(static_cast<std::size_t>(spelled / kFullWidthSpaceWidth), kFullWidthSpace);
    if (spelled % kFullWidthSpaceWidth != 0) spaces += U' ';
    return spaces;
}

std::u32string Repeated(const std::u32string& piece, std::int64_t times) {
    std::u32string out;
    for (std::int64_t i = 0; i < times; ++i) out += piece;
    return out;
}

bool Blank(const std::u32string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char32_t c) { return c == U' ' || c == kFullWidthSpace || c == U'\t'; });
}

}  // namespace

std::optional<FrameStyle> ParseFrameStyle(std::string_view name) {
    if (name == "rounded") return FrameStyle::Rounded;
    if (name == "box") return FrameStyle::Box;
    return std::nullopt;
}

Result<std::string> FramedText(std::string_view words, FrameStyle style, const MonaFont& face) {
    // The words' lines, without the blank lines around them.
    std::vector<std::u32string> lines(1);
    for (std::size_t i = 0; i < words.size();) {
        const std::optional<char32_t> code = NextUtf8(words, i);
        if (!code) return Error{"", kinds::TextNotUtf8};
        if (*code == U'\r') continue;
        if (*code == U'\n') {
            lines.emplace_back();
        } else {
            lines.back() += *code;
        }
    }
    while (!lines.empty() && Blank(lines.back())) lines.pop_back();
    while (!lines.empty() && Blank(lines.front())) lines.erase(lines.begin());
    if (lines.empty()) return std::string();

    const FramePieces p = PiecesOf(style);
    auto width = [&](const std::u32string& text) { return TextLineWidth(text, face); };
    std::int64_t widest = 0;
    for (const std::u32string& line : lines) widest = std::max(widest, width(line));
    // A full-width space between each side and the words.
    const std::int64_t inside = widest + 2 * kFullWidthSpaceWidth;
    const std::int64_t edge = std::max<std::int64_t>(width(p.top), 1);
    const std::int64_t count = std::max<std::int64_t>((inside + edge - 1) / edge, 1);
    // Where the right-hand pieces start, measured from the left side's start.
    const std::int64_t rightAt = width(p.topLeft) + count * edge;

    std::vector<std::u32string> framed;
    framed.push_back(p.topLeft + Repeated(p.top, count) + p.topRight);
    for (const std::u32string& line : lines) {
        std::u32string row = p.left;
        row += kFullWidthSpace;
        row += line;
        row += SpacesFor(rightAt - width(row));
        row += p.right;
        framed.push_back(row);
    }
    framed.push_back(p.bottomLeft + Repeated(p.bottom, count) + p.bottomRight);

    std::string out;
    for (std::size_t i = 0; i < framed.size(); ++i) {
        if (i > 0) out += "\r\n";
        for (const char32_t c : framed[i]) AppendUtf8(out, c);
    }
    return out;
}

}  // namespace fudeline
