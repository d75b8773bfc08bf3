// What --board says: the boards it knows, for its help and its refusal, and
// the one line it prints, how long the post is against the board's limits.
#pragma once

#include <string>
#include <string_view>

#include "export/post_counter.h"

namespace fudeline::cli {

// "post for BOARD: 3558/2048 bytes, 29/24 lines, longest line 180/256 bytes",
// then "; over the limit: bytes, lines" when it does not fit. A measure
// without a limit is shown alone ("12 lines").
std::string DescribePostCount(const std::string& board, const PostCount& count,
                              const BoardLimits& limits);

// Every board of the table with its limits, for --board's help:
// "2ch: 2048 bytes, 24 lines, 256 bytes a line; shitaraba: 4096 bytes".
std::string DescribeBoards();

// The boards' names in the table's order with `separator` between them:
// "2ch|shitaraba" for the option's type, "2ch, shitaraba" for its refusal.
std::string BoardNames(std::string_view separator);

}  // namespace fudeline::cli
