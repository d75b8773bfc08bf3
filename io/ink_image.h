// Reads an ink image for headless conversion: black pixels are ink.
// PBM (P1 and P4) is read here; PNG through libpng.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pixels/image.h"

namespace fudeline {

// Decodes PBM bytes into an image whose ink pixels are black and the rest
// white, keeping at most `maxWidth` x `maxHeight` pixels from the top left.
// On malformed input returns nothing and says why.
std::optional<Image> DecodePbm(std::string_view bytes, int maxWidth, int maxHeight,
                               std::string* error);

// The same for PNG: a pixel is ink when it is opaque-ish (alpha 128 or more) pure black.
std::optional<Image> DecodePng(std::string_view bytes, int maxWidth, int maxHeight,
                               std::string* error);

// Reads the file at `path`, PBM or PNG by its first bytes.
std::optional<Image> ReadInkImage(const std::string& path, int maxWidth, int maxHeight,
                                  std::string* error);

}  // namespace fudeline
