// The page's drawing (embind, exported to JavaScript as "Engine"): the same
// Document the window and the command line work, fed canvas pixels and Shift
// from Pointer Events and the stabilizer setting from the page, its commands
// answered as JavaScript values (js_values.h).
// The data files (catalogue, baked face) are packed into the module's file
// system under /data by the build.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/document.h"
#include "engine/engine.h"
#include "engine/engine_errors.h"
#include "engine/open_text_art.h"
#include "export/cells_format.h"
#include "glyphs/mona_font.h"
#include "io/ink_image.h"
#include "io/page_format.h"
#include "pixels/geometry.h"
#include "session/compose.h"
#include "session/selection.h"
#include "text/row_edit.h"
#include "web/js_values.h"
#include "web/page_trace.h"

namespace fudeline::web {
namespace {

constexpr const char* kDataDirectory = "/data/";

// The ink layer (800 x 464) as the desktop saves it: ink black, everything
// else white.
Image ShownInk(const Image& ink) {
    Image shown(ink.width(), ink.height());
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (ink.Pixel(x, y) == kBlack) shown.SetPixel(x, y, kBlack);
        }
    }
    return shown;
}

}  // namespace

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
        document_ = std::make_unique<Document>(*engine_);
    }

    // Why the engine could not start ("" when it did), in the core's English.
    std::string error() const { return error_ ? error_->Message() : ""; }
    // The same for the page to word (japaneseReason): {path, kind, args},
    // null when the engine started.
    emscripten::val failure() const {
        if (!error_) return emscripten::val::null();
        emscripten::val out = emscripten::val::object();
        return SetFailure(out, *error_);
    }

    // --- Strokes, in canvas pixels; `shift`: Shift held, a straight line
    // (see ArtState::ExtendStroke). Without it, freehand.
    void down(int x, int y, bool shift) { state().BeginStroke({x, y}, shift); }
    void move(int x, int y, bool shift) { state().ExtendStroke({x, y}, shift); }
    void down(int x, int y) { down(x, y, false); }
    void move(int x, int y) { move(x, y, false); }
    void up() { state().EndStroke(); }
    // How strokes are steadied from the next one on: "off", "weak" or
    // "strong", as replay scripts say it. False (nothing changed) for
    // another word.
    bool setStabilizer(const std::string& name) {
        const std::optional<Stabilizer> stabilizer = ParseStabilizer(name);
        if (stabilizer) document_->SetStabilizer(*stabilizer);
        return stabilizer.has_value();
    }
    std::string stabilizer() const { return std::string(StabilizerName(document_->stabilizer())); }
    // "small", "medium" or "large", from the next stroke on.
    bool setEraserSize(const std::string& name) {
        const std::optional<EraserSize> size = ParseEraserSize(name);
        if (size) document_->SetEraserSize(*size);
        return size.has_value();
    }
    // A stroke given up (a second finger came down).
    void cancelStroke() { document_->CancelStroke(); }
    void togglePen() { state().TogglePenMode(); }
    bool penMode() const { return document_->state().penMode(); }
    bool tracing() const { return document_->state().strokeActive(); }

    // The paint step: converts what is pending and composes the canvas.
    // Returns whether a conversion ran (the text may have changed).
    bool paint() {
        const bool converted = state().RunPendingConversion();
        CanvasView parts;
        parts.picture = picture_.width() > 0 ? &picture_ : nullptr;
        parts.showRowLines = rowLines_;
        parts.stroke = &state().preview();
        parts.textLayer = &state().textLayer();
        ComposeCanvas(parts, view_);
        ToRgba(view_, rgba_);
        return converted;
    }
    // The composed canvas as RGBA bytes (a view valid until the next paint).
    emscripten::val pixels() const { return ViewOf(rgba_); }

    // Undo and redo through the Document's history of steps, or, with the
    // single undo chosen, its one toggling exchange (a redo only right after
    // an undo). False when there was nothing to take back or bring back.
    bool undo() { return document_->Undo(); }
    bool redo() { return document_->Redo(); }
    bool canRedo() const { return document_->state().CanRedo(); }
    void setSingleUndo(bool single) {
        document_->SetUndoMode(single ? UndoMode::Single : UndoMode::Steps);
    }
    void clear() { state().ClearCanvas(); }
    void setRowLines(bool show) { rowLines_ = show; }

    // --- The choices: the row matcher, or the fine decoder with or without
    // fillers; the board, as its table names it ("custom" for limits of
    // the user's own), whose rule says whether the text writes references.
    void setFine(bool fine, bool noFillers) {
        document_->SetDecoder({fine, noFillers ? Spacing::Spaces : Spacing::Fillers});
    }
    void setBoard(const std::string& board) { document_->SetBoard(board); }

    // What Copy gives: the UTF-8 text (lines end "\r\n") and its Shift-JIS bytes.
    std::string text(bool br) { return Text(br, TextFormat::Utf8); }
    emscripten::val sjis(bool br) { return BytesOf(Text(br, TextFormat::ShiftJis)); }

    // The post count on a board with these limits (0: no limit).
    emscripten::val countPost(bool br, double maxBytes, double maxLines, double maxLineBytes) {
        document_->SetBr(br);
        const PostCount count = document_->CountPost({static_cast<std::int64_t>(maxBytes),
                                                      static_cast<std::int64_t>(maxLines),
                                                      static_cast<std::int64_t>(maxLineBytes)});
        emscripten::val result = emscripten::val::object();
        result.set("bytes", static_cast<double>(count.bytes));
        result.set("lines", static_cast<double>(count.lines));
        result.set("longestLine", static_cast<double>(count.longestLine));
        result.set("overBytes", count.overBytes);
        result.set("overLines", count.overLines);
        result.set("overLineBytes", count.overLineBytes);
        return result;
    }

    // The whole drawing moved to the left edge (false: it is there already),
    // and the post's bytes it would then take (null: already there).
    bool alignLeft() { return document_->AlignLeft(); }
    emscripten::val bytesAlignedLeft(bool br, double maxBytes, double maxLines, double maxLineBytes) {
        document_->SetBr(br);
        const std::optional<PostCount> count = document_->CountPostAlignedLeft(
            {static_cast<std::int64_t>(maxBytes), static_cast<std::int64_t>(maxLines),
             static_cast<std::int64_t>(maxLineBytes)});
        return count ? emscripten::val(static_cast<double>(count->bytes)) : emscripten::val::null();
    }

    // --- The selection, as the window's selection tool makes it: a
    // rectangle of canvas pixels (rows of 18 for the ink's 16) whose ink and
    // kept text move, are cut, copied, pasted and deleted, each change one
    // undoable step. A new rectangle sets down what floated at the old one.
    void select(int left, int top, int width, int height) {
        document_->Select(InkRectOfCanvas(left, top, width, height));
    }
    void selectAll() { document_->Select(kWholeInk); }
    void selectNone() { document_->Select(std::nullopt); }
    // The selection's canvas rectangle {left, top, width, height}, or null.
    emscripten::val selection() const {
        if (!document_->selection()) return emscripten::val::null();
        const InkRect shown = CanvasRectOfInk(*document_->selection());
        emscripten::val out = emscripten::val::object();
        out.set("left", shown.left);
        out.set("top", shown.top);
        out.set("width", shown.width);
        out.set("height", shown.height);
        return out;
    }
    // The ink pixel a canvas pixel falls on, [x, y]: a drag moves the
    // selection by the ink between where it began and where it is.
    emscripten::val inkPoint(int x, int y) const {
        const Point ink = ToInkPoint({x, y});
        emscripten::val out = emscripten::val::array();
        out.call<void>("push", ink.x);
        out.call<void>("push", ink.y);
        return out;
    }
    // Moved by dx, dy ink pixels; `sameStep`: a drag's move after its first,
    // part of the step the first began. False when nothing moved.
    bool moveSelection(int dx, int dy, bool sameStep) {
        return document_->MoveSelection(dx, dy, sameStep ? ArtState::Step::Same : ArtState::Step::New);
    }
    // An arrow key's move: `dx`, `dy` -1, 0 or 1; with `cell`, a full-width
    // space across or a row up or down, otherwise a pixel.
    bool nudgeSelection(int dx, int dy, bool cell) {
        return document_->MoveSelection(dx * (cell ? kFullWidthSpaceWidth : 1),
                                        dy * (cell ? kInkRowHeight : 1));
    }
    bool copySelection() { return document_->CopySelection(); }
    bool cutSelection() { return document_->CutSelection(); }
    bool paste() { return document_->Paste(); }
    bool deleteSelection() { return document_->DeleteSelection(); }
    bool hasCopied() const { return document_->HasCopied(); }

    // --- Words typed on the canvas (the text tool), as the window types
    // them: a click puts the caret down (false off the canvas), UTF-8 text
    // is typed at it (one undoable step from the first change until the
    // caret goes).
    bool placeCaret(int x, int y) { return document_->PlaceCaret({x, y}); }
    // Where the caret stands: {row, x} (x in canvas pixels), or null.
    emscripten::val caret() const {
        if (!document_->caret()) return emscripten::val::null();
        emscripten::val out = emscripten::val::object();
        out.set("row", document_->caret()->row);
        out.set("x", document_->caret()->x);
        return out;
    }
    // Returns {error} ("" when typed), with the refusal's kind and arguments
    // when a character could not be: what came before it stays typed.
    emscripten::val type(const std::string& text) {
        emscripten::val out = Answer();
        const Status typed = document_->Type(text);
        if (!typed) return SetFailure(out, typed.error());
        return out;
    }
    // Enter: the caret to the next row; {error} as type's on the last row.
    emscripten::val newLine() {
        emscripten::val out = Answer();
        if (!document_->NewLine()) return SetFailure(out, Error{"", kinds::TypeBelowLastRow});
        return out;
    }
    bool eraseBefore() { return document_->EraseBefore(); }
    bool moveCaret(int step, int rows) { return document_->MoveCaret(step, rows); }
    void endTyping() { document_->EndTyping(); }

    // --- Parts: a page file read as a library, {error} ("" when read) with
    // {labels, pages} (each page's label in UTF-8, and its text's bytes);
    // a page's text drawn as the canvas shows it ({width, height, rgba},
    // the pixels a view valid until the next call); and a part or framed
    // words laid with their top-left cell at canvas pixel (x, y), floating
    // and selected (one undoable step), {error} as type's.
    emscripten::val partsLibrary(const std::string& bytes, const std::string& name) const {
        emscripten::val out = Answer();
        const Result<PageFile> file = ParsePageFile(bytes, name);
        if (!file) return SetFailure(out, file.error());
        if (file->pages.empty()) return SetFailure(out, Error{"", kinds::NoPages});
        emscripten::val labels = emscripten::val::array();
        for (const std::string& label : PageChoiceLabels(*file)) labels.call<void>("push", label);
        emscripten::val pages = emscripten::val::array();
        for (const Page& page : file->pages) pages.call<void>("push", BytesOf(page.text));
        out.set("labels", labels);
        out.set("pages", pages);
        return out;
    }
    // Page `index` of the file openTextArt last asked about, drawn with the
    // face as pagePicture draws a text (the chooser's preview); an empty
    // picture for no such page.
    emscripten::val choicePicture(int index) {
        if (index < 0 || static_cast<std::size_t>(index) >= choiceTexts_.size())
            return PictureOf(Image());
        return PictureOf(
            PagePicture(choiceTexts_[static_cast<std::size_t>(index)], engine_->face()));
    }
    emscripten::val pagePicture(const std::string& sjisText) {
        return PictureOf(PagePicture(sjisText, engine_->face()));
    }
    emscripten::val placePart(const std::string& sjisText, int x, int y) {
        emscripten::val out = Answer();
        const Status placed = document_->PlacePart(sjisText, TextEncoding::ShiftJis, {x, y});
        if (!placed) return SetFailure(out, placed.error());
        return out;
    }
    // `style` "rounded" or "box".
    emscripten::val placeFramedWords(const std::string& words, const std::string& style, int x, int y) {
        emscripten::val out = Answer();
        const Status placed =
            document_->PlaceFramedWords(words, ParseFrameStyle(style).value_or(FrameStyle::Rounded), {x, y});
        if (!placed) return SetFailure(out, placed.error());
        return out;
    }

    // --- The drawing as a picture: the ink layer as RGBA, ink black and
    // everything else white, and the same for the drawing undo would bring
    // back (the page keeps both between visits).
    emscripten::val inkRgba() { return InkRgbaOf(document_->state().inkLayer()); }
    emscripten::val undoInkRgba() { return InkRgbaOf(document_->state().undoInkLayer()); }
    int inkWidth() const { return document_->state().inkLayer().width(); }
    int inkHeight() const { return document_->state().inkLayer().height(); }
    // The drawing file: `png` (the ink as the page encodes it) with the rows
    // opened text keeps as written, as the window saves it. Returns {error,
    // bytes}.
    emscripten::val drawingFile(const std::string& png) {
        emscripten::val out = Answer();
        const Result<std::string> file = document_->DrawingFile(png);
        if (!file) return SetFailure(out, file.error());
        out.set("bytes", BytesOf(*file));
        return out;
    }

    // The text art drawn as the window's text picture: {width, height,
    // rgba}, the pixels a view valid until the next call.
    emscripten::val textPicture() {
        return PictureOf(document_->TextPicture().value_or(Image(1, kRowHeight)));
    }

    // The opened text the drawing and the one undo brings back keep, for
    // the page to keep with their ink between visits: {rows, opened,
    // topLines, undoRows, undoOpened, undoTopLines}, the rows in the cells
    // format, the marks as FormatOpenedMarks writes them and the empty lines
    // the opened text began with; null when neither holds any.
    emscripten::val openedText() const {
        const ArtState& s = document_->state();
        const OpenedRows none{};
        if (s.openedRows() == none && s.undoOpenedRows() == none) return emscripten::val::null();
        emscripten::val out = emscripten::val::object();
        out.set("rows", FormatCells(s.rows()));
        out.set("opened", FormatOpenedMarks(s.openedRows()));
        out.set("topLines", s.openedTopLines());
        out.set("undoRows", FormatCells(s.undoRows()));
        out.set("undoOpened", FormatOpenedMarks(s.undoOpenedRows()));
        out.set("undoTopLines", s.undoOpenedTopLines());
        return out;
    }
    // Over the drawing just opened from its kept ink, the rows openedText
    // gave keep their cells again, and the empty lines the text began with
    // (no undo step). False, with the drawing left as its ink converts, when
    // what was kept does not read back.
    bool keepOpenedRows(const std::string& cells, const std::string& marks, int topLines) {
        const Result<TextRows> rows = ParseCells(cells);
        const std::optional<OpenedRows> opened = ParseOpenedMarks(marks);
        if (!rows || !opened || topLines < 0) return false;
        state().KeepOpenedRows(*rows, *opened, topLines);
        return true;
    }

    // What opening `bytes` as a drawing asks of the browser, from their
    // header alone: {error: "", decode, width, height}, `decode` true when
    // the browser is to decode a PNG at that size (a PBM the core reads
    // itself), or the failure when the core refuses the file as it is.
    emscripten::val probeDrawing(const std::string& bytes) const {
        return RequestOf(InkImagePixelRequest(bytes));
    }

    // The drawing becomes a drawing file's ink, and its kept rows as
    // written (one undoable step); `pixels` the browser's decoding as
    // probeDrawing asked ({width, height, data}), or null. Returns {error}
    // ("" when opened), with the failure's kind and arguments when not
    // (kinds::NoInk: a picture without black, which would only empty
    // the drawing). Kept rows that do not fit the ink are passed over: the
    // rows are matched from the ink.
    emscripten::val openDrawing(const std::string& bytes, const emscripten::val& pixels) {
        emscripten::val out = Answer();
        const Result<KeptRowsFound> opened = document_->OpenDrawing(bytes, PixelsOf(pixels));
        if (!opened) return SetFailure(out, opened.error());
        return out;
    }

    // Opens text art as the window opens it (one undoable step); `page`
    // (from 0) chooses among a page file's pages. Returns {error} ("" when
    // opened), and for a file of several pages opened with `page` -1
    // {error: "", pages: "label\nlabel\n..."} (each page's label and a line
    // break) with nothing opened, for the page to ask.
    // The pages asked about are kept for choicePicture until the next call.
    emscripten::val openTextArt(const std::string& bytes, const std::string& name, int page) {
        emscripten::val out = Answer();
        choiceTexts_.clear();
        const TextArtPageChoice choose = [&](const PageFile& file) -> std::optional<std::size_t> {
            if (page >= 0) return static_cast<std::size_t>(page);
            // One string, each label and a line break (a label is one line),
            // read apart by the page: a call into JavaScript a label cost a
            // library of 100,000 pages tens of milliseconds.
            std::string labels;
            for (const std::string& label : PageChoiceLabels(file)) {
                labels += label;
                labels += '\n';
            }
            out.set("pages", labels);
            choiceTexts_.reserve(file.pages.size());
            for (const Page& each : file.pages) choiceTexts_.push_back(each.text);
            return std::nullopt;
        };
        const Result<std::optional<TextArtDrawing>> opened =
            document_->OpenTextArt(bytes, name, choose);
        if (!opened) return SetFailure(out, opened.error());
        return out;
    }

    // The text added as the last page of a page file's `bytes` (empty: a
    // new file, its format from `name`), by the rules the window's and the
    // command line's appends follow; an AST page gets `pageName` (UTF-8).
    // Returns {error, bytes}: the whole new file, or why not; for an AST file
    // without `named`, {error: "", needsName: true} with nothing added.
    emscripten::val addPage(const std::string& bytes, const std::string& name,
                            const std::string& pageName, bool named) {
        emscripten::val out = Answer();
        const Result<PageFile> read = ParsePageFile(bytes, name);
        if (!named && read && read->format == PageFormat::Ast) {
            out.set("needsName", true);
            return out;
        }
        const Result<std::string> file = document_->PageFileWithText(bytes, name, pageName);
        if (!file) return SetFailure(out, file.error());
        out.set("bytes", BytesOf(*file));
        return out;
    }

    // What tracing `bytes` placed by `options` asks of the browser, from
    // their header alone: {error: "", decode, width, height}, `decode`
    // true when the browser is to decode the picture at that size (smaller
    // than stored for a JPEG shown small), or the failure when the core
    // refuses the file as it is.
    emscripten::val probeTrace(const std::string& bytes, const emscripten::val& options) const {
        return RequestOf(PageTraceRequest(bytes, options));
    }

    // "線を取り込む", its first half: a picture file's lines traced as
    // `fudeline-cli trace` traces the file (see TracePagePicture), not yet
    // added, so that a worker's engine may trace while the page's draws;
    // `pixels` the browser's decoding as probeTrace asked, or null.
    // Returns {error} ("" when traced) with `ink`, the lines as RGBA bytes
    // of the ink layer's size (a view valid until the next call), and when
    // fitted to a board `scale`, the size chosen.
    emscripten::val traceInk(const std::string& bytes, const emscripten::val& pixels,
                             const emscripten::val& options) {
        emscripten::val out = Answer();
        std::optional<double> fittedScale;
        const Result<TracedInk> traced =
            TracePagePicture(bytes, pixels, options, *document_, fittedScale);
        if (!traced) return SetFailure(out, traced.error());
        ToRgba(traced->ink, tracedRgba_);
        out.set("ink", ViewOf(tracedRgba_));
        if (fittedScale) out.set("scale", *fittedScale);
        return out;
    }

    // Its second half: lines traceInk gave (`rgba`, of the ink layer's
    // size) added to the drawing as the window adds a picture's lines, one
    // undoable step. Returns {error: ""}, with {noLines: true} when they
    // hold none; an error for bytes of another size.
    emscripten::val importInk(const std::string& rgba) {
        emscripten::val out = Answer();
        const Image ink = FromRgba(kCanvasWidth, kInkHeight, rgba);
        if (ink.width() != kCanvasWidth || ink.height() != kInkHeight) {
            out.set("error", std::string("traced lines of another size than the drawing"));
            return out;
        }
        if (!document_->ImportLines(ink)) out.set("noLines", true);
        return out;
    }

    // Whether text is written with <BR> where the drawing is measured
    // without being shown (fitting a traced picture to a board).
    void setBr(bool br) { document_->SetBr(br); }

    // The background picture, already scaled (and faded) by the page; an
    // empty picture hides it.
    void setPicture(int width, int height, const std::string& rgba) {
        picture_ = FromRgba(width, height, rgba);
    }

  private:
    ArtState& state() { return document_->state(); }

    // {width, height, rgba}: the pixels a view valid until the next call.
    emscripten::val PictureOf(const Image& picture) {
        ToRgba(picture, pictureRgba_);
        emscripten::val out = emscripten::val::object();
        out.set("width", picture.width());
        out.set("height", picture.height());
        out.set("rgba", ViewOf(pictureRgba_));
        return out;
    }

    std::string Text(bool br, TextFormat format) {
        document_->SetBr(br);
        return document_->Text(format).value_or("");
    }

    emscripten::val InkRgbaOf(const Image& ink) {
        ToRgba(ShownInk(ink), inkRgba_);
        return ViewOf(inkRgba_);
    }

    std::optional<Error> error_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<Document> document_;
    Image picture_;
    bool rowLines_ = true;
    Image view_{kCanvasWidth, kCanvasHeight};
    std::vector<std::uint8_t> rgba_;
    std::vector<std::uint8_t> inkRgba_;
    std::vector<std::uint8_t> tracedRgba_;
    std::vector<std::string> choiceTexts_;  // the pages of the file being chosen from
    std::vector<std::uint8_t> pictureRgba_;
};

EMSCRIPTEN_BINDINGS(fudeline_session) {
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
        .function("setEraserSize", &Session::setEraserSize)
        .function("up", &Session::up)
        .function("togglePen", &Session::togglePen)
        .function("penMode", &Session::penMode)
        .function("tracing", &Session::tracing)
        .function("paint", &Session::paint)
        .function("pixels", &Session::pixels)
        .function("undo", &Session::undo)
        .function("redo", &Session::redo)
        .function("canRedo", &Session::canRedo)
        .function("setSingleUndo", &Session::setSingleUndo)
        .function("clear", &Session::clear)
        .function("setRowLines", &Session::setRowLines)
        .function("setFine", &Session::setFine)
        .function("setBoard", &Session::setBoard)
        .function("text", &Session::text)
        .function("sjis", &Session::sjis)
        .function("countPost", &Session::countPost)
        .function("alignLeft", &Session::alignLeft)
        .function("select", &Session::select)
        .function("selectAll", &Session::selectAll)
        .function("selectNone", &Session::selectNone)
        .function("selection", &Session::selection)
        .function("inkPoint", &Session::inkPoint)
        .function("moveSelection", &Session::moveSelection)
        .function("nudgeSelection", &Session::nudgeSelection)
        .function("copySelection", &Session::copySelection)
        .function("cutSelection", &Session::cutSelection)
        .function("paste", &Session::paste)
        .function("deleteSelection", &Session::deleteSelection)
        .function("hasCopied", &Session::hasCopied)
        .function("placeCaret", &Session::placeCaret)
        .function("caret", &Session::caret)
        .function("type", &Session::type)
        .function("newLine", &Session::newLine)
        .function("eraseBefore", &Session::eraseBefore)
        .function("moveCaret", &Session::moveCaret)
        .function("endTyping", &Session::endTyping)
        .function("partsLibrary", &Session::partsLibrary)
        .function("pagePicture", &Session::pagePicture)
        .function("choicePicture", &Session::choicePicture)
        .function("placePart", &Session::placePart)
        .function("placeFramedWords", &Session::placeFramedWords)
        .function("bytesAlignedLeft", &Session::bytesAlignedLeft)
        .function("inkRgba", &Session::inkRgba)
        .function("undoInkRgba", &Session::undoInkRgba)
        .function("drawingFile", &Session::drawingFile)
        .function("textPicture", &Session::textPicture)
        .function("openedText", &Session::openedText)
        .function("keepOpenedRows", &Session::keepOpenedRows)
        .function("inkWidth", &Session::inkWidth)
        .function("inkHeight", &Session::inkHeight)
        .function("probeDrawing", &Session::probeDrawing)
        .function("openDrawing", &Session::openDrawing)
        .function("openTextArt", &Session::openTextArt)
        .function("addPage", &Session::addPage)
        .function("cancelStroke", &Session::cancelStroke)
        .function("setPicture", &Session::setPicture)
        .function("probeTrace", &Session::probeTrace)
        .function("traceInk", &Session::traceInk)
        .function("importInk", &Session::importInk)
        .function("setBr", &Session::setBr);
}

}  // namespace fudeline::web
