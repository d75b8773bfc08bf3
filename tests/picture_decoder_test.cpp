#include "io/picture_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>

#include "io/png_writer.h"

namespace fudeline {
namespace {

const std::string kPictures = std::string(FUDELINE_SOURCE_DIR) + "/tests/data/pictures/";

std::string FileBytes(const std::string& name) {
    std::ifstream file(kPictures + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Every level of the left half near `left` and of the right half near `right`.
void ExpectHalves(const GreyPicture& picture, int left, int right, int tolerance) {
    ASSERT_EQ(picture.width, 16);
    ASSERT_EQ(picture.height, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_NEAR(picture.Level(x, y), x < 8 ? left : right, tolerance)
                << "at " << x << "," << y;
        }
    }
}

TEST(DecodePictureTest, EveryFormatGivesTheSameDrawing) {
    const struct {
        const char* file;
        int tolerance;
    } cases[] = {
        {"half.png", 0},       {"half.jpg", 12},      {"half.webp", 0},      {"half.gif", 0},
        {"half-24.bmp", 0},    {"half-32.bmp", 0},    {"half-8.bmp", 0},     {"half.pbm", 0},
        {"half.pgm", 0},       {"half.ppm", 0},       {"half-plain.pbm", 0}, {"half-plain.pgm", 0},
        {"half-plain.ppm", 0}, {"half-16bit.pgm", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto picture = DecodePicture(FileBytes(c.file));
        ASSERT_TRUE(picture) << picture.error().Message();
        ExpectHalves(*picture, 0, 255, c.tolerance);
    }
}

TEST(DecodePictureTest, TransparencyIsPaperAndColourIsLuma) {
    const auto transparent = DecodePicture(FileBytes("transparent-left.png"));
    ASSERT_TRUE(transparent) << transparent.error().Message();
    ExpectHalves(*transparent, 255, 0, 0);
    const auto red = DecodePicture(FileBytes("red-left.png"));
    ASSERT_TRUE(red) << red.error().Message();
    ExpectHalves(*red, 76, 255, 0);
}

// A BMP written here, for the variants converters rarely make: 32-bit bit
// fields, top-down rows.
std::string Bmp(int width, int height, int bits, std::uint32_t compression,
                const std::string& pixels) {
    std::string header(54 + (compression == 3 ? 12 : 0), '\0');
    auto put = [&](std::size_t at, std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) header[at + i] = static_cast<char>(v >> (8 * i));
    };
    header[0] = 'B';
    header[1] = 'M';
    put(2, static_cast<std::uint32_t>(header.size() + pixels.size()), 4);
    put(10, static_cast<std::uint32_t>(header.size()), 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, static_cast<std::uint32_t>(bits), 2);
    put(30, compression, 4);
    if (compression == 3) {
        put(54, 0x0000FF00, 4);  // red in the second byte
        put(58, 0x00FF0000, 4);
        put(62, 0xFF000000, 4);
    }
    return header + pixels;
}

TEST(DecodePictureTest, BmpBitFieldsAndTopDownRows) {
    // 2 x 2, top-down (negative height): row 0 is red then white, row 1 black then white.
    const std::string pixels = std::string("\x00\xFF\x00\x00\x00\xFF\xFF\xFF", 8) +
                               std::string("\x00\x00\x00\x00\x00\xFF\xFF\xFF", 8);
    const auto picture = DecodePicture(Bmp(2, -2, 32, 3, pixels));
    ASSERT_TRUE(picture) << picture.error().Message();
    EXPECT_EQ(picture->Level(0, 0), 76);
    EXPECT_EQ(picture->Level(1, 0), 255);
    EXPECT_EQ(picture->Level(0, 1), 0);
    EXPECT_EQ(picture->Level(1, 1), 255);
}

// A PNG whose header claims another size, with its checksum put right.
std::string WithPngSize(std::string png, std::uint32_t width, std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);  // "IHDR" and its data
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return png;
}

// A JPEG whose frame header claims another size (there is no checksum).
std::string WithJpegSize(std::string jpeg, std::uint16_t width, std::uint16_t height) {
    const std::size_t frame = jpeg.find("\xFF\xC0");
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width);
    return jpeg;
}

TEST(DecodePictureTest, HostileInputGivesAClearError) {
    const std::string png = FileBytes("half.png");
    std::string gif = FileBytes("half.gif");
    gif[6] = gif[7] = gif[8] = gif[9] = '\xFF';  // a 65535 x 65535 screen
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "not a picture"},
        {"text", "hello", "not a picture"},
        {"PNG bomb", WithPngSize(png, 100000, 100000), "too large"},
        {"PNG truncated in its pixels", png.substr(0, png.find("IDAT") + 8), "damaged"},
        {"JPEG bomb", WithJpegSize(FileBytes("half.jpg"), 65000, 65000), "too large"},
        {"JPEG truncated", FileBytes("half.jpg").substr(0, 120), "JPEG"},
        {"JPEG with no size", WithJpegSize(FileBytes("half.jpg"), 0, 0), "JPEG"},
        {"GIF bomb", gif, "too large"},
        {"GIF truncated", FileBytes("half.gif").substr(0, 30), "GIF"},
        {"WebP truncated", FileBytes("half.webp").substr(0, 30), "WebP"},
        {"BMP bomb", Bmp(100000, 100000, 24, 0, ""), "too large"},
        {"BMP truncated", FileBytes("half-24.bmp").substr(0, 200), "truncated"},
        {"BMP run-length", Bmp(2, 2, 8, 1, std::string(64, '\0')), "not supported"},
        {"PNM bomb", "P5 100000 100000 255\n", "too large"},
        {"PNM truncated", FileBytes("half.pgm").substr(0, 100), "truncated"},
        {"PNM no pixels", "P5 0 10 255\n", "no pixels"},
        {"PNM huge size", "P2 99999999999 1 255\n", "PNM header"},
        {"PNM zero maximum", "P2 1 1 0\n0", "PNM header"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = DecodePicture(c.bytes);
        ASSERT_FALSE(picture);
        EXPECT_NE(picture.error().reason.find(c.reason), std::string::npos)
            << picture.error().reason;
        EXPECT_EQ(picture.error().path, "");
    }
}

TEST(DecodePictureTest, ExtremeShapesDecode) {
    const struct {
        int width, height;
        std::uint8_t level;
    } cases[] = {{1, 1, 0}, {30000, 10, 255}, {10, 30000, 0}, {64, 64, 0}, {64, 64, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        GreyPicture picture{c.width, c.height, {}};
        picture.levels.assign(static_cast<std::size_t>(c.width) * c.height, c.level);
        const auto png = EncodeGreyPng(picture);
        ASSERT_TRUE(png) << png.error().Message();
        const auto decoded = DecodePicture(*png);
        ASSERT_TRUE(decoded) << decoded.error().Message();
        EXPECT_EQ(decoded->width, c.width);
        EXPECT_EQ(decoded->height, c.height);
        EXPECT_EQ(decoded->levels, picture.levels);
    }
}

TEST(ReadPictureTest, NamesThePathAndWhatIsWrong) {
    const struct {
        std::string path, reason;
    } cases[] = {
        {kPictures + "no-such-file.png", "No such file or directory"},
        {FUDELINE_SOURCE_DIR "/README.md", "not a picture in a known format"},
        {kPictures + "half.gif", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto picture = ReadPicture(c.path);
        if (c.reason.empty()) {
            ASSERT_TRUE(picture) << picture.error().Message();
            ExpectHalves(*picture, 0, 255, 0);
            continue;
        }
        ASSERT_FALSE(picture);
        EXPECT_EQ(picture.error().path, c.path);
        EXPECT_NE(picture.error().reason.find(c.reason), std::string::npos)
            << picture.error().reason;
    }
}

}  // namespace
}  // namespace fudeline
