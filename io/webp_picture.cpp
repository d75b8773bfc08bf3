#include <webp/decode.h>

#include "io/picture_formats.h"

namespace fudeline::picture_formats {

Result<RgbaPixels> DecodeWebpRgba(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) {
        return Refuse("not a readable WebP picture");
    }
    if (features.has_animation) return Refuse("animated WebP pictures are not supported");
    RgbaPixels pixels;
    pixels.width = static_cast<std::uint32_t>(features.width);
    pixels.height = static_cast<std::uint32_t>(features.height);
    if (Status size = CheckPictureSize(pixels.width, pixels.height); !size) return size.error();
    pixels.rgba.resize(std::size_t{pixels.width} * pixels.height * 4);
    if (!WebPDecodeRGBAInto(data, bytes.size(), pixels.rgba.data(), pixels.rgba.size(),
                            features.width * 4)) {
        return Refuse("the WebP picture is damaged");
    }
    return pixels;
}

Result<GreyPicture> DecodeWebp(std::string_view bytes) {
    const Result<RgbaPixels> pixels = DecodeWebpRgba(bytes);
    if (!pixels) return pixels.error();
    return GreyOverWhite(*pixels);
}

}  // namespace fudeline::picture_formats
