// The text that render draws, read as Shift-JIS lines. Every character must
// be one the boards can carry: a character that would vanish from the picture
// is an error naming its line, never a silent gap.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "pixels/result.h"

namespace fudeline::cli {

// Sees each line as soon as it is decoded (index from 0, Shift-JIS) and may
// refuse it; its error's reason is kept, with the input's name added.
using TextArtLineCheck = std::function<Status(std::size_t index, const std::string& sjisLine)>;

// Reads `path` ("-": standard input) a line at a time ("\n" or "\r\n") and
// gives each in Shift-JIS (CP932). UTF-8 input may start with a byte order
// mark. A line longer than kMaxLineBytes, or one `check` refuses, stops the
// reading there, so text far too large for a picture is refused after its
// first lines, not after all of it. Errors name the input; a line's reason
// starts with "line N".
Result<std::vector<std::string>> ReadTextArtLines(const std::string& path, bool sjisInput,
                                                  const TextArtLineCheck& check);

}  // namespace fudeline::cli
