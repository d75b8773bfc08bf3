// Pictures out as PNG: the traced ink layer (which `convert` and the window's
// open command read back) and grey pictures.
#pragma once

#include <optional>
#include <string>

#include "pixels/grey_picture.h"
#include "pixels/image.h"

namespace fudeline {

// 8-bit grey PNG bytes, or nothing and why.
std::optional<std::string> EncodeGreyPng(const GreyPicture& picture, std::string* error);

// The ink image as a PNG whose black pixels are its black pixels and every
// other pixel white, so reading it back gives the same ink.
std::optional<std::string> EncodeInkPng(const Image& ink, std::string* error);

// Writes `bytes` to `path` through a temporary file beside it, so a failed
// write never leaves half a file under the name; false and why on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string* error);

}  // namespace fudeline
