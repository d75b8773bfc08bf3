// Pictures of any common format as grey levels, for line extraction: PNG, JPEG,
// WebP, GIF (its first frame), BMP and PNM, told apart by their first bytes.
// Transparent parts become white paper. Every decoder checks the size in the
// header first and refuses a picture that would decode past kMaxPictureBytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pixels/grey_picture.h"

namespace fudeline {

// 256 MB of 32-bit pixels, as the window's picture library allows.
inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{256} << 20;

// On failure returns nothing and says why (without the path).
std::optional<GreyPicture> DecodePicture(std::string_view bytes, std::string* error);

// Reads and decodes the file at `path`, or standard input for "-".
std::optional<GreyPicture> ReadPicture(const std::string& path, std::string* error);

}  // namespace fudeline
