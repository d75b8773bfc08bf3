#include <png.h>

#include <vector>

#include "io/picture_formats.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodePng(std::string_view bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        return Refuse(std::string("not a readable PNG picture: ") + png.message);
    }
    auto picture = AllocatePicture(png.width, png.height);
    if (!picture) {
        png_image_free(&png);
        return picture.error();
    }
    // Read as RGBA and made grey here: libpng's own grey conversion works in
    // linear light, which would make a red line paler than the same line
    // from any other format.
    png.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
        const std::string why = png.message;
        png_image_free(&png);
        return Refuse("the PNG picture is damaged: " + why);
    }
    for (std::size_t i = 0; i < picture->levels.size(); ++i) {
        const png_byte* p = &rgba[i * 4];
        picture->levels[i] = OverWhite(GreyOf(p[0], p[1], p[2]), p[3]);
    }
    return picture;
}

}  // namespace fudeline::picture_formats
