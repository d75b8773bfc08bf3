#include "io/picture_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
    std::string error;
    const auto png = EncodeInkPng(ink, &error);
    ASSERT_TRUE(png) << error;
    const auto path = std::filesystem::temp_directory_path() / "fudeline-ink-test.png";
    ASSERT_TRUE(WriteFileBytes(path, *png, &error)) << error;
    const auto read = ReadInkImage(path, kCanvasWidth, kInkHeight, &error);
    std::filesystem::remove(path);
    ASSERT_TRUE(read) << error;
    Image expected(kCanvasWidth, kInkHeight);
    expected.SetPixel(0, 0, kBlack);
    expected.SetPixel(798, 463, kBlack);
    expected.SetPixel(400, 200, kBlack);
    EXPECT_TRUE(*read == expected);
}

TEST(EncodeGreyPngTest, KeepsEveryLevel) {
    GreyPicture picture{256, 3, {}};
    for (int i = 0; i < 3 * 256; ++i) picture.levels.push_back(static_cast<std::uint8_t>(i));
    std::string error;
    const auto png = EncodeGreyPng(picture, &error);
    ASSERT_TRUE(png) << error;
    const auto decoded = DecodePicture(*png, &error);
    ASSERT_TRUE(decoded) << error;
    EXPECT_EQ(decoded->levels, picture.levels);
}

TEST(WriteFileBytesTest, ReplacesWholeOrLeavesNothing) {
    const auto dir = std::filesystem::temp_directory_path() / "fudeline-write-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directory(dir);
    const auto path = (dir / "out.png").string();
    std::string error;
    ASSERT_TRUE(WriteFileBytes(path, "first, longer contents", &error)) << error;
    ASSERT_TRUE(WriteFileBytes(path, "second", &error)) << error;
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "second");

    // Into a folder that does not exist, and over a folder: an error, no stray file.
    EXPECT_FALSE(WriteFileBytes((dir / "missing" / "out.png").string(), "x", &error));
    EXPECT_FALSE(error.empty());
    std::filesystem::create_directory(dir / "taken");
    error.clear();
    EXPECT_FALSE(WriteFileBytes((dir / "taken").string(), "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.part"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace fudeline
