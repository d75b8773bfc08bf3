// Where the running program lies, and the data files that travel with it.
#pragma once

#include <string>
#include <vector>

#include "errors/result.h"

namespace fudeline {

// Directory of the running executable, ending with '/'; empty if unknown.
std::string ExecutableDirectory();

// Directories to look in for the catalogue and the font, in order: the
// executable's own, then the installed data directory beside it.
std::vector<std::string> DataDirectories();

// The first of `DataDirectories()` that holds `fileName`; when none does, the
// error names the file and every directory that was searched.
Result<std::string> LocateDataDirectory(const std::string& fileName);

}  // namespace fudeline
