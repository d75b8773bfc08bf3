// Replay scripts: recorded mouse and button events, one a line, in window
// client pixels exactly as the window receives them.
//
//   down X Y | move X Y | up | undo | clear | clear no
//
// Blank lines and lines starting with '#' are ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fudeline {

struct ReplayEvent {
    enum class Kind { Down, Move, Up, Undo, Clear, ClearDeclined };
    Kind kind = Kind::Up;
    int x = 0;
    int y = 0;
    int line = 0;  // 1-based line in the script
};

// Parses a whole script. On a line that cannot be read returns nothing and
// sets `error` to "line N: what is wrong".
std::optional<std::vector<ReplayEvent>> ParseReplayScript(std::string_view text,
                                                          std::string* error);

}  // namespace fudeline
