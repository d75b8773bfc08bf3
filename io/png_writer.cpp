#include "io/png_writer.h"

#include <png.h>

#include <vector>

#include "pixels/geometry.h"

namespace fudeline {
namespace {

Result<std::string> Encode(int width, int height, png_uint_32 format, int channels,
                           const png_byte* pixels) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = format;
    const png_int_32 stride = width * channels;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png, size, 0, pixels, stride, nullptr)) {
        return Error{{}, std::string("PNG encoding failed: ") + png.message};
    }
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, pixels, stride, nullptr)) {
        return Error{{}, std::string("PNG encoding failed: ") + png.message};
    }
    bytes.resize(size);
    return bytes;
}

bool Empty(const Image& image) {
    return image.width() <= 0 || image.height() <= 0;
}

const Error kEmptyPicture{{}, "an empty picture cannot be written as PNG"};

}  // namespace

Result<std::string> EncodeInkPng(const Image& image) {
    if (Empty(image)) return kEmptyPicture;
    std::vector<png_byte> grey;
    grey.reserve(static_cast<std::size_t>(image.width()) *
                 static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            grey.push_back(image.Pixel(x, y) == kBlack ? 0 : 255);
    }
    return Encode(image.width(), image.height(), PNG_FORMAT_GRAY, 1, grey.data());
}

Result<std::string> EncodePng(const Image& image) {
    if (Empty(image)) return kEmptyPicture;
    std::vector<png_byte> rgb;
    rgb.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()) *
                3);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t p = image.Pixel(x, y);
            rgb.push_back(static_cast<png_byte>(p >> 16));
            rgb.push_back(static_cast<png_byte>(p >> 8));
            rgb.push_back(static_cast<png_byte>(p));
        }
    }
    return Encode(image.width(), image.height(), PNG_FORMAT_RGB, 3, rgb.data());
}

Result<std::string> EncodeGreyPng(const GreyPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return kEmptyPicture;
    return Encode(picture.width, picture.height, PNG_FORMAT_GRAY, 1, picture.levels.data());
}

Result<std::string> EncodeRgbaPng(int width, int height, const std::uint8_t* rgba) {
    if (width <= 0 || height <= 0) return kEmptyPicture;
    return Encode(width, height, PNG_FORMAT_RGBA, 4, rgba);
}

}  // namespace fudeline
