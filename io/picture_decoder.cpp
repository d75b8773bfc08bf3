#include "io/picture_decoder.h"

#include <utility>

#include "io/file_bytes.h"
#include "io/picture_formats.h"
#include "io/picture_signature.h"

namespace fudeline {
namespace picture_formats {

Status CheckPictureSize(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) return Refuse("the picture has no pixels");
    // Both factors are below 2^32, so the product cannot overflow.
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height * 4 > kMaxPictureBytes) {
        return Error{"", ErrorKind::PictureTooLarge, width, height};
    }
    return {};
}

Result<GreyPicture> AllocatePicture(std::uint64_t width, std::uint64_t height) {
    if (Status size = CheckPictureSize(width, height); !size) return size.error();
    GreyPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.levels.assign(width * height, 255);
    return picture;
}

Result<GreyPicture> GreyOverWhite(const RgbaPixels& pixels) {
    auto picture = AllocatePicture(pixels.width, pixels.height);
    if (!picture) return picture.error();
    for (std::size_t i = 0; i < picture->levels.size(); ++i) {
        const std::uint8_t* p = &pixels.rgba[i * 4];
        picture->levels[i] = OverWhite(GreyOf(p[0], p[1], p[2]), p[3]);
    }
    return picture;
}

}  // namespace picture_formats

Result<GreyPicture> DecodePicture(std::string_view bytes) {
    using namespace picture_formats;
    using Decoder = Result<GreyPicture> (*)(std::string_view);
    static constexpr std::pair<PictureFormat, Decoder> kDecoders[] = {
        {PictureFormat::Png, DecodePng}, {PictureFormat::Jpeg, DecodeJpeg},
        {PictureFormat::Webp, DecodeWebp}, {PictureFormat::Gif, DecodeGif},
        {PictureFormat::Bmp, DecodeBmp}, {PictureFormat::Pnm, DecodePnm},
    };
    const PictureFormat format = SniffPictureFormat(bytes);
    for (const auto& [known, decode] : kDecoders) {
        if (known == format) return decode(bytes);
    }
    return Error{"", ErrorKind::NotAPicture};
}

}  // namespace fudeline
