// What the page reads besides its session (embind): the board table and the
// rule for custom limits, the canvas's size and fit, the faint picture's
// levels, the core's limits on a picture shown under the canvas, and the
// core's reasons in Japanese.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "engine/error_kinds.h"
#include "engine/open_text_art.h"
#include "errors/reasons.h"
#include "export/boards.h"
#include "io/colour_picture.h"
#include "io/io_errors.h"
#include "io/picture_decoder.h"
#include "pixels/geometry.h"
#include "web/js_values.h"

namespace fudeline::web {
namespace {

// The board table for the page's list and counter, in its order (the first is
// the default): [{name, pageName, englishName, limits: [bytes, lines, bytes a line]}].
emscripten::val Boards() {
    emscripten::val boards = emscripten::val::array();
    for (const BoardProfile& board : kBoardProfiles) {
        emscripten::val limits = emscripten::val::array();
        limits.call<void>("push", static_cast<double>(board.limits.maxBytes));
        limits.call<void>("push", static_cast<double>(board.limits.maxLines));
        limits.call<void>("push", static_cast<double>(board.limits.maxLineBytes));
        emscripten::val row = emscripten::val::object();
        row.set("name", std::string(board.name));
        row.set("pageName", std::string(board.pageName));
        row.set("englishName", std::string(board.englishName));
        row.set("limits", limits);
        boards.call<void>("push", row);
    }
    return boards;
}

// Custom board limits by the command line's rule: one measure as the page's
// field holds it (a number, or null when refused), and the whole as --board
// writes it ([bytes, lines, bytes a line], or null).
emscripten::val ParseBoardLimitField(const std::string& text) {
    const std::optional<std::int64_t> value = ParseBoardLimit(text);
    return value ? emscripten::val(static_cast<double>(*value)) : emscripten::val::null();
}
emscripten::val ParseCustomLimits(const std::string& text) {
    const std::optional<BoardLimits> limits = ParseBoardLimits(text);
    if (!limits || FindBoard(text)) return emscripten::val::null();
    emscripten::val out = emscripten::val::array();
    for (const std::int64_t v : {limits->maxBytes, limits->maxLines, limits->maxLineBytes}) {
        out.call<void>("push", static_cast<double>(v));
    }
    return out;
}

// The size a `width` x `height` picture is shown at to fit the canvas, as the
// window shows it and trace places it: [width, height].
emscripten::val CanvasFitSize(int width, int height) {
    emscripten::val size = emscripten::val::array();
    if (width <= 0 || height <= 0) return size;
    const double scale = CanvasFitScale(width, height);
    size.call<void>("push", std::max(1, static_cast<int>(std::lround(width * scale))));
    size.call<void>("push", std::max(1, static_cast<int>(std::lround(height * scale))));
    return size;
}

// Each channel level (0-255) as the core shows it faint, for the page to fade
// the picture under the canvas as the window fades it: 256 bytes.
emscripten::val FaintLevels() {
    std::string levels(256, '\0');
    for (int level = 0; level < 256; ++level) levels[level] = static_cast<char>(FaintLevel(level));
    return BytesOf(levels);
}

// Whether a picture file's bytes may be shown under the canvas: the core
// reads its header and refuses, by its reason, what is no picture or what
// would decode past the core's picture limit, before the browser decodes a
// pixel (a picture the tracer would refuse is not shown either).
emscripten::val PictureRequest(const std::string& bytes) {
    return RequestOf(TracingPixelRequest(bytes));
}

// The core's reason of the kind named `kind` with its arguments (a
// failure's `kind` and `args`), worded in Japanese; "" for no kind the core
// declares.
std::string JapaneseReasonOf(const std::string& kind, const emscripten::val& args) {
    const ErrorKind* found = FindCoreErrorKind(kind);
    if (!found) return "";
    Error error{"", *found};
    const int count = args.isArray() ? args["length"].as<int>() : 0;
    for (int i = 0; i < count; ++i) error.args.push_back(args[i].as<std::string>());
    return JapaneseReason(error);
}

}  // namespace

EMSCRIPTEN_BINDINGS(fudeline_tables) {
    emscripten::function("boards", &Boards);
    emscripten::function("canvasFitSize", &CanvasFitSize);
    emscripten::function("faintLevels", &FaintLevels);
    emscripten::function("pictureRequest", &PictureRequest);
    emscripten::constant("canvasWidth", kCanvasWidth);
    emscripten::constant("canvasHeight", kCanvasHeight);
    emscripten::constant("rowHeight", kRowHeight);
    emscripten::function("japaneseReason", &JapaneseReasonOf);
    emscripten::constant("noInk", std::string(kinds::NoInk.name));
    emscripten::constant("notAPicture", std::string(kinds::NotAPicture.name));
    emscripten::constant("maxTextArtFileBytes", static_cast<double>(kMaxTextArtFileBytes));
    emscripten::constant("maxPictureFileBytes", static_cast<double>(kMaxPictureBytes));
    emscripten::constant("maxBoardLimit", static_cast<double>(kMaxBoardLimit));
    emscripten::function("parseBoardLimit", &ParseBoardLimitField);
    emscripten::function("parseBoardLimits", &ParseCustomLimits);
}

}  // namespace fudeline::web
