// Replay scripts: recorded mouse and button events, one a line, in window
// client pixels exactly as the window receives them.
//
//   down X Y [shift] | move X Y [shift] | up | undo | redo | clear | clear no
//   | stabilizer off|weak|strong | eraser small|medium|large
//   | history single|steps | type X Y TEXT
//
// "shift" marks a press or move made with Shift held (a straight line). The
// stabilizer line is the window's setting changed at that point: it holds
// from the next stroke on. A script without one replays with the stabilizer
// off, as every script did before there was one; the eraser line likewise
// sets the eraser's width from the next stroke on (medium without one, the
// one width there was before). "type" is a click of the
// text tool at X, Y and TEXT typed there: TEXT is the rest of the line after
// the one space that follows Y, as it stands ('#' and spaces included; the
// CR of a CRLF line end is not part of it). The session alone cannot type
// (it has no face): the Document plays it (Document::Play).
//
// "history" is the window's choice of undo from that point on: "single",
// the one toggling undo (a second undo redoes), or "steps", a history of up
// to 100 steps that undo walks back and redo forward. A script without one
// replays with the single undo, as every script did before there was a
// choice; in it, "redo" redoes only right after an undo.
//
// Blank lines are ignored, and so is everything from a word starting with '#'
// to the end of its line (but in a type line's text). Lines may end in CRLF and the script may start with a
// UTF-8 byte order mark, as editors on other systems save them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "errors/result.h"
#include "session/eraser_size.h"
#include "session/history.h"
#include "session/stroke_stabilizer.h"

namespace fudeline {

// The largest script played: 40,000 strokes across the whole canvas, 28 bytes
// each, take 2 s, and a script near the 256 MB that other inputs may have
// would play for minutes. The longest recorded scripts are a few hundred KB.
inline constexpr std::size_t kMaxReplayScriptBytes = std::size_t{1} << 20;

struct ReplayEvent {
    enum class Kind {
        Down, Move, Up, Undo, Redo, Clear, ClearDeclined, SetStabilizer, SetUndoMode, Type, SetEraser
    };
    Kind kind = Kind::Up;
    int x = 0;
    int y = 0;
    int line = 0;  // 1-based line in the script
    bool shift = false;                        // Down, Move
    Stabilizer stabilizer = Stabilizer::Off;  // SetStabilizer
    std::string text{};                        // Type: UTF-8, one line
    UndoMode undoMode = UndoMode::Single;  // SetUndoMode
    EraserSize eraser = EraserSize::Medium;  // SetEraser
};

// Parses line `lineNumber` (1-based, without its line break): an event, or
// nothing for a blank or comment line. Line 1 may start with the byte order
// mark. Errors read "line N: what is wrong" (no path: the caller knows it).
Result<std::optional<ReplayEvent>> ParseReplayLine(std::string_view line, int lineNumber);

// Parses a whole script. A line that cannot be read fails the whole script
// with the reason "line N: what is wrong" (no path: the caller knows it).
Result<std::vector<ReplayEvent>> ParseReplayScript(std::string_view text);

// "single" or "steps", as scripts and --history name the undo modes.
std::optional<UndoMode> ParseUndoMode(std::string_view word);

}  // namespace fudeline
