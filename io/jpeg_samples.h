// JPEG bytes to grey or RGB samples through libjpeg: the one JPEG reader
// behind the grey and the colour picture decoders, so that both refuse the
// same damaged and hostile files and decode within the same memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "pixels/result.h"

namespace fudeline::picture_formats {

// Samples a pixel: one grey level, or red, green and blue.
enum class JpegChannels { kGrey = 1, kRgb = 3 };

struct JpegSamples {
    std::uint32_t width = 0;  // as decoded, after any reduction
    std::uint32_t height = 0;
    int reduction = 1;  // the file's pixels across (and down) one pixel here stands for
    std::vector<std::uint8_t> samples;  // width * height * channels, rows top to bottom
};

// Sees the file's size, already within the picture limit, and says by how
// much to shrink the picture while decoding: 1, 2, 4 or 8.
using JpegReduction = std::function<int(std::uint32_t width, std::uint32_t height)>;

// Refuses a picture past the size limit before decoding it, damaged data
// (libjpeg would otherwise fill it with grey and report success), too many
// scans, and a picture whose decoding would take more memory than allowed.
// CMYK is turned to RGB (and grey) as Adobe writes it. Errors carry no path.
Result<JpegSamples> DecodeJpegSamples(std::string_view bytes, JpegChannels channels,
                                      const JpegReduction& reductionFor = {});

}  // namespace fudeline::picture_formats
