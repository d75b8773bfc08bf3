// The one line --board prints: how long the post is against the board's limits.
#pragma once

#include <string>

#include "export/post_counter.h"

namespace fudeline::cli {

// "post for BOARD: 3558/2048 bytes, 29/24 lines, longest line 180/256 bytes",
// then "; over the limit: bytes, lines" when it does not fit. A measure
// without a limit is shown alone ("12 lines").
std::string DescribePostCount(const std::string& board, const PostCount& count,
                              const BoardLimits& limits);

}  // namespace fudeline::cli
