// The decoding libraries behind LibraryPixels, one file each (png_rgba.cpp,
// jpeg_samples.cpp, webp_picture.cpp, gif_picture.cpp). Each is given the
// header the core read, refuses a file whose library reads another size,
// and bounds its own memory. Errors carry no path.
#pragma once

#include <string_view>

#include "io/pixel_source.h"

namespace fudeline::library_decoders {

// libpng, row by row, holding one row: a picture's pixels go straight where
// they are wanted, without an RGBA copy of the whole picture.
Status ReadPngRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take);

// libjpeg. Refuses damaged data (libjpeg would otherwise fill it with grey
// and report success), too many scans, and a picture whose decoding would
// take more memory than allowed. CMYK is turned to RGB (and grey) as Adobe
// writes it.
Result<JpegSamples> DecodeJpegSamples(std::string_view bytes, const PictureHeader& header,
                                      JpegChannels channels, int reduction);

// libwebp, a still picture.
Status ReadWebpRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take);

// giflib, the first frame only, line by line into the logical screen.
Status ReadGifRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take);

}  // namespace fudeline::library_decoders
