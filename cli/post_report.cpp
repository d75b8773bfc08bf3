#include "cli/post_report.h"

#include <vector>

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

}  // namespace fudeline::cli
