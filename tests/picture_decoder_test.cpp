#include "io/picture_decoder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <fstream>

#include "io/colour_picture.h"
#include "io/library_pixels.h"
#include "io/png_writer.h"
#include "test_pictures.h"

namespace fudeline {
namespace {

using testing::kPictures;
using testing::PictureBytes;

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
        {"half.png", 0},
        {"half.jpg", 12},
        {"half.webp", 0},
        {"half.gif", 0},
        {"half-24.bmp", 0},
        {"half-32.bmp", 0},
        {"half-8.bmp", 0},
        {"half.pbm", 0},
        {"half.pgm", 0},
        {"half.ppm", 0},
        {"half-plain.pbm", 0},
        {"half-plain.pgm", 0},
        {"half-plain.ppm", 0},
        {"half-16bit.pgm", 0},
        // PNG's other layouts, each through its own transformation or pass order.
        {"half-interlaced.png", 0},
        {"half-16bit.png", 0},
        {"half-grey-2bit.png", 0},
        {"half-palette.png", 0},
        // Greyscale BMPs as ImageMagick writes them: run-length encoded.
        {"half-rle8.bmp", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto picture = DecodePicture(PictureBytes(c.file), LibraryPixels());
        ASSERT_TRUE(picture) << picture.error().Message();
        ExpectHalves(*picture, 0, 255, c.tolerance);
    }
}

TEST(DecodePictureTest, TransparencyIsPaperAndColourIsLuma) {
    const auto transparent = DecodePicture(PictureBytes("transparent-left.png"), LibraryPixels());
    ASSERT_TRUE(transparent) << transparent.error().Message();
    ExpectHalves(*transparent, 255, 0, 0);
    const auto interlaced =
        DecodePicture(PictureBytes("transparent-left-interlaced.png"), LibraryPixels());
    ASSERT_TRUE(interlaced) << interlaced.error().Message();
    ExpectHalves(*interlaced, 255, 0, 0);
    const auto red = DecodePicture(PictureBytes("red-left.png"), LibraryPixels());
    ASSERT_TRUE(red) << red.error().Message();
    ExpectHalves(*red, 76, 255, 0);
}

// A BMP written here, for the variants converters rarely make: 32-bit bit
// fields, top-down rows.
std::string Bmp(int width, int height, int bits, std::uint32_t compression,
                const std::string& pixels, const std::string& palette = "") {
    std::string header(54 + (compression == 3 ? 12 : 0), '\0');
    header += palette;
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
    put(46, static_cast<std::uint32_t>(palette.size() / 4), 4);
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
    const auto picture = DecodePicture(Bmp(2, -2, 32, 3, pixels), LibraryPixels());
    ASSERT_TRUE(picture) << picture.error().Message();
    EXPECT_EQ(picture->Level(0, 0), 76);
    EXPECT_EQ(picture->Level(1, 0), 255);
    EXPECT_EQ(picture->Level(0, 1), 0);
    EXPECT_EQ(picture->Level(1, 1), 255);
}

// Four grey levels as a BMP colour table: index i is level 85 i.
const std::string kFourGreys("\x00\x00\x00\x00\x55\x55\x55\x00\xAA\xAA\xAA\x00\xFF\xFF\xFF\x00",
                             16);

// The levels of a decoded picture as digits 0-3 (level / 85), row after row.
std::string Digits(const GreyPicture& picture) {
    std::string digits;
    for (int y = 0; y < picture.height; ++y) {
        if (y > 0) digits += '/';
        for (int x = 0; x < picture.width; ++x) {
            digits += static_cast<char>('0' + picture.Level(x, y) / 85);
        }
    }
    return digits;
}

TEST(DecodePictureTest, BmpRunLengthEncoding) {
    // Rows are stored bottom-up; skipped pixels stay paper (3).
    const struct {
        const char* name;
        int width, height, bits;
        std::uint32_t compression;
        std::string runs;
        const char* levels;
    } cases[] = {
        {"RLE8 runs and rows", 4, 2, 8, 1, std::string("\x04\x01\x00\x00\x02\x02\x00\x01", 8),
         "2233/1111"},
        {"RLE8 literal, padded", 4, 1, 8, 1, std::string("\x00\x03\x00\x01\x02\x00\x00\x01", 8),
         "0123"},
        {"RLE8 move right and up", 4, 2, 8, 1, std::string("\x00\x02\x01\x01\x01\x00\x00\x01", 8),
         "3033/3333"},
        {"RLE8 run past the row end is cut", 3, 2, 8, 1,
         std::string("\xFF\x00\x00\x00\x01\x01\x00\x01", 8), "133/000"},
        {"RLE8 without the end mark after the last row", 2, 1, 8, 1,
         std::string("\x02\x00\x00\x00", 4), "00"},
        {"RLE4 runs alternate two indices", 5, 1, 4, 2, std::string("\x05\x12\x00\x01", 4),
         "12121"},
        {"RLE4 literal of odd length", 3, 1, 4, 2, std::string("\x00\x03\x01\x20\x00\x01", 6),
         "012"},
        {"RLE top-down rows", 2, -2, 8, 1, std::string("\x02\x00\x00\x00\x02\x02\x00\x01", 8),
         "00/22"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = DecodePicture(
            Bmp(c.width, c.height, c.bits, c.compression, c.runs, kFourGreys), LibraryPixels());
        ASSERT_TRUE(picture) << picture.error().Message();
        EXPECT_EQ(Digits(*picture), c.levels);
    }
}

// A GIF of four greys (index i is level 85 i) on a `screenWidth` x
// `screenHeight` screen, its frame `width` x `height` at `top`. Each pixel is
// its own code, with a clear code after every two so codes stay 3 bits wide.
std::string Gif(int screenWidth, int screenHeight, int width, int height, int top,
                const std::vector<int>& pixels) {
    std::string gif = "GIF89a";
    auto le16 = [&gif](int v) {
        gif.push_back(static_cast<char>(v & 0xFF));
        gif.push_back(static_cast<char>(v >> 8));
    };
    le16(screenWidth);
    le16(screenHeight);
    gif.append("\x81\x00\x00", 3);
    for (int i = 0; i < 4; ++i) gif.append(3, static_cast<char>(85 * i));
    gif.push_back(',');
    le16(0);
    le16(top);
    le16(width);
    le16(height);
    gif.append("\x00\x02", 2);
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8) data += static_cast<char>(bits & 0xFF);
    };
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0) put(4);
        put(pixels[i]);
    }
    put(5);
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::string block = data.substr(i, 255);
        gif.push_back(static_cast<char>(block.size()));
        gif.append(block);
    }
    gif.append("\x00;", 2);
    return gif;
}

TEST(DecodePictureTest, GifFramesAreCutToTheScreen) {
    // A 3 x 4 frame on a 2 x 2 screen, one row down: its first row shows, cut
    // to two pixels; the rows below the screen need no data at all.
    const auto picture = DecodePicture(Gif(2, 2, 3, 4, 1, {0, 1, 2}), LibraryPixels());
    ASSERT_TRUE(picture) << picture.error().Message();
    EXPECT_EQ(Digits(*picture), "33/01");
    const auto whole = DecodePicture(Gif(3, 2, 3, 2, 0, {0, 1, 2, 2, 1, 0}), LibraryPixels());
    ASSERT_TRUE(whole) << whole.error().Message();
    EXPECT_EQ(Digits(*whole), "012/210");
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

// A JPEG whose frame header (baseline or progressive) claims another size
// (there is no checksum).
std::string WithJpegSize(std::string jpeg, std::uint16_t width, std::uint16_t height) {
    std::size_t frame = jpeg.find("\xFF\xC0");
    if (frame == std::string::npos) frame = jpeg.find("\xFF\xC2");
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width);
    return jpeg;
}

// The first `keep` bytes of the entropy-coded data of a JPEG, then its end
// marker: a file cut short that still ends as a whole one does.
std::string CutJpeg(const std::string& jpeg, std::size_t keep) {
    const std::size_t scan = jpeg.find("\xFF\xDA");
    const std::size_t data = scan + 2 + (static_cast<std::uint8_t>(jpeg[scan + 2]) << 8) +
                             static_cast<std::uint8_t>(jpeg[scan + 3]);
    return jpeg.substr(0, data + keep) + "\xFF\xD9";
}

TEST(DecodePictureTest, HostileInputGivesAClearError) {
    const std::string png = PictureBytes("half.png");
    std::string gif = PictureBytes("half.gif");
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
        {"JPEG bomb", WithJpegSize(PictureBytes("half.jpg"), 65000, 65000), "too large"},
        {"JPEG truncated", PictureBytes("half.jpg").substr(0, 120), "JPEG"},
        {"JPEG with no size", WithJpegSize(PictureBytes("half.jpg"), 0, 0), "JPEG"},
        {"JPEG cut, with an end marker", CutJpeg(PictureBytes("half.jpg"), 1), "damaged"},
        {"JPEG claiming more rows than its data", WithJpegSize(PictureBytes("half.jpg"), 16, 64),
         "premature end"},
        // Progressive CMYK keeps 8 bytes a pixel of coefficients: 512 MB here.
        {"JPEG progressive CMYK needing more memory than allowed",
         WithJpegSize(PictureBytes("cmyk-progressive.jpg"), 8000, 8000), "too much memory"},
        {"GIF bomb", gif, "too large"},
        {"GIF frame bomb on a small screen", Gif(100, 100, 65535, 65535, 0, {0, 1}), "too large"},
        {"GIF frame cut short on the screen", Gif(2, 2, 2, 2, 0, {0, 1, 2}), "GIF"},
        {"GIF truncated", PictureBytes("half.gif").substr(0, 30), "GIF"},
        {"WebP truncated", PictureBytes("half.webp").substr(0, 30), "WebP"},
        {"BMP bomb", Bmp(100000, 100000, 24, 0, ""), "too large"},
        {"BMP truncated", PictureBytes("half-24.bmp").substr(0, 200), "truncated"},
        {"BMP compressed as JPEG", Bmp(2, 2, 24, 4, std::string(64, '\0')), "not supported"},
        {"BMP RLE8 of 4-bit pixels", Bmp(2, 2, 4, 1, std::string(64, '\0')), "damaged"},
        {"BMP RLE without the end mark", Bmp(2, 2, 8, 1, std::string("\x02\x00", 2)), "truncated"},
        {"BMP RLE literal past the data", Bmp(8, 1, 8, 1, std::string("\x00\x08\x00", 3)),
         "truncated"},
        {"BMP RLE move past the data", Bmp(8, 1, 8, 1, std::string("\x00\x02\x01", 3)),
         "truncated"},
        {"PNM bomb", "P5 100000 100000 255\n", "too large"},
        {"PNM truncated", PictureBytes("half.pgm").substr(0, 100), "truncated"},
        {"PNM no pixels", "P5 0 10 255\n", "no pixels"},
        {"PNM huge size", "P2 99999999999 1 255\n", "PNM header"},
        {"PNM zero maximum", "P2 1 1 0\n0", "PNM header"},
    };
    // PNG, JPEG and WebP are also traced in colour, shrunk on decoding when
    // shown small: that decoder must refuse each of them as the grey one does.
    const std::function<double(int, int)> shownScales[] = {{}, [](int, int) { return 0.1; }};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = DecodePicture(c.bytes, LibraryPixels());
        ASSERT_FALSE(picture);
        EXPECT_NE(picture.error().Reason().find(c.reason), std::string::npos)
            << picture.error().Reason();
        EXPECT_EQ(picture.error().path, "");
        if (!HasColourDecoder(c.bytes)) continue;
        for (const auto& shownScale : shownScales) {
            SCOPED_TRACE(shownScale ? "in colour, shown at 10 %" : "in colour");
            const auto colour = DecodeColourPicture(c.bytes, LibraryPixels(), shownScale);
            EXPECT_FALSE(colour);
            if (colour) continue;
            EXPECT_NE(colour.error().Reason().find(c.reason), std::string::npos)
                << colour.error().Reason();
            EXPECT_EQ(colour.error().path, "");
        }
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
        const auto decoded = DecodePicture(*png, LibraryPixels());
        ASSERT_TRUE(decoded) << decoded.error().Message();
        EXPECT_EQ(decoded->width, c.width);
        EXPECT_EQ(decoded->height, c.height);
        EXPECT_EQ(decoded->levels, picture.levels);
    }
}

// The private data this process holds now, in bytes: what earlier tests left
// in the allocator's keeping counts against a limit too.
rlim_t DataInUse() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages[6] = {};
    for (auto& value : pages) statm >> value;
    return static_cast<rlim_t>(pages[5]) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Decodes `bytes` in a child process whose data may not grow by more than
// `limit` bytes, so an allocation beyond it fails there; true when it decoded.
template <typename Decode>
bool DecodesWithin(const std::string& bytes, rlim_t limit, Decode decode) {
    const pid_t child = fork();
    if (child == 0) {
        const rlim_t total = DataInUse() + limit;
        const rlimit data{total, total};
        if (setrlimit(RLIMIT_DATA, &data) != 0) _exit(3);
        try {
            _exit(decode(bytes) ? 0 : 1);
        } catch (...) {
            _exit(2);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(DecodePictureTest, PictureAtTheSizeLimitTakesLittleMoreThanItsGreyLevels) {
    // 8000 x 8000 in 17 KB: 64 MB of grey levels, and no RGBA copy (256 MB).
    const std::string png = PictureBytes("white-8000.png");
    EXPECT_TRUE(DecodesWithin(png, rlim_t{80} << 20, [](std::string_view bytes) {
        return DecodePicture(bytes, LibraryPixels()).has_value();
    }));
    // In colour: 192 MB of RGB samples, and no RGBA copy (256 MB) beside them.
    EXPECT_TRUE(DecodesWithin(png, rlim_t{208} << 20, [](std::string_view bytes) {
        return DecodeColourPicture(bytes, LibraryPixels()).has_value();
    }));
}

}  // namespace
}  // namespace fudeline
