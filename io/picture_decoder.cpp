#include "io/picture_decoder.h"

#include <utility>

#include "io/io_errors.h"
#include "io/picture_formats.h"

namespace fudeline {
namespace picture_formats {

Status CheckPictureSize(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) return Refuse(kinds::PictureWithoutPixels);
    // Both factors are below 2^32, so the product cannot overflow.
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height * 4 > kMaxPictureBytes) {
        return Error{"", kinds::PictureTooLarge, width, height};
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

Result<GreyPicture> DecodePicture(std::string_view bytes, const PixelSource& pixels) {
    using namespace picture_formats;
    const Result<PictureHeader> header = ReadPictureHeader(bytes);
    if (!header) return header.error();
    switch (header->format) {
        case PictureFormat::Bmp:
            return DecodeBmp(bytes);
        case PictureFormat::Pnm:
            return DecodePnm(bytes);
        case PictureFormat::Jpeg: {
            if (Status size = CheckPictureSize(header->width, header->height); !size) {
                return size.error();
            }
            Result<JpegSamples> decoded = pixels.ReadJpeg(bytes, *header, JpegChannels::kGrey, 1);
            if (!decoded) return decoded.error();
            return GreyPicture{static_cast<int>(decoded->width), static_cast<int>(decoded->height),
                               std::move(decoded->samples)};
        }
        default:
            break;
    }
    // PNG, WebP, GIF: RGBA made grey here, straight into the grey picture,
    // so a picture at the size limit takes its grey levels and a row. (Not
    // libpng's own grey conversion, which works in linear light and would
    // make a red line paler than the same line from any other format.)
    Result<GreyPicture> picture = AllocatePicture(header->width, header->height);
    if (!picture) return picture.error();
    const Status read = pixels.ReadRgba(bytes, *header, [&](const RgbaRowPart& part) {
        std::uint8_t* out =
            picture->levels.data() + std::size_t{part.y} * static_cast<std::size_t>(picture->width);
        for (std::uint32_t i = 0; i < part.count; ++i) {
            const std::uint8_t* p = part.rgba + std::size_t{i} * 4;
            out[part.firstX + i * part.stepX] = OverWhite(GreyOf(p[0], p[1], p[2]), p[3]);
        }
    });
    if (!read) return read.error();
    return picture;
}

}  // namespace fudeline
