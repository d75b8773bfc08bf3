#include "io/picture_writer.h"

#include <png.h>

#include "pixels/geometry.h"

namespace fudeline {

Result<std::string> EncodeGreyPng(const GreyPicture& picture) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(picture.width);
    png.height = static_cast<png_uint_32>(picture.height);
    png.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png, size, 0, picture.levels.data(), 0, nullptr)) {
        return Error{"", std::string("cannot encode PNG: ") + png.message};
    }
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, picture.levels.data(), 0,
                                   nullptr)) {
        return Error{"", std::string("cannot encode PNG: ") + png.message};
    }
    bytes.resize(size);
    return bytes;
}

Result<std::string> EncodeInkPng(const Image& ink) {
    GreyPicture grey{ink.width(), ink.height(), {}};
    grey.levels.reserve(static_cast<std::size_t>(ink.width()) * ink.height());
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            grey.levels.push_back(ink.Pixel(x, y) == kBlack ? 0 : 255);
        }
    }
    return EncodeGreyPng(grey);
}

}  // namespace fudeline
