#include "io/picture_header.h"

#include <gtest/gtest.h>

#include <string>

#include "io/library_pixels.h"
#include "test_pictures.h"

namespace fudeline {
namespace {

using testing::PictureBytes;

// The header gives what the libraries then decode: every variant of each
// format a pixel source decodes, and the formats the core decodes itself
// with no size read ahead.
TEST(ReadPictureHeader, GivesTheFormatAndTheSizeTheLibrariesDecode) {
    const struct {
        const char* file;
        PictureFormat format;
        std::uint32_t width, height;
    } cases[] = {
        {"half.png", PictureFormat::Png, 16, 8},
        {"half-interlaced.png", PictureFormat::Png, 16, 8},
        {"half.jpg", PictureFormat::Jpeg, 16, 8},
        {"cmyk-progressive.jpg", PictureFormat::Jpeg, 32, 16},
        {"half.webp", PictureFormat::Webp, 16, 8},              // lossless (VP8L)
        {"half-lossy.webp", PictureFormat::Webp, 16, 8},        // lossy (VP8)
        {"transparent-left.webp", PictureFormat::Webp, 16, 8},  // extended (VP8X)
        {"half.gif", PictureFormat::Gif, 16, 8},
        {"half-24.bmp", PictureFormat::Bmp, 0, 0},
        {"half.pgm", PictureFormat::Pnm, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = PictureBytes(c.file);
        const Result<PictureHeader> header = ReadPictureHeader(bytes);
        ASSERT_TRUE(header) << header.error().Reason();
        EXPECT_EQ(header->format, c.format);
        EXPECT_EQ(header->width, c.width);
        EXPECT_EQ(header->height, c.height);
        EXPECT_EQ(DecodedByPixelSource(c.format), c.width > 0);
        if (!DecodedByPixelSource(c.format)) continue;
        // The library refuses a file whose header it reads otherwise, so
        // its decoding the file with this header is the agreement.
        const bool libraryReads =
            c.format == PictureFormat::Jpeg
                ? LibraryPixels().ReadJpeg(bytes, *header, JpegChannels::kRgb, 1).has_value()
                : LibraryPixels().ReadRgba(bytes, *header, [](const RgbaRowPart&) {}).has_value();
        EXPECT_TRUE(libraryReads);
    }
}

TEST(ReadPictureHeader, RefusesWhatItsHeaderAloneShowsUnreadable) {
    std::string animated = PictureBytes("transparent-left.webp");
    animated[20] = static_cast<char>(animated[20] | 0x02);  // the VP8X animation flag
    std::string noWidth = PictureBytes("half.png");
    noWidth[16] = noWidth[17] = noWidth[18] = noWidth[19] = '\0';
    std::string jpegNoHeight = PictureBytes("half.jpg");
    const std::size_t frame = jpegNoHeight.find("\xFF\xC0");
    jpegNoHeight[frame + 5] = jpegNoHeight[frame + 6] = '\0';
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"nothing", "", "not a picture"},
        {"text", "hello", "not a picture"},
        {"PNG signature alone", "\x89PNG\r\n\x1A\n", "PNG"},
        {"PNG without width", noWidth, "PNG"},
        {"JPEG ending before its frame header", "\xFF\xD8\xFF\xD9", "JPEG"},
        {"JPEG scan before its frame header",
         std::string("\xFF\xD8\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 12), "JPEG"},
        {"JPEG of no height (DNL)", jpegNoHeight, "JPEG"},
        {"WebP cut in its chunk header", PictureBytes("half.webp").substr(0, 20), "WebP"},
        {"WebP animated", animated, "animated"},
        {"GIF cut in its screen size", "GIF89a\x10", "GIF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<PictureHeader> header = ReadPictureHeader(c.bytes);
        ASSERT_FALSE(header);
        EXPECT_NE(header.error().Reason().find(c.reason), std::string::npos)
            << header.error().Reason();
    }
}

}  // namespace
}  // namespace fudeline
