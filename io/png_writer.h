// Pictures out as PNG: the ink layer as the drawing's own file (what ink image
// reading takes back), and any black-and-white picture such as rendered text art.
#pragma once

#include <optional>
#include <string>

#include "pixels/image.h"

namespace fudeline {

// An 8-bit greyscale PNG of `image`: black pixels (ink) black, every other
// pixel white, so the eraser's grey never comes back as anything but blank.
// Nothing for an empty image or when encoding fails (then `error` says why).
std::optional<std::string> EncodeInkPng(const Image& image, std::string* error);

// An 8-bit RGB PNG of `image`, every pixel as it is.
std::optional<std::string> EncodePng(const Image& image, std::string* error);

}  // namespace fudeline
