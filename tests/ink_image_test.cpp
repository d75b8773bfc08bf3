#include "io/ink_image.h"

#include <gtest/gtest.h>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

TEST(DecodePbm, PlainAndBinaryGiveTheSameInk) {
    std::string error;
    const auto plain =
        DecodePbm("P1\n# comment\n10 2\n0 1 0 0 0 0 0 0 0 1\n1000000000", 799, 464, &error);
    ASSERT_TRUE(plain) << error;
    const std::string bits = std::string("P4\n10 2\n\x40\x40\x80\x00", 12);
    const auto binary = DecodePbm(bits, 799, 464, &error);
    ASSERT_TRUE(binary) << error;
    EXPECT_EQ(*plain, *binary);
    EXPECT_EQ(plain->Pixel(1, 0), kBlack);
    EXPECT_EQ(plain->Pixel(9, 0), kBlack);
    EXPECT_EQ(plain->Pixel(0, 1), kBlack);
    EXPECT_EQ(plain->Pixel(0, 0), kWhite);
}

TEST(DecodePbm, KeepsOnlyTheInkArea) {
    const auto image = DecodePbm("P1 1000 1 " + std::string(1000, '1'), 799, 464, nullptr);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 799);
}

TEST(DecodePbm, RejectsMalformedInput) {
    const char* bad[] = {"",
                         "P2\n1 1\n0",
                         "P1\n",
                         "P1 2 2 1 1 1",
                         "P1 1 1 7",
                         "P4\n16 2\n\x01",
                         "P1 99999999999 1 1",
                         "P4 3 3"};
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(DecodePbm(text, 799, 464, &error)) << text;
        EXPECT_FALSE(error.empty());
    }
}

TEST(DecodePbm, HugeDeclaredSizeWithLittleDataFailsFast) {
    std::string error;
    EXPECT_FALSE(DecodePbm("P1 2000000000 2000000000 1 0 1", 799, 464, &error));
    EXPECT_FALSE(DecodePbm("P4 2000000000 2000000000\n\xFF", 799, 464, &error));
}

TEST(DecodePng, RejectsGarbage) {
    std::string error;
    EXPECT_FALSE(DecodePng("\x89PNG\r\n\x1A\nnot really", 799, 464, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace fudeline
