#include "io/ink_image.h"

#include <utility>

#include "files/file_bytes.h"
#include "io/io_errors.h"
#include "io/picture_signature.h"
#include "io/pnm_fields.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

// PNG pictures larger than this are refused before decoding (about 256 MB).
constexpr std::uint64_t kMaxPngPixels = std::uint64_t{64} << 20;
template <typename... Values>
Error Fail(const ErrorKind& kind, Values&&... values) {
    return Error{"", kind, std::forward<Values>(values)...};
}

bool HasPbmMagic(std::string_view bytes) {
    return bytes.size() >= 2 && bytes[0] == 'P' && (bytes[1] == '1' || bytes[1] == '4');
}

}  // namespace

Result<Image> DecodePbm(std::string_view bytes, int maxWidth, int maxHeight) {
    if (!HasPbmMagic(bytes)) return Fail(kinds::NotPbm);
    const bool binary = bytes[1] == '4';
    PnmFields reader{bytes};
    std::uint64_t width = 0, height = 0;
    if (!reader.Number(width, 0x7FFFFFFF) || !reader.Number(height, 0x7FFFFFFF)) {
        return Fail(kinds::PbmWithoutSize);
    }
    const int keptWidth =
        static_cast<int>(std::min<std::uint64_t>(width, static_cast<std::uint32_t>(maxWidth)));
    const int keptHeight =
        static_cast<int>(std::min<std::uint64_t>(height, static_cast<std::uint32_t>(maxHeight)));
    Image image(keptWidth, keptHeight);

    if (binary) {
        // Exactly one white-space byte separates the header from the bits.
        if (reader.pos >= bytes.size()) return Fail(kinds::PbmTruncated);
        std::size_t pos = reader.pos + 1;
        const std::uint64_t rowBytes = (std::uint64_t{width} + 7) / 8;
        if (bytes.size() - std::min(pos, bytes.size()) < rowBytes * height) {
            return Fail(kinds::PbmTruncated);
        }
        for (int y = 0; y < keptHeight; ++y) {
            const auto* row = reinterpret_cast<const unsigned char*>(
                bytes.data() + pos + rowBytes * static_cast<std::uint64_t>(y));
            for (int x = 0; x < keptWidth; ++x) {
                if (row[x / 8] & (0x80 >> (x % 8))) image.SetPixel(x, y, kBlack);
            }
        }
        return image;
    }

    const std::uint64_t total = std::uint64_t{width} * height;
    for (std::uint64_t index = 0; index < total; ++index) {
        reader.SkipSeparators();
        if (reader.pos >= bytes.size()) return Fail(kinds::PbmTruncated);
        const char bit = bytes[reader.pos++];
        if (bit != '0' && bit != '1') return Fail(kinds::PbmNotBit);
        const int x = static_cast<int>(index % width);
        const std::uint64_t y = index / width;
        if (bit == '1' && x < keptWidth && y < static_cast<std::uint64_t>(keptHeight)) {
            image.SetPixel(x, static_cast<int>(y), kBlack);
        }
    }
    return image;
}

// A PNG's header, its size within the limit.
Result<PictureHeader> PngHeader(std::string_view bytes) {
    Result<PictureHeader> header = ReadPictureHeader(bytes);
    if (!header) return header;
    if (std::uint64_t{header->width} * header->height > kMaxPngPixels) {
        return Fail(kinds::InkPngTooLarge, header->width, header->height);
    }
    return header;
}

Result<Image> DecodePng(std::string_view bytes, int maxWidth, int maxHeight,
                        const PixelSource& pixels) {
    if (SniffPictureFormat(bytes) != PictureFormat::Png) return Fail(kinds::NotPng);
    const Result<PictureHeader> header = PngHeader(bytes);
    if (!header) return header.error();
    const auto keptWidth =
        std::min<std::uint32_t>(header->width, static_cast<std::uint32_t>(maxWidth));
    const auto keptHeight =
        std::min<std::uint32_t>(header->height, static_cast<std::uint32_t>(maxHeight));
    Image image(static_cast<int>(keptWidth), static_cast<int>(keptHeight));
    const Status read = pixels.ReadRgba(bytes, *header, [&](const RgbaRowPart& part) {
        if (part.y >= keptHeight) return;
        for (std::uint32_t i = 0; i < part.count; ++i) {
            const std::uint32_t x = part.firstX + i * part.stepX;
            if (x >= keptWidth) break;
            const std::uint8_t* p = part.rgba + std::size_t{i} * 4;
            if (p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] >= 128) {
                image.SetPixel(static_cast<int>(x), static_cast<int>(part.y), kBlack);
            }
        }
    });
    if (!read) return read.error();
    return image;
}

Result<PixelRequest> InkImagePixelRequest(std::string_view bytes) {
    if (SniffPictureFormat(bytes) == PictureFormat::Png) {
        const Result<PictureHeader> header = PngHeader(bytes);
        if (!header) return header.error();
        return PixelRequest{true, PictureFormat::Png, header->width, header->height};
    }
    if (HasPbmMagic(bytes)) return PixelRequest{false, PictureFormat::Pnm};
    return Fail(kinds::NotInkImage);
}

Result<Image> DecodeInkImage(std::string_view bytes, int maxWidth, int maxHeight,
                             const PixelSource& pixels) {
    if (SniffPictureFormat(bytes) == PictureFormat::Png) {
        return DecodePng(bytes, maxWidth, maxHeight, pixels);
    }
    if (HasPbmMagic(bytes)) return DecodePbm(bytes, maxWidth, maxHeight);
    return Fail(kinds::NotInkImage);
}

Result<Image> ReadInkImage(const std::string& path, int maxWidth, int maxHeight,
                           const PixelSource& pixels) {
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::move(bytes).error();
    Result<Image> image = DecodeInkImage(*bytes, maxWidth, maxHeight, pixels);
    if (!image) return image.error().WithPath(InputName(path));
    return image;
}

bool HoldsInk(const Image& ink) {
    for (int y = 0; y < ink.height(); ++y) {
        const std::uint32_t* row = ink.Row(y);
        for (int x = 0; x < ink.width(); ++x) {
            if (row[x] == kBlack) return true;
        }
    }
    return false;
}

}  // namespace fudeline
