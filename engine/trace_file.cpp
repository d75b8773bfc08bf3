#include "engine/trace_file.h"

#include "io/colour_picture.h"
#include "lines/trace_options.h"

namespace fudeline {

namespace {

Result<TracedInk> Trace(const Result<TracingPicture>& picture, const TraceOptions& options) {
    if (!picture) return picture.error();
    return picture->inColour ? TracePicture(picture->colour, options)
                             : TracePicture(picture->grey, options);
}

}  // namespace

Result<TracedInk> TraceFileBytes(std::string_view bytes, const TraceOptions& options) {
    return Trace(DecodeTracingPicture(bytes, [&](int width, int height) {
                     return PlacementScale(width, height, options.placement);
                 }),
                 options);
}

Result<TracedInk> TraceFile(const std::string& path, const TraceOptions& options) {
    const Result<TracingPicture> picture = ReadTracingPicture(path, [&](int width, int height) {
        return PlacementScale(width, height, options.placement);
    });
    return Trace(picture, options);
}

}  // namespace fudeline
