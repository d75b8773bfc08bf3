#include "io/picture_header.h"
#include "io/io_errors.h"

#include <optional>
#include <string>

namespace fudeline {
namespace {

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) << 24 | Byte(bytes, at + 1) << 16 | Byte(bytes, at + 2) << 8 |
           Byte(bytes, at + 3);
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | Byte(bytes, at + i);
    return value;
}

Error Refuse(const ErrorKind& kind) {
    return Error{"", kind};
}

// Signature (8 bytes), then the IHDR chunk: length 13, "IHDR", width, height.
Result<PictureHeader> PngHeader(std::string_view bytes) {
    if (bytes.size() < 33 || BigEndian32(bytes, 8) != 13 || bytes.substr(12, 4) != "IHDR") {
        return Refuse(kinds::PngWithoutHeader);
    }
    const std::uint32_t width = BigEndian32(bytes, 16);
    const std::uint32_t height = BigEndian32(bytes, 20);
    // PNG allows sizes up to 2^31 - 1.
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return Refuse(kinds::PngWithoutSize);
    }
    return PictureHeader{PictureFormat::Png, width, height};
}

// The frame size of a JPEG's start-of-frame segment, walking the markers
// before it; nothing when they end first or the scan starts without one.
Result<PictureHeader> JpegHeader(std::string_view bytes) {
    std::size_t at = 2;
    while (at + 9 < bytes.size()) {
        if (Byte(bytes, at) != 0xFF) break;
        const std::uint32_t marker = Byte(bytes, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const std::size_t length = Byte(bytes, at + 2) << 8 | Byte(bytes, at + 3);
        // SOF0-SOF15 but DHT (C4), JPG (C8) and DAC (CC), which share the range.
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            const PictureHeader header{PictureFormat::Jpeg,
                                       Byte(bytes, at + 7) << 8 | Byte(bytes, at + 8),
                                       Byte(bytes, at + 5) << 8 | Byte(bytes, at + 6)};
            // A height of 0 leaves it to a later marker (DNL), which libjpeg
            // does not read either.
            if (header.width == 0 || header.height == 0) {
                return Refuse(kinds::JpegWithoutSize);
            }
            return header;
        }
        if (marker == 0xD9 || marker == 0xDA || length < 2) break;
        at += 2 + length;
    }
    return Refuse(kinds::JpegWithoutFrameHeader);
}

// RIFF header (12 bytes), then the first chunk: its type and size, and the
// frame or canvas size at the start of its data (offset 20).
Result<PictureHeader> WebpHeader(std::string_view bytes) {
    if (bytes.size() >= 30 && bytes.substr(12, 4) == "VP8X") {
        // An extended header's flags say whether it moves; the first frame
        // alone would trace as if it were the picture.
        if (Byte(bytes, 20) & 0x02) return Refuse(kinds::WebpAnimated);
        return PictureHeader{PictureFormat::Webp, LittleEndian(bytes, 24, 3) + 1,
                             LittleEndian(bytes, 27, 3) + 1};
    }
    // Lossy: a frame tag (3 bytes), the start code 9D 01 2A, then 14-bit
    // width and height, each beside two bits of scaling.
    if (bytes.size() >= 30 && bytes.substr(12, 4) == "VP8 " && Byte(bytes, 23) == 0x9D &&
        Byte(bytes, 24) == 0x01 && Byte(bytes, 25) == 0x2A) {
        const std::uint32_t width = LittleEndian(bytes, 26, 2) & 0x3FFF;
        const std::uint32_t height = LittleEndian(bytes, 28, 2) & 0x3FFF;
        if (width > 0 && height > 0) return PictureHeader{PictureFormat::Webp, width, height};
    }
    // Lossless: the signature byte 2F, then width - 1 and height - 1 in 14 bits each.
    if (bytes.size() >= 25 && bytes.substr(12, 4) == "VP8L" && Byte(bytes, 20) == 0x2F) {
        const std::uint32_t bits = LittleEndian(bytes, 21, 4);
        return PictureHeader{PictureFormat::Webp, (bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1};
    }
    return Refuse(kinds::NotReadableWebp);
}

// "GIF87a" or "GIF89a", then the logical screen's width and height.
Result<PictureHeader> GifHeader(std::string_view bytes) {
    if (bytes.size() < 10) return Refuse(kinds::GifWithoutScreenSize);
    return PictureHeader{PictureFormat::Gif, LittleEndian(bytes, 6, 2), LittleEndian(bytes, 8, 2)};
}

}  // namespace

bool DecodedByPixelSource(PictureFormat format) {
    return format == PictureFormat::Png || format == PictureFormat::Jpeg ||
           format == PictureFormat::Webp || format == PictureFormat::Gif;
}

Result<PictureHeader> ReadPictureHeader(std::string_view bytes) {
    const PictureFormat format = SniffPictureFormat(bytes);
    switch (format) {
        case PictureFormat::Png:
            return PngHeader(bytes);
        case PictureFormat::Jpeg:
            return JpegHeader(bytes);
        case PictureFormat::Webp:
            return WebpHeader(bytes);
        case PictureFormat::Gif:
            return GifHeader(bytes);
        case PictureFormat::Bmp:
        case PictureFormat::Pnm:
            return PictureHeader{format};
        case PictureFormat::Unknown:
            break;
    }
    return Error{"", kinds::NotAPicture};
}

}  // namespace fudeline
