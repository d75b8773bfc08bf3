#include <png.h>

#include "io/picture_formats.h"

namespace fudeline::picture_formats {

std::optional<GreyPicture> DecodePng(std::string_view bytes, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        return Refuse(error, std::string("not a readable PNG picture: ") + png.message);
    }
    auto picture = AllocatePicture(png.width, png.height, error);
    if (!picture) {
        png_image_free(&png);
        return std::nullopt;
    }
    // Asking for grey without alpha makes libpng composite transparency onto
    // the background given (its green channel for grey output): paper.
    png.format = PNG_FORMAT_GRAY;
    const png_color white{255, 255, 255};
    if (!png_image_finish_read(&png, &white, picture->levels.data(), 0, nullptr)) {
        const std::string why = png.message;
        png_image_free(&png);
        return Refuse(error, "the PNG picture is damaged: " + why);
    }
    return picture;
}

}  // namespace fudeline::picture_formats
