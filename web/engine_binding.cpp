// The drawing session as the browser page sees it (embind): the same ArtState
// the window holds, fed canvas pixels and Shift from Pointer Events and the
// stabilizer setting from the page, with the composed
// canvas, the text and its Shift-JIS bytes, the post count and the ink layer
// handed back as JavaScript values, drawings opened through the core's
// ink-image reader, and the board table and the canvas fit beside them. The
// data files (catalogue, baked face) are packed into the module's file system
// under /data by the build.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/open_text_art.h"
#include "export/boards.h"
#include "export/cells_format.h"
#include "export/export_text.h"
#include "export/post_counter.h"
#include "glyphs/cp932.h"
#include "glyphs/mona_font.h"
#include "io/ink_image.h"
#include "io/page_format.h"
#include "render/text_art_cells.h"
#include "pixels/geometry.h"
#include "pixels/japanese_reasons.h"
#include "render/text_art_picture.h"
#include "session/art_state.h"
#include "session/compose.h"
#include "web/browser_pixels.h"
#include "web/page_trace.h"

namespace fudeline::web {
namespace {

constexpr const char* kDataDirectory = "/data/";

// What openDrawing answers for a picture without a black pixel (a photo):
// opening it would leave an empty drawing in place of the one shown.
constexpr const char* kNoBlackInk = "the picture holds no black ink";

// 0x00RRGGBB pixels to the canvas's RGBA bytes.
void ToRgba(const Image& image, std::vector<std::uint8_t>& rgba) {
    rgba.resize(static_cast<std::size_t>(image.width()) * image.height() * 4);
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width(); ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(row[x] >> 16);
            out[1] = static_cast<std::uint8_t>(row[x] >> 8);
            out[2] = static_cast<std::uint8_t>(row[x]);
            out[3] = 255;
        }
    }
}

emscripten::val BytesOf(const std::string& bytes) {
    // A copy: the view dies with the string.
    const auto view = emscripten::val(emscripten::typed_memory_view(
        bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data())));
    return emscripten::val::global("Uint8Array").new_(view);
}

}  // namespace

// One page's session over its own engine (exported to JavaScript as "Engine").
class Session {
  public:
    Session() {
        Result<Engine> engine =
            Engine::Load({kDataDirectory, std::string(kDataDirectory) + kMonaFontFileName});
        if (!engine) {
            error_ = engine.error();
            return;
        }
        engine_ = std::make_unique<Engine>(std::move(*engine));
        state_ = std::make_unique<ArtState>(engine_->matcher(), &engine_->painter());
    }

    // Why the engine could not start ("" when it did), in the core's English.
    std::string error() const { return error_ ? error_->Message() : ""; }
    // The same for the page to word (japaneseReason): {path, kind, args},
    // the kind an ErrorKind's value; null when the engine started.
    emscripten::val failure() const {
        if (!error_) return emscripten::val::null();
        emscripten::val args = emscripten::val::array();
        for (const std::string& arg : error_->args) args.call<void>("push", arg);
        emscripten::val out = emscripten::val::object();
        out.set("path", error_->path);
        out.set("kind", static_cast<int>(error_->kind));
        out.set("args", args);
        return out;
    }

    // --- Strokes, in canvas pixels; `shift`: Shift held, a straight line
    // (see ArtState::ExtendStroke). Without it, freehand.
    void down(int x, int y, bool shift) { state_->BeginStroke({x, y}, shift); }
    void move(int x, int y, bool shift) { state_->ExtendStroke({x, y}, shift); }
    void down(int x, int y) { down(x, y, false); }
    void move(int x, int y) { move(x, y, false); }
    void up() { state_->EndStroke(); }
    // How strokes are steadied from the next one on: "off", "weak" or
    // "strong", as replay scripts say it. False (nothing changed) for
    // another word.
    bool setStabilizer(const std::string& name) {
        const std::optional<Stabilizer> stabilizer = ParseStabilizer(name);
        if (stabilizer) state_->SetStabilizer(*stabilizer);
        return stabilizer.has_value();
    }
    std::string stabilizer() const { return std::string(StabilizerName(state_->stabilizer())); }
    // A stroke given up (a second finger came down): the drawing goes back to
    // what it was before the stroke, and undo holds that drawing too, so undo
    // cannot bring the abandoned stroke back.
    void cancelStroke() {
        if (!state_->EndStroke()) return;
        state_->RunPendingConversion();
        state_->ExchangeWithUndo();
        state_->SaveUndoSnapshot();
    }
    void togglePen() { state_->TogglePenMode(); }
    bool penMode() const { return state_->penMode(); }
    bool tracing() const { return state_->strokeActive(); }

    // The paint step: converts what is pending and composes the canvas.
    // Returns whether a conversion ran (the text may have changed).
    bool paint() {
        const bool converted = state_->RunPendingConversion();
        CanvasView parts;
        parts.picture = picture_.width() > 0 ? &picture_ : nullptr;
        parts.showRowLines = rowLines_;
        parts.stroke = &state_->preview();
        parts.textLayer = &state_->textLayer();
        ComposeCanvas(parts, view_);
        ToRgba(view_, rgba_);
        return converted;
    }
    // The composed canvas as RGBA bytes (a view into the module's memory,
    // valid until the next paint).
    emscripten::val pixels() const {
        return emscripten::val(emscripten::typed_memory_view(rgba_.size(), rgba_.data()));
    }

    void undo() { state_->ExchangeWithUndo(); }
    void clear() { state_->ClearCanvas(); }
    void setRowLines(bool show) { rowLines_ = show; }

    // The row matcher, or the fine decoder with or without fillers.
    void setFine(bool fine, bool noFillers) {
        state_->SetFineDecoder(
            engine_->Decoder({fine, noFillers ? Spacing::Spaces : Spacing::Fillers}));
    }

    // What Copy gives: the UTF-8 text (lines end "\r\n") and its Shift-JIS bytes.
    std::string text(bool br) const { return ComposeExportUtf8(state_->rows(), br).value_or(""); }
    emscripten::val sjis(bool br) const { return BytesOf(ComposeExportText(state_->rows(), br)); }

    // The post count on a board with these limits (0: no limit).
    emscripten::val countPost(bool br, double maxBytes, double maxLines, double maxLineBytes) const {
        const BoardLimits limits{static_cast<std::int64_t>(maxBytes),
                                 static_cast<std::int64_t>(maxLines),
                                 static_cast<std::int64_t>(maxLineBytes)};
        const PostCount count = CountPost(ComposeExportText(state_->rows(), br), limits);
        emscripten::val result = emscripten::val::object();
        result.set("bytes", static_cast<double>(count.bytes));
        result.set("lines", static_cast<double>(count.lines));
        result.set("longestLine", static_cast<double>(count.longestLine));
        result.set("overBytes", count.overBytes);
        result.set("overLines", count.overLines);
        result.set("overLineBytes", count.overLineBytes);
        return result;
    }

    // --- The drawing as a picture: the ink layer (800 x 464) as RGBA, ink
    // black and everything else white, as the desktop saves it.
    emscripten::val inkRgba() { return InkRgbaOf(state_->inkLayer()); }
    // The same for the drawing undo would bring back: with the drawing, what
    // the page keeps between visits.
    emscripten::val undoInkRgba() { return InkRgbaOf(state_->undoInkLayer()); }
    // The text art drawn as `fudeline-cli render` draws it (the Mona face,
    // 18-pixel rows): {width, height, rgba}, the pixels a view valid until
    // the next call.
    emscripten::val textPicture() {
        const std::string text = ComposeExportText(state_->rows(), false);
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find("\r\n", start), text.size());
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        const Image picture = RenderTextArt(lines, engine_->face());
        ToRgba(picture, pictureRgba_);
        emscripten::val out = emscripten::val::object();
        out.set("width", picture.width());
        out.set("height", picture.height());
        out.set("rgba", emscripten::val(
                            emscripten::typed_memory_view(pictureRgba_.size(), pictureRgba_.data())));
        return out;
    }
    // The opened text the drawing and the one undo brings back keep, for
    // the page to keep with their ink between visits: {rows, opened,
    // undoRows, undoOpened}, the rows in the cells format and which of them
    // keep opened text one "1" or "0" a row; null when neither holds any.
    emscripten::val openedText() const {
        const auto any = [](const OpenedRows& rows) {
            return std::find(rows.begin(), rows.end(), true) != rows.end();
        };
        if (!any(state_->openedRows()) && !any(state_->undoOpenedRows())) {
            return emscripten::val::null();
        }
        const auto marks = [](const OpenedRows& rows) {
            std::string out;
            for (const bool opened : rows) out += opened ? '1' : '0';
            return out;
        };
        emscripten::val out = emscripten::val::object();
        out.set("rows", FormatCells(state_->rows()));
        out.set("opened", marks(state_->openedRows()));
        out.set("undoRows", FormatCells(state_->undoRows()));
        out.set("undoOpened", marks(state_->undoOpenedRows()));
        return out;
    }
    // Over the drawing just opened from its kept ink, the rows openedText
    // gave keep their cells again (no undo step). False, with the drawing
    // left as its ink converts, when what was kept does not read back.
    bool keepOpenedRows(const std::string& cells, const std::string& marks) {
        const Result<TextRows> rows = ParseCells(cells);
        if (!rows || marks.size() != static_cast<std::size_t>(kRowCount) ||
            marks.find_first_not_of("01") != std::string::npos) {
            return false;
        }
        OpenedRows opened{};
        for (std::size_t row = 0; row < opened.size(); ++row) opened[row] = marks[row] == '1';
        state_->KeepOpenedRows(*rows, opened);
        return true;
    }
    int inkWidth() const { return state_->inkLayer().width(); }
    int inkHeight() const { return state_->inkLayer().height(); }

    // The drawing becomes the ink of a PBM or PNG file read by the core's
    // ink-image reader with the command line's limits (one undoable step).
    // Returns "" when opened, else the reader's reason; for a PNG the reader
    // first answers kNeedsBrowserDecode, and the page calls again with the
    // browser's RGBA pixels of the same bytes.
    std::string openDrawing(const std::string& bytes, int width, int height,
                            const std::string& rgba) {
        BrowserPixels& pending = BrowserPixels::Pending();
        pending = {};
        if (width > 0 && height > 0) {
            pending.width = static_cast<std::uint32_t>(width);
            pending.height = static_cast<std::uint32_t>(height);
            pending.rgba.assign(rgba.begin(), rgba.end());
        }
        Result<Image> ink = DecodeInkImage(bytes, kInkClipRight + 1, kInkHeight);
        pending = {};
        if (!ink) return ink.error().Reason();
        if (!HoldsInk(*ink)) return kNoBlackInk;
        state_->ReplaceInk(*ink);
        return "";
    }

    // Opens text art as the window opens it: a page file (named .mlt or
    // .ast, or starting as AST does) gives its pages and `page` (from 0)
    // chooses one; other text is UTF-8 when it reads as UTF-8, else
    // Shift-JIS. The drawing becomes the text, kept row by row (one undoable
    // step). Returns {error} ("" when opened, else the core's reason), and for
    // a file of several pages opened with `page` -1 {error: "", pages:
    // [labels]} with nothing opened, for the page to ask which.
    emscripten::val openTextArt(const std::string& bytes, const std::string& name, int page) {
        emscripten::val out = emscripten::val::object();
        out.set("error", std::string());
        const TextArtPageChoice choose = [&](const PageFile& file) -> std::optional<std::size_t> {
            if (page >= 0) return static_cast<std::size_t>(page);
            emscripten::val labels = emscripten::val::array();
            for (const std::string& label : PageChoiceLabels(file)) {
                labels.call<void>("push", label);
            }
            out.set("pages", labels);
            return std::nullopt;
        };
        Result<std::optional<TextArtDrawing>> opened =
            OpenTextArt(bytes, name, choose, engine_->face());
        if (!opened) return Failed(out, opened.error());
        if (*opened) state_->ReplaceWithText((*opened)->ink, (*opened)->rows);
        return out;
    }

    // The text, as Shift-JIS "save" writes it without <BR>, added as the last
    // page of a page file's bytes (empty: a new file, its format from
    // `name`); an AST page gets `pageName` (UTF-8). Returns {error, bytes}:
    // the whole new file, or the core's reason; for an AST file without
    // `named`, {error: "", needsName: true} with nothing added.
    emscripten::val addPage(const std::string& bytes, const std::string& name,
                            const std::string& pageName, bool named) {
        emscripten::val out = emscripten::val::object();
        out.set("error", std::string());
        PageFile file;
        if (bytes.empty()) {
            const std::optional<PageFormat> format = PageFormatForName(name);
            if (!format) return Failed(out, Error{name, ErrorKind::AppendToUnknownFormat});
            file.format = *format;
        } else {
            Result<PageFile> read = ParsePageFile(bytes, name);
            if (!read) return Failed(out, read.error());
            file = std::move(*read);
        }
        if (file.format == PageFormat::Ast && !named) {
            out.set("needsName", true);
            return out;
        }
        const Result<std::string> sjisName = Utf8ToCp932(pageName);
        if (!sjisName) return Failed(out, Error{name, ErrorKind::PageNameNotShiftJis});
        state_->RunPendingConversion();
        const std::string text = ComposeExportText(state_->rows(), false);
        if (Status added = AddPage(file, text, *sjisName); !added) {
            return Failed(out, added.error());
        }
        out.set("bytes", BytesOf(FormatPageFile(file)));
        return out;
    }

    // "線を取り込む": a picture file's lines added to the drawing as the
    // window adds them (one undoable step), traced as `fudeline-cli trace`
    // traces the file (see TracePagePicture). Returns {error} ("" when added,
    // else the core's reason with its kind and args), {error: "", noLines:
    // true} when the picture has none, or {error: "", needsDecode: true} for
    // the page to call again with the browser's pixels of the same bytes
    // (with {width, height} when wanted at that size rather than as stored).
    emscripten::val tracePicture(const std::string& bytes, int width, int height,
                                 const emscripten::val& rgba, const emscripten::val& options) {
        emscripten::val out = emscripten::val::object();
        out.set("error", std::string());
        BrowserDecodeSize wanted;
        Result<TracedInk> traced = TracePagePicture(bytes, width, height, rgba, options, wanted);
        if (!traced) {
            if (traced.error().Reason() == kNeedsBrowserDecode) {
                out.set("needsDecode", true);
                if (wanted.width > 0) {
                    out.set("width", wanted.width);
                    out.set("height", wanted.height);
                }
                return out;
            }
            return Failed(out, traced.error());
        }
        if (!HoldsInk(traced->ink)) {
            out.set("noLines", true);
            return out;
        }
        state_->AddInk(traced->ink);
        return out;
    }

    // The background picture, already scaled (and faded) by the page; an
    // empty picture hides it.
    void setPicture(int width, int height, const std::string& rgba) {
        picture_ = width > 0 && height > 0 ? FromRgba(width, height, rgba) : Image();
    }

  private:
    static emscripten::val Failed(emscripten::val& out, const std::string& reason) {
        out.set("error", reason);
        return out;
    }
    // The core's reason, with its kind and arguments for the page to word.
    static emscripten::val Failed(emscripten::val& out, const Error& error) {
        emscripten::val args = emscripten::val::array();
        for (const std::string& arg : error.args) args.call<void>("push", arg);
        out.set("kind", static_cast<int>(error.kind));
        out.set("args", args);
        return Failed(out, error.Reason());
    }

    emscripten::val InkRgbaOf(const Image& ink) {
        Image shown(ink.width(), ink.height());
        for (int y = 0; y < ink.height(); ++y) {
            for (int x = 0; x < ink.width(); ++x) {
                if (ink.Pixel(x, y) == kBlack) shown.SetPixel(x, y, kBlack);
            }
        }
        ToRgba(shown, inkRgba_);
        return emscripten::val(emscripten::typed_memory_view(inkRgba_.size(), inkRgba_.data()));
    }

    static Image FromRgba(int width, int height, const std::string& rgba) {
        Image image(width, height);
        if (rgba.size() < static_cast<std::size_t>(width) * height * 4) return Image();
        const auto* p = reinterpret_cast<const std::uint8_t*>(rgba.data());
        for (int y = 0; y < height; ++y) {
            std::uint32_t* row = image.Row(y);
            for (int x = 0; x < width; ++x, p += 4) {
                row[x] = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
            }
        }
        return image;
    }

    std::optional<Error> error_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<ArtState> state_;
    Image picture_;
    bool rowLines_ = true;
    Image view_{kCanvasWidth, kCanvasHeight};
    std::vector<std::uint8_t> rgba_;
    std::vector<std::uint8_t> inkRgba_;
    std::vector<std::uint8_t> pictureRgba_;
};

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

// The core's reason of an error kind's value with its arguments (a failure's
// `kind` and `args`), worded in Japanese; "" where it has no Japanese wording.
std::string JapaneseReasonOf(int kind, const emscripten::val& args) {
    if (kind < 0 || kind >= kErrorKindCount) return "";
    Error error;
    error.kind = static_cast<ErrorKind>(kind);
    const int count = args.isArray() ? args["length"].as<int>() : 0;
    for (int i = 0; i < count; ++i) error.args.push_back(args[i].as<std::string>());
    return JapaneseReasonText(error).value_or("");
}

EMSCRIPTEN_BINDINGS(fudeline) {
    emscripten::function("boards", &Boards);
    emscripten::function("canvasFitSize", &CanvasFitSize);
    emscripten::function("japaneseReason", &JapaneseReasonOf);
    emscripten::constant("needsBrowserDecode", std::string(kNeedsBrowserDecode));
    emscripten::constant("noBlackInk", std::string(kNoBlackInk));
    emscripten::constant("maxTextArtFileBytes", static_cast<double>(kMaxTextArtFileBytes));
    emscripten::constant("maxBoardLimit", static_cast<double>(kMaxBoardLimit));
    emscripten::function("parseBoardLimit", &ParseBoardLimitField);
    emscripten::function("parseBoardLimits", &ParseCustomLimits);
    emscripten::class_<Session>("Engine")
        .constructor<>()
        .function("error", &Session::error)
        .function("failure", &Session::failure)
        .function("down", emscripten::select_overload<void(int, int)>(&Session::down))
        .function("down", emscripten::select_overload<void(int, int, bool)>(&Session::down))
        .function("move", emscripten::select_overload<void(int, int)>(&Session::move))
        .function("move", emscripten::select_overload<void(int, int, bool)>(&Session::move))
        .function("setStabilizer", &Session::setStabilizer)
        .function("stabilizer", &Session::stabilizer)
        .function("up", &Session::up)
        .function("togglePen", &Session::togglePen)
        .function("penMode", &Session::penMode)
        .function("tracing", &Session::tracing)
        .function("paint", &Session::paint)
        .function("pixels", &Session::pixels)
        .function("undo", &Session::undo)
        .function("clear", &Session::clear)
        .function("setRowLines", &Session::setRowLines)
        .function("setFine", &Session::setFine)
        .function("text", &Session::text)
        .function("sjis", &Session::sjis)
        .function("countPost", &Session::countPost)
        .function("inkRgba", &Session::inkRgba)
        .function("undoInkRgba", &Session::undoInkRgba)
        .function("textPicture", &Session::textPicture)
        .function("openedText", &Session::openedText)
        .function("keepOpenedRows", &Session::keepOpenedRows)
        .function("inkWidth", &Session::inkWidth)
        .function("inkHeight", &Session::inkHeight)
        .function("openDrawing", &Session::openDrawing)
        .function("openTextArt", &Session::openTextArt)
        .function("addPage", &Session::addPage)
        .function("cancelStroke", &Session::cancelStroke)
        .function("setPicture", &Session::setPicture)
        .function("tracePicture", &Session::tracePicture);
}

}  // namespace fudeline::web
