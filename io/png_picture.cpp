#include "io/picture_formats.h"
#include "io/png_rgba.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodePng(std::string_view bytes) {
    GreyPicture picture;
    // Read as RGBA and made grey here: libpng's own grey conversion works in
    // linear light, which would make a red line paler than the same line
    // from any other format.
    const Result<RgbaPixels> pixels =
        DecodePngRgba(bytes, "picture", [&](std::uint32_t width, std::uint32_t height) -> Status {
            Result<GreyPicture> allocated = AllocatePicture(width, height);
            if (!allocated) return allocated.error();
            picture = std::move(*allocated);
            return {};
        });
    if (!pixels) return pixels.error();
    for (std::size_t i = 0; i < picture.levels.size(); ++i) {
        const std::uint8_t* p = &pixels->rgba[i * 4];
        picture.levels[i] = OverWhite(GreyOf(p[0], p[1], p[2]), p[3]);
    }
    return picture;
}

}  // namespace fudeline::picture_formats
