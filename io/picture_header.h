// The first of the two steps every picture is read in: what its header says,
// format and size, before any pixel is decoded, so that a reader refuses a
// picture it cannot take before decoding it. The pixels come second, from a
// PixelSource (pixel_source.h). The header is read by the core alone, in the
// page as on the desktop.
#pragma once

#include <cstdint>
#include <string_view>

#include "errors/result.h"
#include "io/io_errors.h"
#include "io/picture_signature.h"

namespace fudeline {

struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    // As stored; zero for the formats the core decodes from their bytes
    // alone (BMP, PNM), whose decoders read their own headers.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Whether a picture of `format` takes its pixels from a PixelSource (PNG,
// JPEG, WebP, GIF: formats of their own libraries) rather than from the
// core's own decoder (BMP, PNM).
bool DecodedByPixelSource(PictureFormat format);

// The format by the first bytes and, for the formats a pixel source decodes,
// the size from the header: PNG's IHDR, a JPEG's frame header, a WebP's
// VP8, VP8L or VP8X chunk, a GIF's logical screen. An animated WebP is
// refused here, as no reader takes one. Errors carry no path; unknown bytes
// are kinds::NotAPicture.
Result<PictureHeader> ReadPictureHeader(std::string_view bytes);

}  // namespace fudeline
