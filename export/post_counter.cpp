#include "export/post_counter.h"

#include <charconv>

namespace fudeline {
namespace {

constexpr std::int64_t kLineBreakBytes = 6;  // " <br> "

std::int64_t EscapedSize(char c) {
    switch (c) {
        case '<':
        case '>':
            return 4;  // &lt; &gt;
        case '"':
            return 6;  // &quot;
        default:
            return 1;
    }
}

std::optional<std::int64_t> PositiveNumber(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value <= 0) return std::nullopt;
    return value;
}

}  // namespace

std::optional<BoardLimits> ParseBoardLimits(std::string_view text) {
    if (text == "2ch") return k2chLimits;
    if (text == "shitaraba") return kShitarabaLimits;
    BoardLimits limits;
    std::int64_t* fields[] = {&limits.maxBytes, &limits.maxLines, &limits.maxLineBytes};
    std::size_t field = 0;
    while (true) {
        if (field == 3) return std::nullopt;
        const std::size_t colon = text.find(':');
        const auto value = PositiveNumber(text.substr(0, colon));
        if (!value) return std::nullopt;
        *fields[field++] = *value;
        if (colon == std::string_view::npos) return limits;
        text.remove_prefix(colon + 1);
    }
}

PostCount CountPost(std::string_view sjis, const BoardLimits& limits) {
    PostCount count;
    if (sjis.empty()) return count;
    count.lines = 1;
    std::int64_t line = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const char c = sjis[i];
        if (c == '\r' && i + 1 < sjis.size() && sjis[i + 1] == '\n') continue;
        if (c == '\n') {
            count.bytes += kLineBreakBytes;
            count.longestLine = std::max(count.longestLine, line);
            line = 0;
            ++count.lines;
            continue;
        }
        const std::int64_t size = EscapedSize(c);
        count.bytes += size;
        line += size;
    }
    count.longestLine = std::max(count.longestLine, line);
    count.overBytes = limits.maxBytes > 0 && count.bytes > limits.maxBytes;
    count.overLines = limits.maxLines > 0 && count.lines > limits.maxLines;
    count.overLineBytes = limits.maxLineBytes > 0 && count.longestLine > limits.maxLineBytes;
    return count;
}

}  // namespace fudeline
