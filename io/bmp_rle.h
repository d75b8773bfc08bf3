// Run-length encoded BMP pixels (RLE8 and RLE4), as ImageMagick and Windows
// write greyscale and 16-colour pictures. Kept apart from the header reading
// in bmp_picture.cpp because it is a small state machine of its own.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "errors/result.h"
#include "pixels/grey_picture.h"

namespace fudeline::picture_formats {

// Paints `picture` (already allocated, white) from the runs in `data`, with
// 8 or 4 bits an index. Rows run bottom-up unless `topDown`. Pixels the
// runs skip keep the paper; runs past a row's end are cut there. The work
// is bounded by the data's length and the picture's size whatever the data
// claims. Fails when the data ends before the end-of-picture mark.
Status DecodeBmpRuns(std::string_view data, int bits, const std::array<std::uint8_t, 256>& palette,
                     bool topDown, GreyPicture& picture);

}  // namespace fudeline::picture_formats
