// Page files on disk: reading them, and appending the text as a new page.
#pragma once

#include <string>
#include <string_view>

#include "io/page_format.h"
#include "pixels/result.h"

namespace fudeline {

// Reads and parses `path` ("-": standard input), failing with the path and
// the reason when it is neither format.
Result<PageFile> ReadPageFile(const std::string& path);

// Adds Shift-JIS `text` as the last page of `path`, creating the file when it
// does not exist (its format from its name, ".mlt" or ".ast"). The file is
// written whole or left as it was.
Status AppendPageToFile(const std::string& path, std::string_view text, std::string_view name);

}  // namespace fudeline
