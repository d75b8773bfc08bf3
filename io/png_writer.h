// Pictures out as PNG bytes (files/file_bytes.h writes them): the ink layer as the
// drawing's own file (what ink image reading takes back), grey pictures, and any
// picture such as rendered text art.
#pragma once

#include <string>

#include "errors/result.h"
#include "pixels/grey_picture.h"
#include "pixels/image.h"

namespace fudeline {

// An 8-bit greyscale PNG of `image`: black pixels (ink) black, every other
// pixel white, so the eraser's grey never comes back as anything but blank.
// Fails for an empty image or when encoding fails; errors carry no path.
Result<std::string> EncodeInkPng(const Image& image);

// An 8-bit RGB PNG of `image`, every pixel as it is.
Result<std::string> EncodePng(const Image& image);

// An 8-bit grey PNG of `picture`, every level as it is.
Result<std::string> EncodeGreyPng(const GreyPicture& picture);

// An 8-bit RGBA PNG of `rgba` (four bytes a pixel, red first, straight
// alpha): pictures with transparency, as clip art comes.
Result<std::string> EncodeRgbaPng(int width, int height, const std::uint8_t* rgba);

}  // namespace fudeline
