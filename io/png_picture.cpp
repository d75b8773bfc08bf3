#include "io/picture_formats.h"
#include "io/png_rgba.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodePng(std::string_view bytes) {
    GreyPicture picture;
    // Read as RGBA and made grey here: libpng's own grey conversion works in
    // linear light, which would make a red line paler than the same line
    // from any other format. Row by row, straight into the grey picture, so
    // a picture at the size limit takes its grey levels and one row.
    const Status read = ReadPngRows(
        bytes, "picture",
        [&](std::uint32_t width, std::uint32_t height) -> Status {
            Result<GreyPicture> allocated = AllocatePicture(width, height);
            if (!allocated) return allocated.error();
            picture = std::move(*allocated);
            return {};
        },
        [&](const RgbaRowPart& part) {
            std::uint8_t* out = picture.levels.data() +
                                std::size_t{part.y} * static_cast<std::size_t>(picture.width);
            for (std::uint32_t i = 0; i < part.count; ++i) {
                const std::uint8_t* p = part.rgba + std::size_t{i} * 4;
                out[part.firstX + i * part.stepX] = OverWhite(GreyOf(p[0], p[1], p[2]), p[3]);
            }
        });
    if (!read) return read.error();
    return picture;
}

}  // namespace fudeline::picture_formats
