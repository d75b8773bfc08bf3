// The second of the two steps a picture is read in: its pixels, once its
// header (picture_header.h) has been read and its size accepted. Debian's
// decoders give them on the desktop (library_pixels.h); in the page the
// browser does, having decoded the same bytes (decoded_pixels.h). The
// core reads the header, chooses the size, and does everything with the
// pixels, whichever source gave them.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "errors/result.h"
#include "io/picture_header.h"

namespace fudeline {

// Part of a row of 8-bit RGBA pixels (not premultiplied): `count` pixels for
// row `y`, at x = firstX, firstX + stepX, ... An interlaced PNG arrives in
// seven passes of such sparse rows, a GIF frame in the rows and columns it
// covers, anything else in whole rows (firstX 0, stepX 1).
struct RgbaRowPart {
    std::uint32_t y = 0;
    std::uint32_t firstX = 0;
    std::uint32_t stepX = 1;
    std::uint32_t count = 0;
    const std::uint8_t* rgba = nullptr;
};
using RgbaRows = std::function<void(const RgbaRowPart&)>;

// Samples a pixel: one grey level, or red, green and blue.
enum class JpegChannels { kGrey = 1, kRgb = 3 };

// A JPEG decoded, perhaps shrunk while decoding (as libjpeg scales by 1/2,
// 1/4 or 1/8), which is several times quicker for a camera picture.
struct JpegSamples {
    std::uint32_t width = 0;  // as decoded, after any reduction
    std::uint32_t height = 0;
    int reduction = 1;  // the file's pixels across (and down) one pixel here stands for
    std::vector<std::uint8_t> samples;  // width * height * channels, rows top to bottom
};

// A side of `size` pixels shrunk by `reduction`, rounded up as libjpeg
// rounds it.
inline std::uint32_t ReducedSize(std::uint32_t size, int reduction) {
    const auto r = static_cast<std::uint32_t>(reduction);
    return (size + r - 1) / r;
}

// What a reader asks of a pixel source for some bytes, known from their
// header alone: whether their pixels come from one at all (not for the
// formats the core decodes itself), and at which size (a JPEG shown small is
// wanted smaller than stored).
struct PixelRequest {
    bool fromSource = false;
    PictureFormat format = PictureFormat::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int reduction = 1;  // a JPEG's: the stored pixels across one wanted pixel stands for
};

class PixelSource {
  public:
    virtual ~PixelSource() = default;

    // The pixels of a PNG, WebP or GIF whose header read `header`, at its
    // size, handed to `take` part by part; a GIF's first frame on its
    // screen, transparent where the frame leaves the screen bare. Errors
    // (damage, a size other than the header's) carry no path.
    virtual Status ReadRgba(std::string_view bytes, const PictureHeader& header,
                            const RgbaRows& take) const = 0;

    // A JPEG whose header read `header`, as `channels`, shrunk by
    // `reduction` (1, 2, 4 or 8).
    virtual Result<JpegSamples> ReadJpeg(std::string_view bytes, const PictureHeader& header,
                                         JpegChannels channels, int reduction) const = 0;
};

}  // namespace fudeline
