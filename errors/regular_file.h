// Whether a path names a regular file, asked before a file is opened to be
// read whole: opening a named pipe waits for a writer without end, and a
// folder or a device has no content to read.
#pragma once

#include <string>
#include <sys/types.h>

#include "errors/result.h"

namespace fudeline {

// Nothing when `path` is a regular file (or a link to one); otherwise why
// not: the system's reason when it cannot be looked at, "is a directory" for
// a folder, or what kind of special file it is.
Status CheckRegularFile(const std::string& path);

// The error for a file of `mode` that is not a regular file or a folder.
Error NotRegularFileError(const std::string& name, mode_t mode);

}  // namespace fudeline
