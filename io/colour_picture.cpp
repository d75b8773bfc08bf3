#include "io/colour_picture.h"

#include "io/file_bytes.h"
#include "io/jpeg_samples.h"
#include "io/picture_decoder.h"
#include "io/picture_formats.h"
#include "io/picture_signature.h"
#include "io/png_rgba.h"

namespace fudeline {
namespace {

using picture_formats::CheckPictureSize;
using picture_formats::Refuse;

// Row by row, straight into the picture, as the grey decoder reads PNG: a
// picture at the size limit takes its RGB samples and one row.
Result<ColourPicture> DecodePng(std::string_view bytes) {
    ColourPicture picture;
    const Status read = ReadPngRows(
        bytes, "picture",
        [&](std::uint32_t width, std::uint32_t height) -> Status {
            if (Status size = CheckPictureSize(width, height); !size) return size;
            picture.width = static_cast<int>(width);
            picture.height = static_cast<int>(height);
            picture.rgb.resize(std::size_t{width} * height * 3);
            return {};
        },
        [&](const RgbaRowPart& part) {
            std::uint8_t* out = picture.rgb.data() +
                                std::size_t{part.y} * static_cast<std::size_t>(picture.width) * 3;
            for (std::uint32_t i = 0; i < part.count; ++i) {
                const std::uint8_t* p = part.rgba + std::size_t{i} * 4;
                std::uint8_t* q = out + std::size_t{part.firstX + i * part.stepX} * 3;
                // Opaque pixels, most of most pictures, are their own colour on paper.
                if (p[3] == 255) {
                    q[0] = p[0], q[1] = p[1], q[2] = p[2];
                    continue;
                }
                for (int c = 0; c < 3; ++c) q[c] = ChannelOverWhite(p[c], p[3]);
            }
        });
    if (!read) return read.error();
    return picture;
}

Result<ColourPicture> DecodeWebp(std::string_view bytes) {
    const Result<RgbaPixels> pixels = picture_formats::DecodeWebpRgba(bytes);
    if (!pixels) return pixels.error();
    ColourPicture picture{static_cast<int>(pixels->width), static_cast<int>(pixels->height), {}};
    const std::size_t count = std::size_t{pixels->width} * pixels->height;
    picture.rgb.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &pixels->rgba[i * 4];
        for (int c = 0; c < 3; ++c) picture.rgb[i * 3 + c] = ChannelOverWhite(p[c], p[3]);
    }
    return picture;
}

// Through the grey decoder's JPEG reader, in RGB and shrunk while decoding
// when the picture will be shown at a half or less.
Result<ColourPicture> DecodeJpeg(std::string_view bytes,
                                 const std::function<double(int, int)>& shownScale) {
    picture_formats::JpegReduction reductionFor;
    if (shownScale) {
        reductionFor = [&](std::uint32_t width, std::uint32_t height) {
            const double scale = shownScale(static_cast<int>(width), static_cast<int>(height));
            int reduction = 1;
            while (reduction < 8 && scale > 0 && scale * reduction * 2 <= 1) reduction *= 2;
            return reduction;
        };
    }
    Result<picture_formats::JpegSamples> decoded = picture_formats::DecodeJpegSamples(
        bytes, picture_formats::JpegChannels::kRgb, reductionFor);
    if (!decoded) return decoded.error();
    return ColourPicture{static_cast<int>(decoded->width), static_cast<int>(decoded->height),
                         std::move(decoded->samples), decoded->reduction};
}

}  // namespace

bool HasColourDecoder(std::string_view bytes) {
    const PictureFormat format = SniffPictureFormat(bytes);
    return format == PictureFormat::Png || format == PictureFormat::Jpeg ||
           format == PictureFormat::Webp;
}

Result<ColourPicture> DecodeColourPicture(std::string_view bytes,
                                          const std::function<double(int, int)>& shownScale) {
    switch (SniffPictureFormat(bytes)) {
        case PictureFormat::Png:
            return DecodePng(bytes);
        case PictureFormat::Jpeg:
            return DecodeJpeg(bytes, shownScale);
        case PictureFormat::Webp:
            return DecodeWebp(bytes);
        default:
            return Refuse("not a PNG, JPEG or WebP picture");
    }
}

Result<TracingPicture> DecodeTracingPicture(std::string_view bytes,
                                            const std::function<double(int, int)>& shownScale) {
    TracingPicture read;
    if (HasColourDecoder(bytes)) {
        Result<ColourPicture> picture = DecodeColourPicture(bytes, shownScale);
        if (!picture) return picture.error();
        read.inColour = true;
        read.colour = std::move(*picture);
        return read;
    }
    Result<GreyPicture> picture = DecodePicture(bytes);
    if (!picture) return picture.error();
    read.grey = std::move(*picture);
    return read;
}

Result<TracingPicture> ReadTracingPicture(const std::string& path,
                                          const std::function<double(int, int)>& shownScale) {
    // No picture within the decoding limit has a larger file.
    const Result<std::string> bytes = ReadFileBytes(path, kMaxPictureBytes);
    if (!bytes) return bytes.error();
    Result<TracingPicture> picture = DecodeTracingPicture(*bytes, shownScale);
    if (!picture) return picture.error().WithPath(InputName(path));
    return picture;
}

}  // namespace fudeline
