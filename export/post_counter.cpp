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

}  // namespace

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
