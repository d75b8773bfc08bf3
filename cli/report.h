// How fudeline-cli fails: one line on standard error naming what could not be
// used and why, and exit status 2; nothing is written to standard output then.
#pragma once

#include <string>

#include "pixels/result.h"

namespace fudeline::cli {

inline constexpr int kExitError = 2;
// The text was written, but it is too long for one post on the chosen board.
inline constexpr int kExitOverBoardLimit = 3;

// Prints "fudeline-cli: cannot WHAT PATH: REASON" and returns kExitError.
int ReportFailure(const std::string& what, const Error& error);

}  // namespace fudeline::cli
