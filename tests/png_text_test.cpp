#include "io/png_text.h"

#include <gtest/gtest.h>

#include <string>

#include "io/ink_image.h"
#include "io/library_pixels.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

std::string SmallPng() {
    Image image(12, 7);
    image.SetPixel(3, 4, kBlack);
    return EncodeInkPng(image).value();
}

// A chunk of `type` and `data` with its length and CRC, as PNG frames it.
std::string Chunk(const std::string& type, const std::string& data) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(data.size() >> shift & 0xFF);
    out += type + data;
    const std::uint32_t crc = PngCrc(type + data);
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(crc >> shift & 0xFF);
    return out;
}

// `chunk` with a byte of its text changed under its CRC.
std::string Damaged(std::string chunk) {
    chunk[chunk.size() - 5] ^= 1;
    return chunk;
}

// `png` with `chunk` just before its image end.
std::string Before_IEND(const std::string& png, const std::string& chunk) {
    return png.substr(0, png.size() - 12) + chunk + png.substr(png.size() - 12);
}

TEST(PngText, TheCrcIsPngs) {
    EXPECT_EQ(PngCrc("IEND"), 0xAE426082u);  // every PNG ends with these bytes
    EXPECT_EQ(PngCrc("123456789"), 0xCBF43926u);
}

// Written text reads back, and the picture decodes to the same pixels.
TEST(PngText, TextWrittenReadsBackAndThePictureStays) {
    const std::string png = SmallPng();
    const std::string text = "opened 01\nink 0000abcd\n3\t0:16:8140\n";
    const std::string withText = WithPngText(png, "Fudeline kept rows", text).value();
    EXPECT_EQ(PngText(withText, "Fudeline kept rows"), text);
    EXPECT_EQ(PngText(withText, "Fudeline"), std::nullopt);  // keys match whole
    EXPECT_EQ(PngText(png, "Fudeline kept rows"), std::nullopt);
    EXPECT_EQ(DecodePng(withText, 100, 100, LibraryPixels()).value(),
              DecodePng(png, 100, 100, LibraryPixels()).value());
}

TEST(PngText, ChunksAreReadAsViewersReadThem) {
    const std::string png = SmallPng();
    const struct {
        const char* what;
        std::string file;
        std::optional<std::string> text;
        bool damaged;
    } cases[] = {
        {"tEXt", Before_IEND(png, Chunk("tEXt", std::string("k\0v", 3))), "v", false},
        {"uncompressed iTXt",
         Before_IEND(png, Chunk("iTXt", std::string("k\0\0\0ja\0kk\0v", 11))), "v", false},
        {"compressed iTXt is not read",
         Before_IEND(png, Chunk("iTXt", std::string("k\0\1\0\0\0xx", 9))), std::nullopt, false},
        {"the first of two", Before_IEND(Before_IEND(png, Chunk("tEXt", std::string("k\0a", 3))),
                                         Chunk("tEXt", std::string("k\0b", 3))),
         "a", false},
        {"CRC broken",
         Before_IEND(png, Damaged(Chunk("tEXt", std::string("k\0v", 3)))),
         std::nullopt, true},
        {"length past the end", png.substr(0, 33) + Chunk("tEXt", std::string(20, 'k')).substr(0, 12),
         std::nullopt, true},
        {"not a PNG", "P1\n1 1\n1\n", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool damaged = false;
        EXPECT_EQ(PngText(c.file, "k", &damaged), c.text);
        EXPECT_EQ(damaged, c.damaged);
    }
}

TEST(PngText, WhatACHunkCannotCarryIsRefused) {
    const std::string png = SmallPng();
    EXPECT_FALSE(WithPngText(png, "", "v"));
    EXPECT_FALSE(WithPngText(png, std::string(80, 'k'), "v"));
    EXPECT_FALSE(WithPngText(png, " k", "v"));
    EXPECT_FALSE(WithPngText(png, "k", std::string("a\0b", 3)));
    EXPECT_FALSE(WithPngText(png.substr(0, png.size() - 12), "k", "v"));  // no image end
    EXPECT_FALSE(WithPngText("P1\n1 1\n1\n", "k", "v"));
}

}  // namespace
}  // namespace fudeline
