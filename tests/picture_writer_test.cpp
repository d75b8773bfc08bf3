#include "io/picture_writer.h"

#include <gtest/gtest.h>

#include "io/ink_image.h"
#include "io/picture_decoder.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

TEST(EncodeInkPngTest, ReadsBackAsTheSameInk) {
    Image ink(kCanvasWidth, kInkHeight);
    ink.SetPixel(0, 0, kBlack);
    ink.SetPixel(798, 463, kBlack);
    ink.SetPixel(400, 200, kBlack);
    ink.SetPixel(401, 200, 0x010101);  // almost black is not ink
    const auto png = EncodeInkPng(ink);
    ASSERT_TRUE(png) << png.error().Message();
    const auto read = DecodeInkImage(*png, kCanvasWidth, kInkHeight);
    ASSERT_TRUE(read) << read.error().Message();
    Image expected(kCanvasWidth, kInkHeight);
    expected.SetPixel(0, 0, kBlack);
    expected.SetPixel(798, 463, kBlack);
    expected.SetPixel(400, 200, kBlack);
    EXPECT_TRUE(*read == expected);
}

TEST(EncodeGreyPngTest, KeepsEveryLevel) {
    GreyPicture picture{256, 3, {}};
    for (int i = 0; i < 3 * 256; ++i) picture.levels.push_back(static_cast<std::uint8_t>(i));
    const auto png = EncodeGreyPng(picture);
    ASSERT_TRUE(png) << png.error().Message();
    const auto decoded = DecodePicture(*png);
    ASSERT_TRUE(decoded) << decoded.error().Message();
    EXPECT_EQ(decoded->levels, picture.levels);
}

}  // namespace
}  // namespace fudeline
