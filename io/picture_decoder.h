// Pictures of any common format as grey levels, for line extraction: PNG, JPEG,
// WebP, GIF (its first frame), BMP and PNM, told apart by their first bytes.
// Transparent parts become white paper. Every picture's size is checked from
// its header first, and one that would decode past kMaxPictureBytes is
// refused before any pixel is decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "errors/result.h"
#include "io/pixel_source.h"
#include "pixels/grey_picture.h"

namespace fudeline {

// 256 MB of 32-bit pixels, as the window's picture library allows.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{256} << 20;

// The pixels of PNG, JPEG, WebP and GIF come from `pixels`. Errors say what
// is wrong with the bytes and carry no path.
Result<GreyPicture> DecodePicture(std::string_view bytes, const PixelSource& pixels);

}  // namespace fudeline
