// The boards a post is counted for, in one table that the window, the command
// line and the page all read: a board's name (what --board, the window's
// settings and the page call it), the names it is shown by, its limits, and
// whether it needs references for characters outside its code page. A new
// board is one more row of kBoardProfiles; the first row is the default board.
//
// The window shows `windowName` through Qt's translations, in the context
// "Board": lupdate reads this file (app/CMakeLists.txt takes
// FUDELINE_BOARD_TEXT for Qt's QT_TRANSLATE_NOOP), so `cmake --build build
// --target update_translations` adds a new row's name to
// app/translations/fudeline_en.ts, where its English is written. The page has
// no translations: it shows `pageName`, or `englishName` in English.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text itself to the compiler; to lupdate, a text to translate in `context`.
#define FUDELINE_BOARD_TEXT(context, text) text

namespace fudeline {

// A board's limits; 0 means "no limit" for that measure.
struct BoardLimits {
    std::int64_t maxBytes = 0;
    std::int64_t maxLines = 0;
    std::int64_t maxLineBytes = 0;

    bool operator==(const BoardLimits&) const = default;
};

struct BoardProfile {
    std::string_view name;         // lower-case ASCII, never a number: --board tells them apart
    std::string_view pageName;     // the page's list
    std::string_view englishName;  // the page's list in English
    std::string_view windowName;   // the window's list, in Japanese (translated, see above)
    BoardLimits limits;
    // Characters outside the board's code page arrive as decimal references
    // (see board_references.h); a board whose software is known says so.
    bool references = false;
};

inline constexpr std::array kBoardProfiles = {
    // 2ch-compatible boards store Shift-JIS.
    BoardProfile{.name = "2ch", .pageName = "2ch", .englishName = "2ch",
                 .windowName = FUDELINE_BOARD_TEXT("Board", "2ちゃんねる互換 (2048バイト・24行)"),
                 .limits = {2048, 24, 256}, .references = true},
    // Shitaraba stores EUC-JP and limits a post's bytes only.
    BoardProfile{.name = "shitaraba", .pageName = "したらば", .englishName = "Shitaraba",
                 .windowName = FUDELINE_BOARD_TEXT("Board", "したらば (4096バイト)"),
                 .limits = {4096, 0, 0}, .references = true},
};

// The board a window or page starts on, and falls back to.
inline constexpr const BoardProfile& kDefaultBoard = kBoardProfiles.front();

// The row named `name`; nothing for any other text (custom limits included).
const BoardProfile* FindBoard(std::string_view name);

// The largest limit taken for any measure: beyond every board's, and within
// what the window's number boxes hold.
inline constexpr std::int64_t kMaxBoardLimit = 1000000;

// The one rule for custom limits, the command line's and the window's: each
// measure a whole number from 0 (no limit) to kMaxBoardLimit.
bool ValidBoardLimits(const BoardLimits& limits);

// One measure of custom limits as written: decimal digits only, within the
// rule above; nothing for anything else (a sign, a space, an exponent).
std::optional<std::int64_t> ParseBoardLimit(std::string_view text);

// A board's name ("2ch", "shitaraba", ...), or custom limits written
// "BYTES[:LINES[:COLUMNS]]": decimal digits only, each field within the rule
// above; a field left out is no limit. Nothing for anything else.
std::optional<BoardLimits> ParseBoardLimits(std::string_view text);

// Custom limits as "BYTES:LINES:COLUMNS", which ParseBoardLimits reads back.
std::string FormatBoardLimits(const BoardLimits& limits);

}  // namespace fudeline
