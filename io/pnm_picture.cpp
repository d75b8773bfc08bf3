// Netpbm pictures, plain and raw: bitmaps (P1, P4), grey maps (P2, P5) and
// colour maps (P3, P6), with any maximum value up to 65535.
#include "io/io_errors.h"
#include "io/picture_formats.h"
#include "io/pnm_fields.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodePnm(std::string_view bytes) {
    const char kind = bytes[1];
    const bool raw = kind >= '4';
    const int channels = (kind == '3' || kind == '6') ? 3 : 1;
    const bool bitmap = kind == '1' || kind == '4';
    PnmFields reader{bytes};
    std::uint64_t width = 0, height = 0, maxValue = 1;
    if (!reader.Number(width, 0xFFFFFFFF) || !reader.Number(height, 0xFFFFFFFF) ||
        (!bitmap && !reader.Number(maxValue, 65535)) || maxValue == 0) {
        return Refuse(kinds::PnmWithoutSize);
    }
    auto picture = AllocatePicture(width, height);
    if (!picture) return picture.error();
    auto level = [&](std::uint64_t v) {
        return static_cast<std::uint8_t>(std::min<std::uint64_t>(v, maxValue) * 255 / maxValue);
    };
    const std::size_t pixels = picture->levels.size();

    if (raw) {
        // Exactly one white-space byte separates the header from the samples.
        std::size_t pos = reader.pos + 1;
        const int sampleBytes = maxValue > 255 ? 2 : 1;
        const std::uint64_t rowBytes = bitmap ? (width + 7) / 8 : width * channels * sampleBytes;
        if (pos > bytes.size() || bytes.size() - pos < rowBytes * height) {
            return Refuse(kinds::PictureTruncated, "PNM");
        }
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + pos;
        for (std::size_t i = 0; i < pixels; ++i) {
            const std::size_t x = i % width, y = i / width;
            if (bitmap) {
                const bool ink = data[y * rowBytes + x / 8] & (0x80 >> (x % 8));
                picture->levels[i] = ink ? 0 : 255;
                continue;
            }
            std::uint8_t rgb[3];
            for (int c = 0; c < channels; ++c) {
                const std::uint8_t* s = data + (i * channels + c) * sampleBytes;
                rgb[c] = level(sampleBytes == 2 ? (s[0] << 8 | s[1]) : s[0]);
            }
            picture->levels[i] = channels == 3 ? GreyOf(rgb[0], rgb[1], rgb[2]) : rgb[0];
        }
        return picture;
    }

    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t rgb[3];
        for (int c = 0; c < channels; ++c) {
            std::uint64_t v = 0;
            if (bitmap) {
                reader.SkipSeparators();
                if (reader.pos >= bytes.size() ||
                    (bytes[reader.pos] != '0' && bytes[reader.pos] != '1')) {
                    return Refuse(kinds::PictureTruncatedOrDamaged, "PNM");
                }
                v = bytes[reader.pos++] == '1' ? 0 : 1;
            } else if (!reader.Number(v, 65535)) {
                return Refuse(kinds::PictureTruncatedOrDamaged, "PNM");
            }
            rgb[c] = level(v);
        }
        picture->levels[i] = channels == 3 ? GreyOf(rgb[0], rgb[1], rgb[2]) : rgb[0];
    }
    return picture;
}

}  // namespace fudeline::picture_formats
