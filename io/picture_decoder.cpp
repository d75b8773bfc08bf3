#include "io/picture_decoder.h"

#include "io/file_bytes.h"
#include "io/picture_formats.h"
#include "io/picture_signature.h"

namespace fudeline {
namespace picture_formats {

Status CheckPictureSize(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) return Refuse("the picture has no pixels");
    // Both factors are below 2^32, so the product cannot overflow.
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height * 4 > kMaxPictureBytes) {
        return Refuse("the picture is too large (" + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels)");
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

}  // namespace picture_formats

Result<GreyPicture> DecodePicture(std::string_view bytes) {
    using namespace picture_formats;
    switch (SniffPictureFormat(bytes)) {
        case PictureFormat::Png:
            return DecodePng(bytes);
        case PictureFormat::Jpeg:
            return DecodeJpeg(bytes);
        case PictureFormat::Webp:
            return DecodeWebp(bytes);
        case PictureFormat::Gif:
            return DecodeGif(bytes);
        case PictureFormat::Bmp:
            return DecodeBmp(bytes);
        case PictureFormat::Pnm:
            return DecodePnm(bytes);
        case PictureFormat::Unknown:
            break;
    }
    return Refuse("not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)");
}

}  // namespace fudeline
