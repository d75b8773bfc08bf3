#include <webp/decode.h>

#include <vector>

#include "io/library_decoders.h"
#include "io/picture_formats.h"

namespace fudeline::library_decoders {

Status ReadWebpRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take) {
    using picture_formats::Refuse;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) {
        return Refuse("not a readable WebP picture");
    }
    if (features.has_animation) return Refuse("animated WebP pictures are not supported");
    if (static_cast<std::uint32_t>(features.width) != header.width ||
        static_cast<std::uint32_t>(features.height) != header.height) {
        return Refuse("the WebP picture is damaged: libwebp reads another size than its header");
    }
    std::vector<std::uint8_t> rgba(std::size_t{header.width} * header.height * 4);
    if (!WebPDecodeRGBAInto(data, bytes.size(), rgba.data(), rgba.size(), features.width * 4)) {
        return Refuse("the WebP picture is damaged");
    }
    for (std::uint32_t y = 0; y < header.height; ++y) {
        take(RgbaRowPart{y, 0, 1, header.width, rgba.data() + std::size_t{y} * header.width * 4});
    }
    return {};
}

}  // namespace fudeline::library_decoders
