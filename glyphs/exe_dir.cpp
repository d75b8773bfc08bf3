#include "glyphs/exe_dir.h"
#include "glyphs/glyphs_errors.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fudeline {

std::string ExecutableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

std::vector<std::string> DataDirectories() {
    const std::string exeDir = ExecutableDirectory();
    if (exeDir.empty()) return {"./"};
    return {exeDir, exeDir + "../share/fudeline/"};
}

Result<std::string> LocateDataDirectory(const std::string& fileName) {
    std::string searched;
    for (const auto& dir : DataDirectories()) {
        std::error_code ec;
        if (std::filesystem::exists(dir + fileName, ec)) return dir;
        searched += (searched.empty() ? "" : ", ") + dir;
    }
    return Error{fileName, kinds::DataFileNotFound, searched};
}

}  // namespace fudeline
