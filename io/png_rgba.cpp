#include "io/png_rgba.h"

#include <png.h>

namespace fudeline {

Result<RgbaPixels> DecodePngRgba(
    std::string_view bytes, const std::string& noun,
    const std::function<Status(std::uint32_t, std::uint32_t)>& accept) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        return Error{"", "not a readable PNG " + noun + ": " + png.message};
    }
    if (Status accepted = accept(png.width, png.height); !accepted) {
        png_image_free(&png);
        return accepted.error();
    }
    png.format = PNG_FORMAT_RGBA;
    RgbaPixels pixels{png.width, png.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(png))};
    if (!png_image_finish_read(&png, nullptr, pixels.rgba.data(), 0, nullptr)) {
        const std::string why = png.message;
        png_image_free(&png);
        return Error{"", "the PNG " + noun + " is damaged: " + why};
    }
    return pixels;
}

}  // namespace fudeline
