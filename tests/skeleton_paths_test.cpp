#include "trace/skeleton_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ascii_mask.h"

namespace fudeline {
namespace {

using testing::MaskFromText;

struct PathCase {
    const char* name;
    std::vector<std::string> skeleton;
    std::vector<std::size_t> pathLengths;  // sorted
    int closedPaths;
};

TEST(TraceSkeletonPathsTest, WalksLinesLoopsAndJunctions) {
    const PathCase cases[] = {
        {"a straight line, end to end", {".....", ".###.", "....."}, {3}, 0},
        {"a diagonal", {"#...", ".#..", "..#.", "...#"}, {4}, 0},
        {"a lone pixel", {"...", ".#.", "..."}, {1}, 0},
        {"a loop with no ends", {".###.", "#...#", "#...#", ".###."}, {11}, 1},
        // The four pixels where the arms meet all have three or more
        // neighbours: they are joined pairwise, and the stem runs to them.
        {"a T", {"#####", "..#..", "..#..", "..#.."}, {2, 2, 2, 2, 2, 2, 2, 3}, 0},
        {"a bend", {"##.", "..#", "..#"}, {4}, 0},
        {"two separate lines", {"###..", ".....", "..###"}, {3, 3}, 0},
        {"nothing", {"...", "..."}, {}, 0},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        const cv::Mat skeleton = MaskFromText(c.skeleton);
        const auto paths = TraceSkeletonPaths(skeleton);
        std::vector<std::size_t> lengths;
        int closed = 0;
        cv::Mat covered = cv::Mat::zeros(skeleton.size(), CV_8UC1);
        for (const auto& path : paths) {
            lengths.push_back(path.size());
            if (path.size() > 1 && path.front() == path.back()) ++closed;
            for (std::size_t i = 0; i < path.size(); ++i) {
                ASSERT_TRUE(skeleton.at<std::uint8_t>(path[i])) << "a path leaves the skeleton";
                covered.at<std::uint8_t>(path[i]) = 255;
                if (i > 0) {
                    const cv::Point step = path[i] - path[i - 1];
                    EXPECT_LE(std::max(std::abs(step.x), std::abs(step.y)), 1) << "a path jumps";
                }
            }
        }
        std::sort(lengths.begin(), lengths.end());
        EXPECT_EQ(lengths, c.pathLengths);
        EXPECT_EQ(closed, c.closedPaths);
        EXPECT_EQ(cv::countNonZero(covered != skeleton), 0) << "a pixel no path covers";
    }
}

}  // namespace
}  // namespace fudeline
