// A picture file traced: the one way the command line and the benchmarks
// read a picture for tracing and trace it.
#pragma once

#include <string>
#include <string_view>

#include "lines/trace_picture.h"
#include "pixels/result.h"

namespace fudeline {

// PNG, JPEG and WebP are read in colour (where flat regions of one grey but
// different hues are common), every other format in grey; a JPEG shown much
// smaller is decoded smaller. Fails naming `path` and why it can't be read.
Result<TracedInk> TraceFile(const std::string& path, const TraceOptions& options);

// The same for a picture file's bytes already read (the window's background):
// the same decoding and placement, so the same lines; errors carry no path.
Result<TracedInk> TraceFileBytes(std::string_view bytes, const TraceOptions& options);

}  // namespace fudeline
