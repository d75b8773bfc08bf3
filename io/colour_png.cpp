#include "io/colour_png.h"

#include "io/picture_decoder.h"
#include "io/picture_formats.h"
#include "io/png_rgba.h"

namespace fudeline {

bool IsPngBytes(std::string_view bytes) {
    return bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n";
}

Result<ColourPicture> DecodeColourPng(std::string_view bytes) {
    const Result<RgbaPixels> pixels =
        DecodePngRgba(bytes, "picture", [](std::uint32_t width, std::uint32_t height) -> Status {
            // The grey decoders' limit and words: 4 bytes a pixel within kMaxPictureBytes.
            if (std::uint64_t{width} * height * 4 > kMaxPictureBytes) {
                return picture_formats::Refuse("the picture is too large (" +
                                               std::to_string(width) + " x " +
                                               std::to_string(height) + " pixels)");
            }
            return {};
        });
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

}  // namespace fudeline
