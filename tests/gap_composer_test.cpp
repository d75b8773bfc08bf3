#include "text/gap_composer.h"

#include <gtest/gtest.h>

namespace fudeline {
namespace {

// Width of a composed string, counted with the widths the piece table uses.
int Width(const std::string& s) {
    int w = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        switch (static_cast<unsigned char>(s[i])) {
            case 0x81:
                w += 11;
                ++i;
                break;
            case 0x20:
                w += 5;
                break;
            case 0x2E:
                w += 3;
                break;
            case 0xDE:
                w += 4;
                break;
            case 0xA4:
                w += 7;
                break;
            default:
                ADD_FAILURE() << "unexpected byte " << int(s[i]);
        }
    }
    return w;
}

const std::string F = "\x81\x40";  // full-width space

TEST(ComposeGap, WorkedExamples) {
    const std::pair<int, std::string> cases[] = {
        {0, ""},
        {1, ""},
        {2, ""},
        {3, "."},
        {5, " "},
        {11, F},
        {12, "...."},
        {13, " . "},
        {16, F + " "},
        {22, F + F},
        {23, F + "...."},
        {24, F + " . "},
        {27, F + F + " "},
        {30, F + " " + F + "."},
        {31, F + "." + F + ".."},
        {35, F + " " + F + ". "},
        {43, F + F + "." + F + "\xA4"},
        {57, F + F + " " + F + "." + F + " "},
    };
    for (const auto& [width, expected] : cases) {
        EXPECT_EQ(ComposeGap(width), expected) << "width " << width;
    }
    std::string w800;
    for (int i = 0; i < 36; ++i) w800 += F;
    w800 += " ";
    for (int i = 0; i < 36; ++i) w800 += F;
    w800 += ".";
    EXPECT_EQ(ComposeGap(800), w800);
}

TEST(ComposeGap, FillsEveryWidthFromThreeExactly) {
    for (int width = 3; width <= 2000; ++width) {
        const std::string s = ComposeGap(width);
        EXPECT_EQ(Width(s), width) << "width " << width;
        if (width % 11 == 0) {
            EXPECT_EQ(s.size(), static_cast<std::size_t>(width / 11) * 2);
        } else {
            // Only a remainder of 0 ends with a full-width space.
            EXPECT_NE(static_cast<unsigned char>(s[s.size() - 2]), 0x81) << "width " << width;
        }
        const bool leadingHalfSpace = s[0] == ' ';
        EXPECT_EQ(leadingHalfSpace, width == 5 || width == 8 || width == 13) << width;
    }
}

TEST(ComposeGap, NegativeWidthGivesNothing) {
    EXPECT_EQ(ComposeGap(-7), "");
}

}  // namespace
}  // namespace fudeline
