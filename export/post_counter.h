// How long a post is on a board, counted the way the board's software counts
// it, and whether it fits the board's limits. Works on the Shift-JIS bytes that
// Copy puts on the clipboard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fudeline {

// A board's limits; 0 means "no limit" for that measure.
struct BoardLimits {
    std::int64_t maxBytes = 0;
    std::int64_t maxLines = 0;
    std::int64_t maxLineBytes = 0;

    bool operator==(const BoardLimits&) const = default;
};

// The 2ch-compatible default: 2048 bytes, 24 lines, 256 bytes per line.
inline constexpr BoardLimits k2chLimits{2048, 24, 256};
// Shitaraba: 4096 bytes per post, no line limits.
inline constexpr BoardLimits kShitarabaLimits{4096, 0, 0};

// The largest limit taken for any measure: beyond every board's, and within
// what the window's number boxes hold.
inline constexpr std::int64_t kMaxBoardLimit = 1000000;

// The one rule for custom limits, the command line's and the window's: each
// measure a whole number from 0 (no limit) to kMaxBoardLimit.
bool ValidBoardLimits(const BoardLimits& limits);

// "2ch", "shitaraba", or custom limits written "BYTES[:LINES[:COLUMNS]]":
// decimal digits only, each field within the rule above; a field left out is
// no limit. Nothing for anything else.
std::optional<BoardLimits> ParseBoardLimits(std::string_view text);

// Custom limits as "BYTES:LINES:COLUMNS", which ParseBoardLimits reads back.
std::string FormatBoardLimits(const BoardLimits& limits);

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
