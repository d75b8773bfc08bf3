#include "web/page_trace.h"

#include <emscripten/val.h>

#include <algorithm>
#include <cmath>

#include "engine/fit_board.h"
#include "engine/trace_file.h"
#include "trace/trace_options.h"
#include "web/js_values.h"

namespace fudeline::web {

TraceOptions PageTraceOptions(const emscripten::val& options) {
    TraceOptions trace;
    const std::string mode =
        options["mode"].isString() ? options["mode"].as<std::string>() : std::string("auto");
    trace.mode = mode == "lineart" ? TraceMode::LineArt
                 : mode == "photo" ? TraceMode::Photo
                                   : TraceMode::Auto;
    if (options["scale"].isNumber()) {
        trace.placement.scalePercent =
            std::clamp(options["scale"].as<double>(), kMinScalePercent, kMaxScalePercent);
    }
    if (options["x"].isNumber()) trace.placement.offsetX = options["x"].as<int>();
    if (options["y"].isNumber()) trace.placement.offsetY = options["y"].as<int>();
    return trace;
}

Result<PixelRequest> PageTraceRequest(const std::string& bytes, const emscripten::val& options) {
    return TracePixelRequest(bytes, PageTraceOptions(options));
}

Result<TracedInk> TracePagePicture(const std::string& bytes, const emscripten::val& pixels,
                                   const emscripten::val& options, Document& document,
                                   std::optional<double>& fittedScale) {
    TraceOptions trace = PageTraceOptions(options);
    const DecodedPixels decoded = PixelsOf(pixels);
    const emscripten::val limits = options["fitBoard"];
    if (!limits.isNull() && !limits.isUndefined() && limits["length"].isNumber() &&
        limits["length"].as<int>() == 3) {
        auto limit = [&](int i) {
            return limits[i].isNumber() ? static_cast<std::int64_t>(limits[i].as<double>()) : 0;
        };
        const Result<BoardFit> fit =
            FitPictureToBoard(document, bytes, trace, {limit(0), limit(1), limit(2)}, decoded);
        if (!fit) return fit.error();
        trace.placement.scalePercent = fit->scalePercent;
        fittedScale = fit->scalePercent;
    }
    return TraceFileBytes(bytes, trace, decoded);
}

}  // namespace fudeline::web
