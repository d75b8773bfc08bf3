#include "io/colour_picture.h"

#include "files/file_bytes.h"
#include "io/io_errors.h"
#include "io/picture_decoder.h"
#include "io/picture_formats.h"

namespace fudeline {
namespace {

using picture_formats::CheckPictureSize;
using picture_formats::Refuse;

// Row by row, straight into the picture: a picture at the size limit takes
// its RGB samples and a row.
Result<ColourPicture> DecodeRgba(std::string_view bytes, const PictureHeader& header,
                                 const PixelSource& pixels) {
    ColourPicture picture{static_cast<int>(header.width), static_cast<int>(header.height), {}};
    picture.rgb.resize(std::size_t{header.width} * header.height * 3);
    const Status read = pixels.ReadRgba(bytes, header, [&](const RgbaRowPart& part) {
        std::uint8_t* out =
            picture.rgb.data() + std::size_t{part.y} * static_cast<std::size_t>(picture.width) * 3;
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

// By how much a JPEG is shrunk while decoding: as far as it stays at least
// as large as it will be shown, and at most 8, as libjpeg scales.
int JpegReduction(const PictureHeader& header, const ShownScale& shownScale) {
    if (header.format != PictureFormat::Jpeg || !shownScale) return 1;
    const double scale =
        shownScale(static_cast<int>(header.width), static_cast<int>(header.height));
    int reduction = 1;
    while (reduction < 8 && scale > 0 && scale * reduction * 2 <= 1) reduction *= 2;
    return reduction;
}

// The header of bytes in a colour format, its size within the limit.
Result<PictureHeader> ColourHeader(std::string_view bytes) {
    if (!HasColourDecoder(bytes)) return Refuse(kinds::NotColourPicture);
    Result<PictureHeader> header = ReadPictureHeader(bytes);
    if (!header) return header;
    if (Status size = CheckPictureSize(header->width, header->height); !size) return size.error();
    return header;
}

}  // namespace

bool HasColourDecoder(std::string_view bytes) {
    const PictureFormat format = SniffPictureFormat(bytes);
    return format == PictureFormat::Png || format == PictureFormat::Jpeg ||
           format == PictureFormat::Webp;
}

Result<ColourPicture> DecodeColourPicture(std::string_view bytes, const PixelSource& pixels,
                                          const ShownScale& shownScale) {
    const Result<PictureHeader> header = ColourHeader(bytes);
    if (!header) return header.error();
    if (header->format != PictureFormat::Jpeg) return DecodeRgba(bytes, *header, pixels);
    Result<JpegSamples> decoded =
        pixels.ReadJpeg(bytes, *header, JpegChannels::kRgb, JpegReduction(*header, shownScale));
    if (!decoded) return decoded.error();
    return ColourPicture{static_cast<int>(decoded->width), static_cast<int>(decoded->height),
                         std::move(decoded->samples), decoded->reduction};
}

Result<PixelRequest> TracingPixelRequest(std::string_view bytes, const ShownScale& shownScale) {
    const Result<PictureHeader> header =
        HasColourDecoder(bytes) ? ColourHeader(bytes) : ReadPictureHeader(bytes);
    if (!header) return header.error();
    PixelRequest request{DecodedByPixelSource(header->format), header->format};
    if (!request.fromSource) return request;
    if (Status size = CheckPictureSize(header->width, header->height); !size) return size.error();
    const int reduction = JpegReduction(*header, shownScale);
    request.width = ReducedSize(header->width, reduction);
    request.height = ReducedSize(header->height, reduction);
    request.reduction = reduction;
    return request;
}

Result<TracingPicture> DecodeTracingPicture(std::string_view bytes, const PixelSource& pixels,
                                            const ShownScale& shownScale) {
    TracingPicture read;
    if (HasColourDecoder(bytes)) {
        Result<ColourPicture> picture = DecodeColourPicture(bytes, pixels, shownScale);
        if (!picture) return picture.error();
        read.inColour = true;
        read.colour = std::move(*picture);
        return read;
    }
    Result<GreyPicture> picture = DecodePicture(bytes, pixels);
    if (!picture) return picture.error();
    read.grey = std::move(*picture);
    return read;
}

Result<TracingPicture> ReadTracingPicture(const std::string& path, const PixelSource& pixels,
                                          const ShownScale& shownScale) {
    // No picture within the decoding limit has a larger file.
    const Result<std::string> bytes = ReadFileBytes(path, kMaxPictureBytes);
    if (!bytes) return bytes.error();
    Result<TracingPicture> picture = DecodeTracingPicture(*bytes, pixels, shownScale);
    if (!picture) return picture.error().WithPath(InputName(path));
    return picture;
}

}  // namespace fudeline
