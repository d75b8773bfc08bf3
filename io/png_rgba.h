// PNG bytes to 8-bit RGBA through libpng: the one PNG reader behind both the
// ink image reader and the picture decoder, which then read the pixels each
// their own way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pixels/result.h"

namespace fudeline {

struct RgbaPixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;  // four bytes a pixel, rows top to bottom
};

// `accept` sees the size from the header before anything is decoded and may
// refuse it. `noun` names the file in the other messages ("image", "picture").
Result<RgbaPixels> DecodePngRgba(std::string_view bytes, const std::string& noun,
                                 const std::function<Status(std::uint32_t, std::uint32_t)>& accept);

}  // namespace fudeline
