#include "io/colour_picture.h"

#include <gtest/gtest.h>

#include "io/library_pixels.h"
#include "io/png_writer.h"
#include "test_pictures.h"

namespace fudeline {
namespace {

using testing::PictureBytes;

std::array<int, 3> At(const ColourPicture& picture, int x, int y) {
    const std::uint8_t* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
    return {p[0], p[1], p[2]};
}

TEST(DecodeColourPictureTest, TransparencyIsWhitePaperWithTheToolsRounding) {
    // Stored colour under no coverage is black, as most files store it.
    const std::uint8_t rgba[] = {0,   0,  0,  0,    // transparent
                                 200, 40, 40, 255,  // opaque red
                                 40,  80, 200, 128,  // half-covered blue
                                 0,   0,  0,  255};
    const Result<std::string> png = EncodeRgbaPng(4, 1, rgba);
    ASSERT_TRUE(png);
    const Result<ColourPicture> picture = DecodeColourPicture(*png, LibraryPixels());
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width, 4);
    EXPECT_EQ(At(*picture, 0, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(At(*picture, 1, 0), (std::array<int, 3>{200, 40, 40}));
    EXPECT_EQ(At(*picture, 2, 0),
              (std::array<int, 3>{ChannelOverWhite(40, 128), ChannelOverWhite(80, 128),
                                  ChannelOverWhite(200, 128)}));
    EXPECT_EQ(At(*picture, 3, 0), (std::array<int, 3>{0, 0, 0}));
}

// The same two-tone test picture in each format read in colour.
TEST(DecodeColourPictureTest, EveryColourFormatGivesTheSameDrawing) {
    for (const auto& [file, tolerance] : {std::pair{"half.png", 0}, {"half.jpg", 12}, {"half.webp", 0}}) {
        SCOPED_TRACE(file);
        const Result<ColourPicture> picture =
            DecodeColourPicture(PictureBytes(file), LibraryPixels());
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->width, 16);
        ASSERT_EQ(picture->height, 8);
        for (const int x : {1, 14}) {
            const std::array<int, 3> expected = x < 8 ? std::array<int, 3>{0, 0, 0}
                                                      : std::array<int, 3>{255, 255, 255};
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(At(*picture, x, 4)[c], expected[c], tolerance);
        }
    }
}

TEST(DecodeColourPictureTest, JpegShrinksOnDecodingOnlyWhenShownSmaller) {
    const std::string jpeg = PictureBytes("half.jpg");  // 16 x 8
    const struct {
        double shownScale;
        int reduction, width;
    } cases[] = {{1.0, 1, 16}, {0.6, 1, 16}, {0.5, 2, 8}, {0.3, 2, 8}, {0.25, 4, 4}, {0.01, 8, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shownScale);
        const Result<ColourPicture> picture =
            DecodeColourPicture(jpeg, LibraryPixels(), [&](int, int) { return c.shownScale; });
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->reduction, c.reduction);
        EXPECT_EQ(picture->width, c.width);
        EXPECT_EQ(picture->rgb.size(), static_cast<std::size_t>(picture->width) * picture->height * 3);
    }
}

TEST(DecodeColourPictureTest, RefusesWhatItCannotRead) {
    std::string bomb = PictureBytes("half.jpg");
    const std::size_t frame = bomb.find("\xFF\xC0");
    bomb[frame + 5] = bomb[frame + 7] = '\xFD';  // 65000-odd pixels each way
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"GIF", PictureBytes("half.gif"), "not a PNG, JPEG or WebP"},
        {"WebP truncated", PictureBytes("half.webp").substr(0, 30), "WebP"},
        {"JPEG bomb", bomb, "too large"},
        {"JPEG truncated", PictureBytes("half.jpg").substr(0, 120), "JPEG"},
        {"PNG truncated", PictureBytes("half.png").substr(0, 60), "PNG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HasColourDecoder(c.bytes), std::string(c.name) != "GIF");
        const Result<ColourPicture> picture = DecodeColourPicture(c.bytes, LibraryPixels());
        ASSERT_FALSE(picture);
        EXPECT_NE(picture.error().Reason().find(c.reason), std::string::npos)
            << picture.error().Reason();
    }
}

}  // namespace
}  // namespace fudeline
