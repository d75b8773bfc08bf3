#include "cli/post_report.h"

#include <vector>

#include "export/boards.h"

namespace fudeline::cli {
namespace {

std::string Measure(std::int64_t value, std::int64_t limit) {
    return limit > 0 ? std::to_string(value) + "/" + std::to_string(limit) : std::to_string(value);
}

}  // namespace

std::string DescribePostCount(const std::string& board, const PostCount& count,
                              const BoardLimits& limits) {
    std::string text = "post for " + board + ": " + Measure(count.bytes, limits.maxBytes) +
                       " bytes, " + Measure(count.lines, limits.maxLines) +
                       " lines, longest line " + Measure(count.longestLine, limits.maxLineBytes) +
                       " bytes";
    std::vector<const char*> over;
    if (count.overBytes) over.push_back("bytes");
    if (count.overLines) over.push_back("lines");
    if (count.overLineBytes) over.push_back("longest line");
    for (std::size_t i = 0; i < over.size(); ++i) {
        text += i == 0 ? "; over the limit: " : ", ";
        text += over[i];
    }
    return text;
}

std::string DescribeBoards() {
    std::string text;
    for (const BoardProfile& board : kBoardProfiles) {
        std::vector<std::string> limits;
        const BoardLimits& limit = board.limits;
        if (limit.maxBytes > 0) limits.push_back(std::to_string(limit.maxBytes) + " bytes");
        if (limit.maxLines > 0) limits.push_back(std::to_string(limit.maxLines) + " lines");
        if (limit.maxLineBytes > 0)
            limits.push_back(std::to_string(limit.maxLineBytes) + " bytes a line");
        if (limits.empty()) limits.push_back("no limits");
        if (!text.empty()) text += "; ";
        text += std::string(board.name) + ": " + limits.front();
        for (std::size_t i = 1; i < limits.size(); ++i) text += ", " + limits[i];
    }
    return text;
}

std::string BoardNames(std::string_view separator) {
    std::string names;
    for (const BoardProfile& board : kBoardProfiles) {
        if (!names.empty()) names += separator;
        names += board.name;
    }
    return names;
}

}  // namespace fudeline::cli
