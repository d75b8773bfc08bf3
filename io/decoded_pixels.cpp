#include "io/decoded_pixels.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "io/io_errors.h"
#include "pixels/grey_picture.h"

namespace fudeline {
namespace {

const char* FormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png:
            return "PNG";
        case PictureFormat::Jpeg:
            return "JPEG";
        case PictureFormat::Webp:
            return "WebP";
        case PictureFormat::Gif:
            return "GIF";
        default:
            return "";
    }
}

// Nothing decoded, or a picture of another size than the header says (a
// decoder that reads damage otherwise than the libraries).
Error Unreadable(PictureFormat format) {
    return Error{"", kinds::BrowserCannotRead, FormatName(format)};
}

}  // namespace

DecodedPixels::DecodedPixels(std::uint32_t width, std::uint32_t height,
                             std::vector<std::uint8_t> rgba) {
    if (width == 0 || height == 0 || rgba.size() != std::size_t{width} * height * 4) return;
    width_ = width;
    height_ = height;
    rgba_ = std::move(rgba);
}

bool DecodedPixels::Holds(std::uint32_t width, std::uint32_t height) const {
    return !rgba_.empty() && width_ == width && height_ == height;
}

Status DecodedPixels::ReadRgba(std::string_view, const PictureHeader& header,
                               const RgbaRows& take) const {
    if (!Holds(header.width, header.height)) return Unreadable(header.format);
    for (std::uint32_t y = 0; y < height_; ++y) {
        take(RgbaRowPart{y, 0, 1, width_, rgba_.data() + std::size_t{y} * width_ * 4});
    }
    return {};
}

Result<JpegSamples> DecodedPixels::ReadJpeg(std::string_view, const PictureHeader& header,
                                            JpegChannels channels, int reduction) const {
    JpegSamples decoded;
    decoded.reduction = reduction;
    decoded.width = ReducedSize(header.width, reduction);
    decoded.height = ReducedSize(header.height, reduction);
    const bool asWanted = Holds(decoded.width, decoded.height);
    if (!asWanted && !Holds(header.width, header.height)) return Unreadable(header.format);
    decoded.samples.resize(std::size_t{decoded.width} * decoded.height *
                           static_cast<std::size_t>(channels));
    std::uint8_t* out = decoded.samples.data();
    const auto put = [&](const std::uint8_t* rgb) {
        if (channels == JpegChannels::kGrey) {
            *out++ = GreyOf(rgb[0], rgb[1], rgb[2]);
        } else {
            std::memcpy(out, rgb, 3);
            out += 3;
        }
    };
    if (asWanted) {
        for (std::size_t i = 0; i < std::size_t{decoded.width} * decoded.height; ++i) {
            put(&rgba_[i * 4]);
        }
        return decoded;
    }
    const auto r = static_cast<std::uint32_t>(reduction);
    for (std::uint32_t y = 0; y < decoded.height; ++y) {
        const std::uint32_t y1 = std::min(header.height, (y + 1) * r);
        for (std::uint32_t x = 0; x < decoded.width; ++x) {
            const std::uint32_t x1 = std::min(header.width, (x + 1) * r);
            std::uint32_t sum[3] = {0, 0, 0};
            for (std::uint32_t sy = y * r; sy < y1; ++sy) {
                const std::uint8_t* p = rgba_.data() + (std::size_t{sy} * header.width + x * r) * 4;
                for (std::uint32_t sx = x * r; sx < x1; ++sx, p += 4) {
                    sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
                }
            }
            const std::uint32_t n = (y1 - y * r) * (x1 - x * r);
            std::uint8_t rgb[3];
            for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>((sum[c] + n / 2) / n);
            put(rgb);
        }
    }
    return decoded;
}

}  // namespace fudeline
