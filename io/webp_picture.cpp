#include <webp/decode.h>

#include <vector>

#include "io/io_errors.h"
#include "io/library_decoders.h"
#include "io/picture_formats.h"

namespace fudeline::library_decoders {

Status ReadWebpRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take) {
    using picture_formats::Refuse;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) {
        return Refuse(kinds::NotReadableWebp);
    }
    if (features.has_animation) return Refuse(kinds::WebpAnimated);
    if (static_cast<std::uint32_t>(features.width) != header.width ||
        static_cast<std::uint32_t>(features.height) != header.height) {
        return Refuse(kinds::PictureReadOtherwise, "WebP", "libwebp");
    }
    std::vector<std::uint8_t> rgba(std::size_t{header.width} * header.height * 4);
    if (!WebPDecodeRGBAInto(data, bytes.size(), rgba.data(), rgba.size(), features.width * 4)) {
        return Refuse(kinds::PictureDamaged, "WebP");
    }
    for (std::uint32_t y = 0; y < header.height; ++y) {
        take(RgbaRowPart{y, 0, 1, header.width, rgba.data() + std::size_t{y} * header.width * 4});
    }
    return {};
}

}  // namespace fudeline::library_decoders
