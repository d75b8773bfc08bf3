#include "trace/small_mark_removal.h"

#include <gtest/gtest.h>

#include "ascii_mask.h"

namespace fudeline {
namespace {

using testing::MaskFromText;
using testing::TextFromMask;

TEST(RemoveSmallMarksTest, DropsOnlyComponentsBelowTheSize) {
    const struct {
        const char* name;
        int minPixels;
        std::vector<std::string> in, out;
    } cases[] = {
        {"a dot goes, a line stays", 3, {"#....", ".....", ".###."}, {".....", ".....", ".###."}},
        {"diagonal pixels are one component",
         3,
         {"#....", ".#...", "..#.."},
         {"#....", ".#...", "..#.."}},
        {"exactly the size stays", 3, {"##...", "#....", "....."}, {"##...", "#....", "....."}},
        {"everything below the size goes",
         10,
         {"##.##", ".....", "###.."},
         {".....", ".....", "....."}},
        {"a size of one keeps all", 1, {"#.#.#", ".....", "#...#"}, {"#.#.#", ".....", "#...#"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat ink = MaskFromText(c.in);
        RemoveSmallMarks(ink, c.minPixels);
        EXPECT_EQ(TextFromMask(ink), c.out);
    }
}

}  // namespace
}  // namespace fudeline
