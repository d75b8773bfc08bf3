// The core's values as JavaScript sees them (embind): byte strings as
// Uint8Array copies, pictures as RGBA bytes, and a failure as the fields the
// page words it from.
#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include "errors/result.h"
#include "io/decoded_pixels.h"
#include "io/pixel_source.h"
#include "pixels/image.h"

namespace fudeline::web {

// A Uint8Array holding a copy of `bytes`.
emscripten::val BytesOf(const std::string& bytes);

// A view of `bytes` in the module's memory, valid until they change.
emscripten::val ViewOf(const std::vector<std::uint8_t>& bytes);

// 0x00RRGGBB pixels as a canvas's RGBA bytes, every pixel opaque.
void ToRgba(const Image& image, std::vector<std::uint8_t>& rgba);

// RGBA bytes of a `width` x `height` picture as pixels (alpha dropped); an
// empty image when there are too few bytes.
Image FromRgba(int width, int height, const std::string& rgba);

// `out` with the failure set as the page reads it: `error` the core's
// English reason, `kind` its kind's name and `args` its arguments, for
// the page to word in Japanese (reasons.js). Returns `out`.
emscripten::val& SetFailure(emscripten::val& out, const Error& error);

// {error: ""}: the answer of a command that may fail, before it has.
emscripten::val Answer();

// The browser's decoding of a picture, `pixels` {width, height, data} with
// `data` RGBA bytes (a Uint8Array or Uint8ClampedArray), as a pixel source;
// null, or anything else, gives none.
DecodedPixels PixelsOf(const emscripten::val& pixels);

// What a reader asks of the browser's decoder: {error: "", decode, width,
// height, reduction}, or the failure.
emscripten::val RequestOf(const Result<PixelRequest>& request);

}  // namespace fudeline::web
