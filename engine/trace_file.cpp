#include "engine/trace_file.h"

#include "io/colour_picture.h"
#include "trace/trace_options.h"

namespace fudeline {

namespace {

Result<TracedInk> Trace(const Result<TracingPicture>& picture, const TraceOptions& options) {
    if (!picture) return picture.error();
    return picture->inColour ? TracePicture(picture->colour, options)
                             : TracePicture(picture->grey, options);
}

ShownScale ScaleOf(const TraceOptions& options) {
    return [placement = options.placement](int width, int height) {
        return PlacementScale(width, height, placement);
    };
}

}  // namespace

Result<TracedInk> TraceFileBytes(std::string_view bytes, const TraceOptions& options,
                                 const PixelSource& pixels) {
    return Trace(DecodeTracingPicture(bytes, pixels, ScaleOf(options)), options);
}

Result<TracedInk> TraceFile(const std::string& path, const TraceOptions& options,
                            const PixelSource& pixels) {
    return Trace(ReadTracingPicture(path, pixels, ScaleOf(options)), options);
}

Result<PixelRequest> TracePixelRequest(std::string_view bytes, const TraceOptions& options) {
    return TracingPixelRequest(bytes, ScaleOf(options));
}

}  // namespace fudeline
