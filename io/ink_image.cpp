#include "io/ink_image.h"

#include <png.h>

#include <cstring>
#include <utility>

#include "io/file_bytes.h"
#include "io/pnm_fields.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

// PNG pictures larger than this are refused before decoding (about 256 MB).
constexpr std::uint64_t kMaxPngPixels = std::uint64_t{64} << 20;
Error Fail(const std::string& why) {
    return Error{"", why};
}

bool HasPngSignature(std::string_view bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1A\n", 8) == 0;
}

bool HasPbmMagic(std::string_view bytes) {
    return bytes.size() >= 2 && bytes[0] == 'P' && (bytes[1] == '1' || bytes[1] == '4');
}

}  // namespace

Result<Image> DecodePbm(std::string_view bytes, int maxWidth, int maxHeight) {
    if (!HasPbmMagic(bytes)) return Fail("not a PBM image (P1 or P4)");
    const bool binary = bytes[1] == '4';
    PnmFields reader{bytes};
    std::uint64_t width = 0, height = 0;
    if (!reader.Number(width, 0x7FFFFFFF) || !reader.Number(height, 0x7FFFFFFF)) {
        return Fail("PBM header has no valid width and height");
    }
    const int keptWidth =
        static_cast<int>(std::min<std::uint64_t>(width, static_cast<std::uint32_t>(maxWidth)));
    const int keptHeight =
        static_cast<int>(std::min<std::uint64_t>(height, static_cast<std::uint32_t>(maxHeight)));
    Image image(keptWidth, keptHeight);

    if (binary) {
        // Exactly one white-space byte separates the header from the bits.
        if (reader.pos >= bytes.size()) return Fail("PBM image is truncated");
        std::size_t pos = reader.pos + 1;
        const std::uint64_t rowBytes = (std::uint64_t{width} + 7) / 8;
        if (bytes.size() - std::min(pos, bytes.size()) < rowBytes * height) {
            return Fail("PBM image is truncated");
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
        if (reader.pos >= bytes.size()) return Fail("PBM image is truncated");
        const char bit = bytes[reader.pos++];
        if (bit != '0' && bit != '1') return Fail("PBM image holds a byte that is not 0 or 1");
        const int x = static_cast<int>(index % width);
        const std::uint64_t y = index / width;
        if (bit == '1' && x < keptWidth && y < static_cast<std::uint64_t>(keptHeight)) {
            image.SetPixel(x, static_cast<int>(y), kBlack);
        }
    }
    return image;
}

Result<Image> DecodePng(std::string_view bytes, int maxWidth, int maxHeight) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        return Fail(std::string("not a readable PNG image: ") + png.message);
    }
    if (std::uint64_t{png.width} * png.height > kMaxPngPixels) {
        png_image_free(&png);
        return Fail("PNG image is too large (" + std::to_string(png.width) + " x " +
                    std::to_string(png.height) + ")");
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        const std::string why = png.message;
        png_image_free(&png);
        return Fail("PNG image could not be decoded: " + why);
    }
    const int keptWidth = static_cast<int>(std::min<png_uint_32>(png.width, maxWidth));
    const int keptHeight = static_cast<int>(std::min<png_uint_32>(png.height, maxHeight));
    Image image(keptWidth, keptHeight);
    for (int y = 0; y < keptHeight; ++y) {
        const png_byte* row =
            pixels.data() + std::size_t{png.width} * 4 * static_cast<std::size_t>(y);
        for (int x = 0; x < keptWidth; ++x) {
            const png_byte* p = row + 4 * x;
            if (p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] >= 128) image.SetPixel(x, y, kBlack);
        }
    }
    return image;
}

Result<Image> DecodeInkImage(std::string_view bytes, int maxWidth, int maxHeight) {
    if (HasPngSignature(bytes)) return DecodePng(bytes, maxWidth, maxHeight);
    if (HasPbmMagic(bytes)) return DecodePbm(bytes, maxWidth, maxHeight);
    return Fail(std::string("not an image this tool reads: ") + kInkImageFormats);
}

Result<Image> ReadInkImage(const std::string& path, int maxWidth, int maxHeight) {
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::move(bytes).error();
    Result<Image> image = DecodeInkImage(*bytes, maxWidth, maxHeight);
    if (!image) return Error{InputName(path), image.error().reason};
    return image;
}

}  // namespace fudeline
