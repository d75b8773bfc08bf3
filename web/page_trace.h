// Pictures traced in the page as `fudeline-cli trace` traces a file: the
// core's reader and tracer over the browser's decoded pixels.
#pragma once

#include <emscripten/val.h>

#include <string>

#include "lines/trace_picture.h"
#include "pixels/result.h"
#include "web/picture_browser.h"

namespace fudeline::web {

// `bytes` the picture file; `width` x `height` and `rgba` (a Uint8Array, or
// empty) the browser's decoding of them; `options` {mode: "auto" | "lineart"
// | "photo", scale: percent or null for fitted, x, y: the top left on the
// canvas}. Fails with kNeedsBrowserDecode when the core accepts the file
// and wants the browser's pixels to go on, at `wanted` when that is set.
Result<TracedInk> TracePagePicture(const std::string& bytes, int width, int height,
                                   const emscripten::val& rgba, const emscripten::val& options,
                                   BrowserDecodeSize& wanted);

}  // namespace fudeline::web
