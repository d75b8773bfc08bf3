// How long a post is on a board, counted the way the board's software counts
// it, and whether it fits the board's limits. Works on the Shift-JIS bytes that
// Copy puts on the clipboard. The boards and their limits are in boards.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "export/boards.h"

namespace fudeline {

struct PostCount {
    std::int64_t bytes = 0;        // after escaping, each line break as " <br> "
    std::int64_t lines = 0;        // 0 for an empty post
    std::int64_t longestLine = 0;  // bytes of the longest line, escaped
    bool overBytes = false;
    bool overLines = false;
    bool overLineBytes = false;

    bool over() const { return overBytes || overLines || overLineBytes; }
};

// Counts `sjis` as the board stores it: '<' and '>' become "&lt;" and "&gt;",
// '"' becomes "&quot;", and each line break ("\r\n" or a lone "\n") becomes
// " <br> " (6 bytes). A limit is passed when the count is more than it.
PostCount CountPost(std::string_view sjis, const BoardLimits& limits);

}  // namespace fudeline
