// BMP by hand: Debian has no small BMP decoding library, and the format is a
// header, an optional colour table and rows, plain or run-length encoded.
#include <array>
#include <bit>
#include <cstdlib>

#include "io/bmp_rle.h"
#include "io/io_errors.h"
#include "io/picture_formats.h"

namespace fudeline::picture_formats {
namespace {

std::uint32_t Le(std::string_view bytes, std::size_t pos, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<std::uint8_t>(bytes[pos + static_cast<std::size_t>(i)]);
    }
    return v;
}

// One channel of a bit-field pixel, scaled to 0-255.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

Result<GreyPicture> DecodeBmp(std::string_view bytes) {
    if (bytes.size() < 26) return Refuse(kinds::PictureTruncated, "BMP");
    const std::uint32_t dataOffset = Le(bytes, 10, 4);
    const std::uint32_t headerSize = Le(bytes, 14, 4);
    const bool core = headerSize == 12;
    if (!core && headerSize < 40) return Refuse(kinds::BmpUnknownHeader);
    if (bytes.size() < 14 + std::uint64_t{headerSize}) {
        return Refuse(kinds::PictureTruncated, "BMP");
    }
    std::int64_t width, height;
    std::uint32_t bits, compression = 0, coloursUsed = 0;
    if (core) {
        width = Le(bytes, 18, 2);
        height = Le(bytes, 20, 2);
        bits = Le(bytes, 24, 2);
    } else {
        width = static_cast<std::int32_t>(Le(bytes, 18, 4));
        height = static_cast<std::int32_t>(Le(bytes, 22, 4));
        bits = Le(bytes, 28, 2);
        compression = Le(bytes, 30, 4);
        coloursUsed = Le(bytes, 46, 4);
    }
    const bool topDown = height < 0;
    height = std::abs(height);
    if (width <= 0) return Refuse(kinds::PictureOfFormatWithoutPixels, "BMP");
    const bool bitFields = compression == 3 || compression == 6;
    // RLE8 holds 8-bit indices, RLE4 4-bit ones; nothing else.
    const bool runs = compression == 1 || compression == 2;
    if (runs && bits != (compression == 1 ? 8u : 4u)) {
        return Refuse(kinds::BmpRunLengthOfBits, bits);
    }
    if (compression != 0 && !bitFields && !runs) {
        return Refuse(kinds::BmpCompression, compression);
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return Refuse(kinds::BmpBits, bits);
    }
    auto picture =
        AllocatePicture(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    if (!picture) return picture.error();

    // Masks follow a 40-byte header, or lie inside the larger ones.
    std::array<std::uint32_t, 3> masks{0x7C00, 0x03E0, 0x001F};
    if (bits == 32) masks = {0xFF0000, 0x00FF00, 0x0000FF};
    if (bitFields) {
        if (bytes.size() < 14 + 40 + 12) return Refuse(kinds::PictureTruncated, "BMP");
        masks = {Le(bytes, 54, 4), Le(bytes, 58, 4), Le(bytes, 62, 4)};
    }

    std::array<std::uint8_t, 256> palette{};
    if (bits <= 8) {
        const std::size_t entry = core ? 3 : 4;
        const std::size_t start = 14 + headerSize + (bitFields ? 12 : 0);
        std::size_t count = coloursUsed ? coloursUsed : (std::size_t{1} << bits);
        count = std::min<std::size_t>(count, 256);
        if (bytes.size() < start + count * entry) return Refuse(kinds::PictureTruncated, "BMP");
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t p = start + i * entry;
            palette[i] = GreyOf(static_cast<std::uint8_t>(bytes[p + 2]),
                                static_cast<std::uint8_t>(bytes[p + 1]),
                                static_cast<std::uint8_t>(bytes[p]));
        }
    }

    if (runs) {
        if (dataOffset > bytes.size()) return Refuse(kinds::PictureTruncated, "BMP");
        if (Status painted = DecodeBmpRuns(bytes.substr(dataOffset), static_cast<int>(bits),
                                           palette, topDown, *picture);
            !painted) {
            return painted.error();
        }
        return picture;
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    if (dataOffset > bytes.size() ||
        bytes.size() - dataOffset < stride * static_cast<std::uint64_t>(height)) {
        return Refuse(kinds::PictureTruncated, "BMP");
    }
    for (std::int64_t row = 0; row < height; ++row) {
        const std::size_t start = dataOffset + static_cast<std::size_t>(stride * row);
        const std::int64_t y = topDown ? row : height - 1 - row;
        std::uint8_t* out = picture->levels.data() + static_cast<std::size_t>(y * width);
        for (std::int64_t x = 0; x < width; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            if (bits <= 8) {
                const auto byte = static_cast<std::uint8_t>(bytes[start + bit / 8]);
                const int index = (byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                out[x] = palette[static_cast<std::size_t>(index)];
            } else if (bits == 24) {
                const std::size_t p = start + bit / 8;
                out[x] = GreyOf(static_cast<std::uint8_t>(bytes[p + 2]),
                                static_cast<std::uint8_t>(bytes[p + 1]),
                                static_cast<std::uint8_t>(bytes[p]));
            } else {
                const std::uint32_t pixel = Le(bytes, start + bit / 8, static_cast<int>(bits / 8));
                out[x] = GreyOf(Channel(pixel, masks[0]), Channel(pixel, masks[1]),
                                Channel(pixel, masks[2]));
            }
        }
    }
    return picture;
}

}  // namespace fudeline::picture_formats
