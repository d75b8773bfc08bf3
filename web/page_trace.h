// Pictures traced in the page as `fudeline-cli trace` traces a file: the
// core's reader and tracer over the browser's decoded pixels.
#pragma once

#include <emscripten/val.h>

#include <optional>
#include <string>

#include "engine/document.h"
#include "errors/result.h"
#include "io/pixel_source.h"
#include "trace/trace_picture.h"

namespace fudeline::web {

// `options` {mode: "auto" | "lineart" | "photo", scale: percent or null for
// fitted, x, y: the top left on the canvas}.
TraceOptions PageTraceOptions(const emscripten::val& options);

// What tracing `bytes` asks of the browser (see TracePixelRequest).
Result<PixelRequest> PageTraceRequest(const std::string& bytes, const emscripten::val& options);

// `bytes` the picture file; `pixels` the browser's decoding of them as
// PageTraceRequest asked ({width, height, data}), or null. With
// options.fitBoard [bytes, lines, bytes a line] (0: no limit), at the largest
// size whose text with `document`'s choices fits that post
// (FitPictureToBoard; `pixels` then at the stored size), that scale in
// `fittedScale`.
Result<TracedInk> TracePagePicture(const std::string& bytes, const emscripten::val& pixels,
                                   const emscripten::val& options, Document& document,
                                   std::optional<double>& fittedScale);

}  // namespace fudeline::web
