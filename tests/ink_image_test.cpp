#include "io/ink_image.h"

#include <gtest/gtest.h>

#include "files/file_bytes.h"
#include "io/library_pixels.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

TEST(DecodePbm, PlainAndBinaryGiveTheSameInk) {
    const auto plain = DecodePbm("P1\n# comment\n10 2\n0 1 0 0 0 0 0 0 0 1\n1000000000", 799, 464);
    ASSERT_TRUE(plain) << plain.error().Reason();
    const std::string bits = std::string("P4\n10 2\n\x40\x40\x80\x00", 12);
    const auto binary = DecodePbm(bits, 799, 464);
    ASSERT_TRUE(binary) << binary.error().Reason();
    EXPECT_EQ(*plain, *binary);
    EXPECT_EQ(plain->Pixel(1, 0), kBlack);
    EXPECT_EQ(plain->Pixel(9, 0), kBlack);
    EXPECT_EQ(plain->Pixel(0, 1), kBlack);
    EXPECT_EQ(plain->Pixel(0, 0), kWhite);
}

TEST(DecodePbm, KeepsOnlyTheInkArea) {
    const auto image = DecodePbm("P1 1000 1 " + std::string(1000, '1'), 799, 464);
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
        const auto image = DecodePbm(text, 799, 464);
        ASSERT_FALSE(image) << text;
        EXPECT_FALSE(image.error().Reason().empty());
    }
}

TEST(DecodePbm, HugeDeclaredSizeWithLittleDataFailsFast) {
    EXPECT_FALSE(DecodePbm("P1 2000000000 2000000000 1 0 1", 799, 464));
    EXPECT_FALSE(DecodePbm("P4 2000000000 2000000000\n\xFF", 799, 464));
}

TEST(DecodePng, RejectsGarbage) {
    const auto image = DecodePng("\x89PNG\r\n\x1A\nnot really", 799, 464, LibraryPixels());
    ASSERT_FALSE(image);
    EXPECT_FALSE(image.error().Reason().empty());
}

TEST(DecodeInkImage, ChoosesTheReaderByTheFirstBytesAndNamesTheFormatsOtherwise) {
    EXPECT_TRUE(DecodeInkImage("P1 1 1 1", 799, 464, LibraryPixels()));
    EXPECT_NE(DecodeInkImage("\x89PNG\r\n\x1A\nnot really", 799, 464, LibraryPixels())
                  .error()
                  .Reason()
                  .find("PNG"),
              std::string::npos);
    for (const char* text : {"", "GIF89a", "P6 1 1 255 ...", "\xFF\xD8\xFF"}) {
        const auto image = DecodeInkImage(text, 799, 464, LibraryPixels());
        ASSERT_FALSE(image) << text;
        EXPECT_NE(image.error().Reason().find(kInkImageFormats), std::string::npos)
            << image.error().Reason();
    }
}

// The page asks before its browser decodes anything: a PNG's pixels at its
// size, within the drawing's limit; nothing for a PBM, which the core reads;
// the formats named for anything else.
TEST(InkImagePixelRequest, AsksForAPngsPixelsAndNothingForPbm) {
    const std::string golden = std::string(FUDELINE_SOURCE_DIR) + "/tests/golden/";
    const std::string png = ReadFileBytes(golden + "minus.png").value();
    std::string bomb = png;  // 10000 x 10000, past 64 million pixels
    for (const int at : {16, 20}) bomb.replace(at, 4, std::string("\x00\x00\x27\x10", 4));
    const struct {
        const char* name;
        std::string bytes;
        bool fromSource;
        const char* reason;
    } cases[] = {
        {"PNG", png, true, nullptr},
        {"PBM", "P1 1 1 1", false, nullptr},
        {"PNG past the limit", bomb, false, "too large"},
        {"GIF", "GIF89a", false, kInkImageFormats},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<PixelRequest> request = InkImagePixelRequest(c.bytes);
        ASSERT_EQ(request.has_value(), c.reason == nullptr);
        if (!request) {
            EXPECT_NE(request.error().Reason().find(c.reason), std::string::npos)
                << request.error().Reason();
            continue;
        }
        EXPECT_EQ(request->fromSource, c.fromSource);
        if (!c.fromSource) continue;
        const Image ink = DecodeInkImage(c.bytes, 10000, 10000, LibraryPixels()).value();
        EXPECT_EQ(request->width, static_cast<std::uint32_t>(ink.width()));
        EXPECT_EQ(request->height, static_cast<std::uint32_t>(ink.height()));
    }
}

TEST(ReadInkImage, NamesTheFileAndTheSystemsReason) {
    const std::string golden = std::string(FUDELINE_SOURCE_DIR) + "/tests/golden/";
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {golden + "no-such.pbm", "No such file or directory"},
        {golden + "dir-catalogue", "Is a directory"},
        {golden + "bad-line.replay", kInkImageFormats},
    };
    for (const auto& c : cases) {
        const auto image = ReadInkImage(c.path, 799, 464, LibraryPixels());
        ASSERT_FALSE(image) << c.path;
        EXPECT_EQ(image.error().path, c.path);
        EXPECT_NE(image.error().Reason().find(c.reason), std::string::npos)
            << image.error().Reason();
    }
    EXPECT_TRUE(ReadInkImage(golden + "minus.png", 799, 464, LibraryPixels()));
}

}  // namespace
}  // namespace fudeline
