// How fudeline-cli fails: one line on standard error naming what could not be
// used and why, and exit status 2; nothing is written to standard output then.
#pragma once

#include <string>
#include <string_view>

#include "errors/result.h"

namespace fudeline::cli {

inline constexpr int kExitError = 2;
// The text was written, but it is too long for one post on the chosen board.
inline constexpr int kExitOverBoardLimit = 3;

// Prints "fudeline-cli: cannot WHAT PATH: REASON" and returns kExitError.
int ReportFailure(const std::string& what, const Error& error);

// `text` made safe for a terminal: file names and script text reach messages
// as the user gave them, and a raw ESC or 0x9B would start a terminal control
// sequence. Printable ASCII and well-formed UTF-8 (Japanese names included)
// stay as they are; control characters (C0, DEL, C1), the characters that
// reorder text (U+202E and the other direction marks, the line and paragraph
// separators) and bytes that are not UTF-8 become \xHH. Every message on
// standard error goes through it, and so does text from files that is listed.
std::string EscapeForTerminal(std::string_view text);

}  // namespace fudeline::cli
