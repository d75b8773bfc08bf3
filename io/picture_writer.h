// Pictures out as PNG bytes: the traced ink layer (which `convert` and the
// window's open command read back) and grey pictures. io/file_bytes.h writes them.
#pragma once

#include <string>

#include "pixels/grey_picture.h"
#include "pixels/image.h"
#include "pixels/result.h"

namespace fudeline {

// 8-bit grey PNG bytes.
Result<std::string> EncodeGreyPng(const GreyPicture& picture);

// The ink image as a PNG whose black pixels are its black pixels and every
// other pixel white, so reading it back gives the same ink.
Result<std::string> EncodeInkPng(const Image& ink);

}  // namespace fudeline
