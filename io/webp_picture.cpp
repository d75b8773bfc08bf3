#include <webp/decode.h>

#include <vector>

#include "io/picture_formats.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodeWebp(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) {
        return Refuse("not a readable WebP picture");
    }
    if (features.has_animation) return Refuse("animated WebP pictures are not supported");
    auto picture = AllocatePicture(static_cast<std::uint32_t>(features.width),
                                   static_cast<std::uint32_t>(features.height));
    if (!picture) return picture.error();
    const std::size_t pixels = picture->levels.size();
    std::vector<std::uint8_t> rgba(pixels * 4);
    if (!WebPDecodeRGBAInto(data, bytes.size(), rgba.data(), rgba.size(), features.width * 4)) {
        return Refuse("the WebP picture is damaged");
    }
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* p = &rgba[i * 4];
        picture->levels[i] = OverWhite(GreyOf(p[0], p[1], p[2]), p[3]);
    }
    return picture;
}

}  // namespace fudeline::picture_formats
