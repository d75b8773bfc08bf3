// The text that render draws, read as Shift-JIS lines. Every character must
// be one the boards can carry: a character that would vanish from the picture
// is an error naming its line, never a silent gap.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pixels/result.h"

namespace fudeline::cli {

// Splits `bytes` into lines ("\n" or "\r\n") and gives each in Shift-JIS
// (CP932). UTF-8 input may start with a byte order mark. Errors carry no path;
// their reason starts with "line N".
Result<std::vector<std::string>> DecodeTextArtLines(std::string_view bytes, bool sjisInput);

}  // namespace fudeline::cli
