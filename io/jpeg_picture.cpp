#include "io/jpeg_samples.h"
#include "io/picture_formats.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodeJpeg(std::string_view bytes) {
    Result<JpegSamples> decoded = DecodeJpegSamples(bytes, JpegChannels::kGrey);
    if (!decoded) return decoded.error();
    return GreyPicture{static_cast<int>(decoded->width), static_cast<int>(decoded->height),
                       std::move(decoded->samples)};
}

}  // namespace fudeline::picture_formats
