// Reads an ink image for headless conversion: black pixels are ink.
// PBM (P1 and P4) is read here; PNG's pixels come from a pixel source.
#pragma once

#include <string>
#include <string_view>

#include "errors/result.h"
#include "io/pixel_source.h"
#include "pixels/image.h"

namespace fudeline {

// The formats an ink image may come in, as messages name them.
inline constexpr const char* kInkImageFormats = "PBM (P1 or P4) or PNG";

// Decodes PBM bytes into an image whose ink pixels are black and the rest
// white, keeping at most `maxWidth` x `maxHeight` pixels from the top left.
// Errors say what is malformed and carry no path.
Result<Image> DecodePbm(std::string_view bytes, int maxWidth, int maxHeight);

// The same for PNG, its pixels from `pixels`: a pixel is ink when it is
// opaque-ish (alpha 128 or more) pure black.
Result<Image> DecodePng(std::string_view bytes, int maxWidth, int maxHeight,
                        const PixelSource& pixels);

// What decoding an ink image asks of its pixel source, from the header
// alone (a PNG's pixels at its size; nothing for PBM); refused as
// DecodeInkImage refuses the bytes before decoding.
Result<PixelRequest> InkImagePixelRequest(std::string_view bytes);

// PBM or PNG, chosen by the first bytes.
Result<Image> DecodeInkImage(std::string_view bytes, int maxWidth, int maxHeight,
                             const PixelSource& pixels);

// Whether a decoded ink image holds any ink. A photo or a coloured picture
// decodes to none: opened as a drawing it would only empty the one shown, so
// the faces refuse it and keep the drawing.
bool HoldsInk(const Image& ink);

// Reads and decodes `path` ("-": standard input); errors name the input.
Result<Image> ReadInkImage(const std::string& path, int maxWidth, int maxHeight,
                           const PixelSource& pixels);

}  // namespace fudeline
