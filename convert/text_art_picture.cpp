#include "convert/text_art_picture.h"

#include <algorithm>
#include <memory>

#include "convert/text_painter.h"
#include "pixels/geometry.h"

namespace fudeline {

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

Image RenderTextArt(const std::vector<std::string>& lines, const MonaFont& font) {
    // The painter's glyph tables are large: keep them off the stack.
    const auto painter = std::make_unique<TextPainter>(font);
    std::int64_t widest = 1;
    for (const std::string& line : lines) widest = std::max(widest, painter->StringWidth(line));
    const int width = static_cast<int>(std::min<std::int64_t>(widest, kMaxTextArtWidth));
    const std::size_t rows =
        std::clamp<std::size_t>(lines.size(), 1, std::size_t{kMaxTextArtLines});
    Image picture(width, static_cast<int>(rows) * kRowHeight, kWhite);
    for (std::size_t i = 0; i < lines.size() && i < rows; ++i) {
        painter->DrawString(picture, 0, static_cast<int>(i) * kRowHeight, lines[i], width);
    }
    return picture;
}

}  // namespace fudeline
