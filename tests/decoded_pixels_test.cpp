#include "io/decoded_pixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/colour_picture.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "test_pictures.h"

namespace fudeline {
namespace {

using testing::PictureBytes;

// What another decoder hands over for `bytes`: the whole picture as RGBA,
// here the libraries' own pixels, however they arrived (interlaced passes,
// a GIF frame on its screen).
DecodedPixels WholeRgba(std::string_view bytes) {
    const PictureHeader header = ReadPictureHeader(bytes).value();
    std::vector<std::uint8_t> rgba(std::size_t{header.width} * header.height * 4, 0);
    const Status read = LibraryPixels().ReadRgba(bytes, header, [&](const RgbaRowPart& part) {
        for (std::uint32_t i = 0; i < part.count; ++i) {
            const std::size_t x = part.firstX + i * part.stepX;
            std::copy_n(part.rgba + i * 4, 4, &rgba[(part.y * std::size_t{header.width} + x) * 4]);
        }
    });
    EXPECT_TRUE(read);
    return DecodedPixels(header.width, header.height, std::move(rgba));
}

// A JPEG as another decoder hands it over at `reduction`: libjpeg's RGB.
DecodedPixels JpegRgba(std::string_view bytes, int reduction) {
    const PictureHeader header = ReadPictureHeader(bytes).value();
    const JpegSamples rgb =
        LibraryPixels().ReadJpeg(bytes, header, JpegChannels::kRgb, reduction).value();
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < rgb.samples.size(); i += 3) {
        rgba.insert(rgba.end(), {rgb.samples[i], rgb.samples[i + 1], rgb.samples[i + 2], 255});
    }
    return DecodedPixels(rgb.width, rgb.height, std::move(rgba));
}

// The page's pictures are the desktop's when its decoder's pixels are the
// libraries': the core does the rest (grey, colour, transparency on paper)
// the one way, whichever source the pixels came from.
TEST(DecodedPixels, GiveTheLibrariesPicturesFromTheSamePixels) {
    for (const char* file : {"half.png", "half-interlaced.png", "half-palette.png",
                             "transparent-left.png", "transparent-left-interlaced.png", "half.webp",
                             "half-lossy.webp", "transparent-left.webp", "half.gif"}) {
        SCOPED_TRACE(file);
        const std::string bytes = PictureBytes(file);
        const DecodedPixels decoded = WholeRgba(bytes);
        const Result<GreyPicture> grey = DecodePicture(bytes, decoded);
        ASSERT_TRUE(grey) << grey.error().Reason();
        EXPECT_EQ(grey->levels, DecodePicture(bytes, LibraryPixels()).value().levels);
        if (!HasColourDecoder(bytes)) continue;
        const Result<ColourPicture> colour = DecodeColourPicture(bytes, decoded);
        ASSERT_TRUE(colour) << colour.error().Reason();
        EXPECT_EQ(colour->rgb, DecodeColourPicture(bytes, LibraryPixels()).value().rgb);
    }
}

// A JPEG shown small is asked for smaller (TracingPixelRequest); pixels
// handed over at that size are taken as they are, at the stored size they
// are shrunk by averaging, at any other size refused.
TEST(DecodedPixels, JpegAtTheSizeAskedOrShrunkFromTheStoredSize) {
    const std::string jpeg = PictureBytes("half.jpg");  // 16 x 8
    const ShownScale quarter = [](int, int) { return 0.25; };
    const PixelRequest request = TracingPixelRequest(jpeg, quarter).value();
    EXPECT_EQ(request.width, 4u);
    EXPECT_EQ(request.height, 2u);
    EXPECT_EQ(request.reduction, 4);
    const ColourPicture libraries = DecodeColourPicture(jpeg, LibraryPixels(), quarter).value();

    const Result<ColourPicture> asked = DecodeColourPicture(jpeg, JpegRgba(jpeg, 4), quarter);
    ASSERT_TRUE(asked) << asked.error().Reason();
    EXPECT_EQ(asked->rgb, libraries.rgb);
    EXPECT_EQ(asked->reduction, 4);

    const Result<ColourPicture> averaged = DecodeColourPicture(jpeg, JpegRgba(jpeg, 1), quarter);
    ASSERT_TRUE(averaged) << averaged.error().Reason();
    ASSERT_EQ(averaged->rgb.size(), libraries.rgb.size());
    EXPECT_EQ(averaged->reduction, 4);
    for (std::size_t i = 0; i < libraries.rgb.size(); ++i) {
        EXPECT_NEAR(averaged->rgb[i], libraries.rgb[i], 12) << "sample " << i;
    }

    const Result<ColourPicture> other = DecodeColourPicture(jpeg, JpegRgba(jpeg, 2), quarter);
    ASSERT_FALSE(other);
    EXPECT_NE(other.error().Reason().find("JPEG"), std::string::npos) << other.error().Reason();
}

// Nothing decoded, or pixels of another size than the header's (a decoder
// reading damage its own way), are refused naming the format, never read
// past their end.
TEST(DecodedPixels, RefuseNothingOrAnotherSize) {
    const std::string png = PictureBytes("half.png");  // 16 x 8
    const struct {
        const char* name;
        DecodedPixels pixels;
    } cases[] = {
        {"nothing", DecodedPixels()},
        {"too narrow", DecodedPixels(15, 8, std::vector<std::uint8_t>(15 * 8 * 4, 255))},
        {"too short", DecodedPixels(16, 7, std::vector<std::uint8_t>(16 * 7 * 4, 255))},
        {"fewer bytes than pixels", DecodedPixels(16, 8, std::vector<std::uint8_t>(16 * 8, 255))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<GreyPicture> grey = DecodePicture(png, c.pixels);
        ASSERT_FALSE(grey);
        EXPECT_NE(grey.error().Reason().find("PNG"), std::string::npos) << grey.error().Reason();
        EXPECT_FALSE(DecodeColourPicture(png, c.pixels));
    }
}

}  // namespace
}  // namespace fudeline
