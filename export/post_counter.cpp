#include "export/post_counter.h"

#include <algorithm>

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

// Digits only (no sign, space or other base), at most the largest limit.
std::optional<std::int64_t> LimitNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kMaxBoardLimit) return std::nullopt;  // before it could overflow
    }
    return value;
}

}  // namespace

bool ValidBoardLimits(const BoardLimits& limits) {
    for (const std::int64_t value : {limits.maxBytes, limits.maxLines, limits.maxLineBytes}) {
        if (value < 0 || value > kMaxBoardLimit) return false;
    }
    return true;
}

std::optional<BoardLimits> ParseBoardLimits(std::string_view text) {
    if (text == "2ch") return k2chLimits;
    if (text == "shitaraba") return kShitarabaLimits;
    BoardLimits limits;
    std::int64_t* fields[] = {&limits.maxBytes, &limits.maxLines, &limits.maxLineBytes};
    std::size_t field = 0;
    while (true) {
        if (field == 3) return std::nullopt;
        const std::size_t colon = text.find(':');
        const auto value = LimitNumber(text.substr(0, colon));
        if (!value) return std::nullopt;
        *fields[field++] = *value;
        if (colon == std::string_view::npos) return limits;
        text.remove_prefix(colon + 1);
    }
}

std::string FormatBoardLimits(const BoardLimits& limits) {
    return std::to_string(limits.maxBytes) + ":" + std::to_string(limits.maxLines) + ":" +
           std::to_string(limits.maxLineBytes);
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
