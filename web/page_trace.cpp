#include "web/page_trace.h"

#include <emscripten/val.h>

#include <algorithm>
#include <cmath>

#include "engine/trace_file.h"
#include "lines/trace_options.h"
#include "web/browser_pixels.h"
#include "web/picture_browser.h"

namespace fudeline::web {
namespace {

TraceOptions OptionsOf(const emscripten::val& options) {
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

}  // namespace

Result<TracedInk> TracePagePicture(const std::string& bytes, int width, int height,
                                   const emscripten::val& rgba, const emscripten::val& options,
                                   BrowserDecodeSize& wanted) {
    BrowserPixels& pending = BrowserPixels::Pending();
    pending = {};
    BrowserDecodeSize::Wanted() = {};
    const std::size_t size = std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)) * 4;
    if (size > 0 && rgba["length"].as<std::size_t>() == size) {
        pending.width = static_cast<std::uint32_t>(width);
        pending.height = static_cast<std::uint32_t>(height);
        // Straight from the page's array into the module's memory: a camera
        // picture's pixels are tens of megabytes.
        pending.rgba.resize(size);
        emscripten::val(emscripten::typed_memory_view(size, pending.rgba.data()))
            .call<void>("set", rgba);
    }
    Result<TracedInk> traced = TraceFileBytes(bytes, OptionsOf(options));
    pending = {};
    wanted = BrowserDecodeSize::Wanted();
    return traced;
}

}  // namespace fudeline::web
