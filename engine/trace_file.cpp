#include "engine/trace_file.h"

#include "io/colour_picture.h"
#include "lines/trace_options.h"

namespace fudeline {

Result<TracedInk> TraceFile(const std::string& path, const TraceOptions& options) {
    const Result<TracingPicture> picture = ReadTracingPicture(path, [&](int width, int height) {
        return PlacementScale(width, height, options.placement);
    });
    if (!picture) return picture.error();
    return picture->inColour ? TracePicture(picture->colour, options)
                             : TracePicture(picture->grey, options);
}

}  // namespace fudeline
