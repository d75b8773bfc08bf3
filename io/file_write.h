// Writing a whole file so that a failure never leaves it half written: the
// bytes go to a temporary file beside it, which then replaces it in one step.
#pragma once

#include <string>
#include <string_view>

namespace fudeline {

// Writes `bytes` to `path`, replacing what was there only once all of them are
// on disk. On failure the old file is untouched, no temporary file is left,
// and `error` names the path and the reason.
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string* error);

}  // namespace fudeline
