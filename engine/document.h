// One drawing as every face works it: the session (ArtState) over the one
// Engine, the user's choices (decoder and spacing, board, <BR>, stabilizer), and the
// commands the window, the command line and the page give it. A face reads
// its input, asks the Document, and shows what it answers; a new command is
// one function here and one line per face.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_errors.h"
#include "engine/open_text_art.h"
#include "errors/result.h"
#include "export/boards.h"
#include "export/export_text.h"
#include "export/post_counter.h"
#include "io/page_files.h"
#include "io/pixel_source.h"
#include "pixels/image.h"
#include "render/speech_frame.h"
#include "render/text_art_cells.h"
#include "session/art_state.h"
#include "session/replay_script.h"
#include "text/row_edit.h"

namespace fudeline {

// How the text is written out: the Shift-JIS bytes a board takes, their
// UTF-8 form, or the rows in the cells format.
enum class TextFormat { ShiftJis, Utf8, Cells };

// The rows a drawing keeps as they were written (opened text art), in a form
// that goes into a file: which rows, their cells, and a check of the ink they
// were kept over.
struct KeptRows {
    TextRows rows;
    OpenedRows opened{};
    std::uint32_t inkCheck = 0;
    // The empty lines the opened text began with (ArtState::openedTopLines).
    int topLines = 0;
};

// Which rows are opened, one '1' or '0' a row (the page keeps them so).
std::string FormatOpenedMarks(const OpenedRows& opened);
std::optional<OpenedRows> ParseOpenedMarks(std::string_view marks);

// A check of the ink's black pixels within what a drawing file keeps
// (columns 0-798, rows 0-463; outside `ink`, white).
std::uint32_t InkCheck(const Image& ink);

// "opened MARKS", "ink XXXXXXXX" (the check in hex), "top N" when the text
// began with N > 0 empty lines (files from before it have none, and read as
// 0), and the opened rows' cells (FormatCells), one a line; ParseKeptRows
// reads it back and refuses anything else, saying why (no path).
std::string FormatKeptRows(const KeptRows& kept);
Result<KeptRows> ParseKeptRows(std::string_view text);

// The key of the PNG text chunk a drawing file keeps its rows under.
inline constexpr std::string_view kKeptRowsKey = "Fudeline kept rows";

// What became of the rows a drawing file keeps as written. Rows that are
// damaged, or were kept over other ink than the file's (drawn over
// elsewhere), are passed over: the ink opens, its rows matched anew, and the
// face tells the user so.
enum class KeptRowsFound { None, Taken, Damaged, OtherInk };

// Where typed words go: the row and the column (canvas pixels) the caret
// stands at, and the column it was put down at, where Enter goes on in the
// next row.
struct TextCaret {
    int row = 0;
    std::int32_t x = 0;
    std::int32_t lineX = 0;
    bool operator==(const TextCaret&) const = default;
};

class Document {
  public:
    // Headless documents (the command line) match rows without drawing them.
    enum class Canvas { Drawn, Headless };

    // `engine` must have its catalogue loaded (and its face open for a drawn
    // canvas) and outlive the document.
    explicit Document(Engine& engine, Canvas canvas = Canvas::Drawn);

    ArtState& state() { return state_; }
    const ArtState& state() const { return state_; }
    Engine& engine() { return engine_; }

    // --- The user's choices.
    // The decoder and the spacing; the drawing and its undo copy are
    // converted again and redrawn. The fine decoder and Unicode spacing need
    // the face.
    void SetDecoder(DecoderOptions decoder);
    // The board, as --board names it (a board's name, or custom limits; empty
    // for none): whether the text writes references (board_references.h).
    void SetBoard(std::string board) { board_ = std::move(board); }
    void SetBr(bool br) { br_ = br; }
    // How strokes are steadied, from the next stroke on (see ArtState).
    void SetStabilizer(Stabilizer stabilizer) { state_.SetStabilizer(stabilizer); }
    Stabilizer stabilizer() const { return state_.stabilizer(); }
    // The eraser's width, from the next stroke on.
    void SetEraserSize(EraserSize size) { state_.SetEraserWidth(EraserWidth(size)); }
    const DecoderOptions& decoder() const { return decoder_; }
    const std::string& board() const { return board_; }
    bool br() const { return br_; }
    // How the text is written for these choices; `br` as chosen.
    ExportOptions exportOptions() const;

    // --- Commands.
    // Strokes waiting for a paint are converted: what the commands that take
    // the text take is what was drawn.
    void Settle() { state_.RunPendingConversion(); }
    // A stroke given up (see ArtState::CancelStroke).
    bool CancelStroke() { return state_.CancelStroke(); }

    // --- Steps: undo and redo as the chosen undo mode has them (see
    // ArtState::Undo).
    void SetUndoMode(UndoMode mode) { state_.SetUndoMode(mode); }
    bool Undo() { return state_.Undo(); }
    bool Redo() { return state_.Redo(); }

    // --- The selection: a rectangle of the ink layer that every face shows
    // and moves the same way (see ArtState::MoveSelection). Each command is
    // one undoable step; false when there is no selection or nothing changed.
    // A new rectangle sets down what floated at the old one.
    void Select(std::optional<InkRect> rect);
    const std::optional<InkRect>& selection() const { return selection_; }
    // Moved by dx, dy ink pixels (off the canvas too: what leaves it is cut
    // off); a drag's moves after its first go on with its step.
    bool MoveSelection(int dx, int dy, ArtState::Step step = ArtState::Step::New);
    // Copy keeps what the selection holds for Paste (within the document);
    // Cut also takes it out; Paste lays it where it was taken, floating and
    // selected, ready to move.
    bool CopySelection();
    bool CutSelection();
    bool Paste();
    bool DeleteSelection();
    bool HasCopied() const { return !copied_.Empty(); }
    // The whole drawing moved to the left edge; false when it is there already.
    bool AlignLeft();
    // Copy's text as it would be after AlignLeft, counted as a post with
    // these limits; nothing when the drawing is at the left edge already.
    std::optional<PostCount> CountPostAlignedLeft(const BoardLimits& limits);

    // Whether a drawing file without ink opens: the window and the page
    // refuse it (a photo would only empty the drawing shown), the command
    // line converts it to no text.
    enum class Blank { Refused, Opened };
    // A drawing file (PNG or PBM, black is ink) becomes the drawing as one
    // undoable step: its ink, and the rows it keeps as written when they are
    // intact and belong to its ink. Refused, the drawing kept, when the file
    // is no drawing or holds no ink (kinds::NoInk). Errors carry no path.
    // A PNG's pixels come from `pixels` (the libraries', or the browser's
    // for the page).
    Result<KeptRowsFound> OpenDrawing(std::string_view bytes, const PixelSource& pixels,
                                      Blank blank = Blank::Refused);
    // The drawing file of the drawing: `inkPng`, the ink as a PNG
    // (EncodeInkPng, or the page's own), with the rows kept as written in a
    // text chunk when any row holds opened text.
    Result<std::string> DrawingFile(std::string inkPng);

    // Existing text art becomes the drawing as one undoable step (see
    // OpenTextArt in open_text_art.h); nothing when `choose` picks no page.
    Result<std::optional<TextArtDrawing>> OpenTextArt(std::string_view bytes,
                                                      const std::string& name,
                                                      const TextArtPageChoice& choose);
    // Text already read becomes the drawing the same way (the command line
    // reads text art a line at a time).
    Result<TextArtDrawing> OpenText(std::string_view text, TextEncoding encoding);

    // A picture's lines (already traced) are added to the drawing as one
    // undoable step; false, and nothing changes, when there are none.
    bool ImportLines(const Image& ink);

    // --- Parts: text art laid into the drawing (the parts palette). `text`
    // (one page, read as text art opens) lands with its top-left cell at
    // `at` (canvas pixels: the row it falls in, its column), moved in as
    // little as keeps it whole on the canvas and, but with Unicode spacing,
    // up to a half-width space across to where its lines start at a width
    // spaces spell (no filler's dot before it), floating and selected as a
    // paste is, ready to move; one undoable step. Refused as text art that
    // opens is (too many lines, a line too wide), and when it holds no text.
    Status PlacePart(std::string_view text, TextEncoding encoding, PenPoint at);
    // Words (UTF-8) in a speech frame of `style` (FramedText), laid as a
    // part is. Refused (NoText) when there are no words.
    Status PlaceFramedWords(std::string_view words, FrameStyle style, PenPoint at);

    // --- Words typed on the canvas (the text tool; document_text.cpp). A
    // click puts the caret where the spacing lets words stand (CaretAt in
    // text/row_edit.h): on text, at a character's edge, to edit it. What is
    // typed is kept as text in its row, its characters drawn into the ink as
    // opened text's are, so that the pen and the eraser meet it as they meet
    // opened text; from the first change after the caret was put down until
    // the caret goes, the typing is one undoable step. Typing needs the face
    // (opened here for a headless document).
    // False, and no caret, for a point outside the canvas.
    bool PlaceCaret(PenPoint at);
    const std::optional<TextCaret>& caret() const { return caret_; }
    // UTF-8 `text` typed at the caret; a line break ("\n" or "\r\n") goes on
    // in the next row as Enter does. A character the face cannot draw
    // (CannotBeTyped), bytes that are not UTF-8, or a row that would grow
    // past the canvas (RowTooWide) are refused: what came before them stays
    // typed, that line is not. Refused with no caret as well.
    Status Type(std::string_view text);
    // Enter: the caret goes to the next row, as near the column it was put
    // down at as the spacing lets it stand; false on the last row.
    bool NewLine();
    // Backspace (EraseBefore in text/row_edit.h); false when nothing changed.
    bool EraseBefore();
    // The arrow keys: `step` -1 or +1 moves the caret left or right along
    // its row (CaretStep), `rows` up or down to where a click at its column
    // would put it; false when it could go no further.
    bool MoveCaret(int step, int rows = 0);
    // The caret goes, and with it the typing's step.
    void EndTyping();

    // --- Replay scripts: one event as the window takes it; `type X Y TEXT`
    // is a click of the text tool at client pixel X, Y and TEXT typed there,
    // one undoable step.
    Status Play(const ReplayEvent& event);
    // Before a whole script is played: with the fine decoder, one that types
    // nothing decodes its rows once, when it ends (ArtState::DeferRows).
    void BeginPlaying(const std::vector<ReplayEvent>& events);
    // The paint after a script's last event: its text is then the window's.
    void FinishPlaying();

    // The text as chosen (Copy's, export's).
    Result<std::string> Text(TextFormat format) const;
    // How long Copy's text is as a post with these limits.
    PostCount CountPost(const BoardLimits& limits) const;
    // The text drawn with the face as a board shows it: without <BR> and
    // with references drawn as their characters.
    Result<Image> TextPicture() const;

    // --- Page files: the text as a page holds it (Shift-JIS, no <BR>) added
    // as the last page of `path`, whose page name is `pageName` in UTF-8
    // (refused as kinds::PageNameNotShiftJis without a Shift-JIS form).
    // The whole new file, given what it holds now (nothing: new).
    Result<std::string> PageFileWithText(const std::optional<std::string_view>& existing,
                                         const std::string& path, const std::string& pageName);
    // Staged beside the file and locked, for a face that writes it.
    Result<StagedPage> StagePage(const std::string& path, const std::string& pageName);

    // The rows this drawing keeps as written (none: nothing kept).
    std::optional<KeptRows> Kept() const;

  private:
    // What the typing step laid: the rows before and after, so that a
    // change made since by anything else (a stroke, undo) is seen and the
    // next keystroke begins a step of its own.
    struct Laid {
        TextRows before;
        TextRows after;
        bool Current(const ArtState& state) const {
            return state.undoRows() == before && state.rows() == after;
        }
    };
    GapRule Gaps() const;
    // Opens the typing's step unless it is open and nothing else came between.
    void BeginTyping();
    Status TypeLine(std::string_view utf8);
    void KeepEdit(int row, const RowEdit& edit);

    Result<std::string> PageName(const std::string& path, const std::string& pageName) const;
    std::string PageText() const;

    Engine& engine_;
    bool drawn_;
    ArtState state_;
    std::optional<InkRect> selection_;
    InkPiece copied_;
    DecoderOptions decoder_;
    std::string board_;
    bool br_ = false;
    std::optional<TextCaret> caret_;
    std::optional<Laid> typing_;
};

}  // namespace fudeline
