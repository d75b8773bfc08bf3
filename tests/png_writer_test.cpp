#include "io/png_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "io/ink_image.h"
#include "io/library_pixels.h"
#include "io/picture_decoder.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

// A drawing with ink, eraser grey, red and white pixels.
Image MixedDrawing() {
    Image image(kCanvasWidth, kInkHeight, kWhite);
    for (int x = 0; x <= kInkClipRight; x += 7) image.SetPixel(x, x % kInkHeight, kBlack);
    image.FillRect(100, 100, 20, 20, kLightGrey);
    image.SetPixel(5, 5, kRed);
    image.SetPixel(0, 0, kBlack);
    image.SetPixel(kInkClipRight, kInkHeight - 1, kBlack);
    return image;
}

TEST(EncodeInkPng, ReadsBackAsTheSameInk) {
    const Image drawing = MixedDrawing();
    const auto png = EncodeInkPng(drawing);
    ASSERT_TRUE(png) << png.error().Message();
    const auto back = DecodePng(*png, kCanvasWidth, kInkHeight, LibraryPixels());
    ASSERT_TRUE(back) << back.error().Message();
    ASSERT_EQ(back->width(), drawing.width());
    ASSERT_EQ(back->height(), drawing.height());
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            // Only black is ink; grey, red and white all come back blank.
            const bool ink = drawing.Pixel(x, y) == kBlack;
            ASSERT_EQ(back->Pixel(x, y), ink ? kBlack : kWhite) << x << "," << y;
        }
    }
}

TEST(EncodePng, KeepsEveryColourAndSize) {
    Image picture(3, 2, kWhite);
    picture.SetPixel(0, 0, kBlack);
    picture.SetPixel(1, 0, kRed);
    picture.SetPixel(2, 1, 0x123456);
    const auto png = EncodePng(picture);
    ASSERT_TRUE(png) << png.error().Message();
    EXPECT_EQ(png->substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    const auto back = DecodePng(*png, 100, 100, LibraryPixels());
    ASSERT_TRUE(back) << back.error().Message();
    EXPECT_EQ(back->width(), 3);
    EXPECT_EQ(back->height(), 2);
    EXPECT_EQ(back->Pixel(0, 0), kBlack);
    EXPECT_EQ(back->Pixel(1, 0), kWhite);  // the ink reader keeps only black
}

TEST(EncodePng, EmptyPicturesAreRefusedWithAReason) {
    for (const Image& empty : {Image(), Image(0, 5), Image(5, 0)}) {
        const auto rgb = EncodePng(empty);
        ASSERT_FALSE(rgb);
        EXPECT_FALSE(rgb.error().Reason().empty());
        const auto ink = EncodeInkPng(empty);
        ASSERT_FALSE(ink);
        EXPECT_FALSE(ink.error().Reason().empty());
    }
}

TEST(EncodePng, LargePicturesNeedNoCopyOfThemselves) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer's shadow memory cannot live under a data limit";
#endif
    // 4096 x 4096 takes 64 MB as 32-bit pixels; an 8-bit RGB copy would add
    // 48 MB, past the 100 MB the child process may hold.
    const pid_t child = fork();
    if (child == 0) {
        const rlimit data{rlim_t{100} << 20, rlim_t{100} << 20};
        if (setrlimit(RLIMIT_DATA, &data) != 0) _exit(3);
        try {
            Image image(4096, 4096, kWhite);
            image.SetPixel(7, 9, kBlack);
            const auto png = EncodePng(image);
            _exit(png && png->size() < (std::size_t{1} << 20) ? 0 : 1);
        } catch (...) {
            _exit(2);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(EncodeGreyPng, KeepsEveryLevel) {
    GreyPicture picture{256, 3, {}};
    for (int i = 0; i < 3 * 256; ++i) picture.levels.push_back(static_cast<std::uint8_t>(i));
    const auto png = EncodeGreyPng(picture);
    ASSERT_TRUE(png) << png.error().Message();
    const auto decoded = DecodePicture(*png, LibraryPixels());
    ASSERT_TRUE(decoded) << decoded.error().Message();
    EXPECT_EQ(decoded->levels, picture.levels);
    EXPECT_FALSE(EncodeGreyPng(GreyPicture{0, 3, {}}));
}

}  // namespace
}  // namespace fudeline
