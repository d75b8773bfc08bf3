// A picture file traced: the one way the command line, the window, the page
// and the benchmarks read a picture for tracing and trace it.
#pragma once

#include <string>
#include <string_view>

#include "errors/result.h"
#include "io/pixel_source.h"
#include "trace/trace_picture.h"

namespace fudeline {

// PNG, JPEG and WebP are read in colour (where flat regions of one grey but
// different hues are common), every other format in grey; a JPEG shown much
// smaller is decoded smaller. The pixels of the formats of their own
// libraries come from `pixels`. Fails naming `path` and why it can't be read.
Result<TracedInk> TraceFile(const std::string& path, const TraceOptions& options,
                            const PixelSource& pixels);

// The same for a picture file's bytes already read (the window's background,
// the page's file): the same decoding and placement, so the same lines;
// errors carry no path.
Result<TracedInk> TraceFileBytes(std::string_view bytes, const TraceOptions& options,
                                 const PixelSource& pixels);

// What TraceFileBytes will ask of `pixels` for `bytes` placed by `options`,
// from the header alone (see TracingPixelRequest): the page asks it first,
// so that the browser decodes only a picture the core takes, at the size the
// core wants.
Result<PixelRequest> TracePixelRequest(std::string_view bytes, const TraceOptions& options);

}  // namespace fudeline
