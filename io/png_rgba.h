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
using AcceptPngSize = std::function<Status(std::uint32_t width, std::uint32_t height)>;

// Part of a row as libpng hands it over: `count` RGBA pixels for row `y`, at
// x = firstX, firstX + stepX, ... An interlaced picture arrives in seven
// passes of such sparse rows, a plain one in whole rows (firstX 0, stepX 1).
struct RgbaRowPart {
    std::uint32_t y = 0;
    std::uint32_t firstX = 0;
    std::uint32_t stepX = 1;
    std::uint32_t count = 0;
    const std::uint8_t* rgba = nullptr;
};

// Decodes row by row, holding one row: a picture's pixels can go straight
// where they are wanted, without an RGBA copy of the whole picture.
Status ReadPngRows(std::string_view bytes, const std::string& noun, const AcceptPngSize& accept,
                   const std::function<void(const RgbaRowPart&)>& take);

// The whole picture as RGBA, for the small pictures (ink images) that want it.
Result<RgbaPixels> DecodePngRgba(std::string_view bytes, const std::string& noun,
                                 const AcceptPngSize& accept);

}  // namespace fudeline
