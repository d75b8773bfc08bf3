// Everything one drawing session holds: the ink and text layers with their
// undo copies, the text rows, the stroke in progress and the inked extent.
// Strokes come in as canvas pixels (see client_map.h for the window's side);
// the conversion runs when the window paints. Nothing here knows about windows.
#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "fine/fine_decoder.h"
#include "match/ink_band.h"
#include "match/row_matcher.h"
#include "match/row_trail.h"
#include "text/text_cell.h"
#include "render/text_painter.h"
#include "pixels/geometry.h"
#include "pixels/image.h"
#include "pixels/pen_stroke.h"
#include "session/history.h"
#include "session/selection.h"
#include "session/stroke_preview.h"
#include "session/stroke_stabilizer.h"

namespace fudeline {

// How a paint re-matches the rows a stroke touched. Both give the same rows
// and text; Incremental re-scans only from where the ink changed.
enum class Rematching { Incremental, FromScratch };

// Per text row, whether it holds opened text (see ArtState::LayText).
using OpenedRows = std::array<bool, kRowCount>;

class ArtState {
  public:
    // `painter` may be null: then the rows are matched but never drawn into the
    // text layer (headless conversion needs no font).
    ArtState(const RowMatcher& matcher, const TextPainter* painter,
             Rematching rematching = Rematching::Incremental);
    ~ArtState();

    // --- Strokes, in canvas pixels (never clamped to the canvas), as the
    // pointer reports them: the session steadies them (SetStabilizer) and
    // makes straight lines of them where `straight` (Shift held) says so.
    // Starts a stroke at `p`: a stroke still under way is ended first (its
    // release was lost), the previous stroke's waiting segments are
    // rasterised, then the undo snapshot is taken.
    void BeginStroke(PenPoint p, bool straight = false);
    // The pointer moved to `p`. Freehand, the pen draws a segment towards it
    // (all the way when the stabilizer is off). Straight, the stroke's line
    // runs from where it started (or from where the pointer was when Shift
    // went down mid-stroke) towards `p`, turned to a multiple of 15°: it is
    // shown, and inked when the stroke ends or goes on freehand from its end.
    // True when the canvas must be repainted (false when no stroke is under
    // way, or the pen stayed on its pixel).
    bool ExtendStroke(PenPoint p, bool straight = false);
    // Ends the stroke where the pointer last was, or with its straight line;
    // its segments stay queued for the next paint. With the stabilizer on,
    // each freehand piece of a pen stroke settles (see SettledPath) when it
    // ends (here, or where Shift went down): it is drawn again along its
    // settled path in place of the points as they came. True when a stroke
    // was under way.
    bool EndStroke();
    // Gives up the stroke under way (a second finger came down): the drawing
    // goes back to what it was before the stroke, and the undo copy holds that
    // drawing too, so that undo cannot bring the abandoned stroke back. False
    // when no stroke was under way.
    bool CancelStroke();
    void TogglePenMode() { penMode_ = !penMode_; }
    // How strokes are steadied, from the next stroke on (a stroke under way
    // keeps its own). Off unless set.
    void SetStabilizer(Stabilizer stabilizer) { stabilizer_ = stabilizer; }
    // The eraser's width in pixels (kNarrowestEraser to kWidestEraser), from
    // the next segment on; kWidePenWidth until set.
    void SetEraserWidth(int width) { eraserWidth_ = std::clamp(width, kNarrowestEraser, kWidestEraser); }
    int eraserWidth() const { return eraserWidth_; }
    Stabilizer stabilizer() const { return stabilizer_; }

    // --- How rows become text: the row matcher, unless a fine decoder is set
    // (it must outlive the session; null goes back to the row matcher). A
    // change re-converts the drawing and its undo copy, so that the canvas,
    // everything taken from the rows, and undo all show the one mode.
    void SetFineDecoder(const FineDecoder* fine);
    const FineDecoder* fineDecoder() const { return fine_; }

    // --- The paint step: if a conversion is pending, rasterise every segment
    // recorded since the last paint, in order, and re-match the rows they
    // touch. Returns true if a conversion ran.
    bool RunPendingConversion();

    // While a script without typing plays with the fine decoder and no kept
    // rows, the paints ink but decode nothing: each row is then its ink's
    // alone, and decoding every row once when the script ends (CatchUpRows)
    // gives the rows every paint would have left, at the cost of one canvas
    // instead of a row or two for each of tens of thousands of strokes. No
    // effect with the row matcher, whose rows follow each paint's extent.
    // Nothing may read the rows, or type, between the two.
    void DeferRows();
    void CatchUpRows();

    // --- Undo and clear. The drawing and its undo copy trade places instead
    // of being copied, and the layers are blanked or copied only over the
    // rows that hold anything, so a replayed script's time follows the drawing
    // it asks for, not the number of undo or clear events in it.
    void SaveUndoSnapshot();
    void ExchangeWithUndo();
    // The state change of "clear all", once the user has confirmed it.
    void ClearCanvas();

    // --- Whole ink images.
    // Lays the black pixels of `image` into the ink layer at the same
    // coordinates (columns up to 798, rows up to 463), widens the ink extent
    // with every inked column, and matches all 29 rows. No undo step.
    void LayInk(const Image& image);
    // The drawing becomes `image`'s black pixels, as one undoable step.
    void ReplaceInk(const Image& image);
    // Opened text art: its ink is laid as LayInk lays it, but each row keeps
    // the cells it was written with instead of being matched. Such a row
    // stays opened until cleared: a row no stroke touches keeps its cells as
    // they are, and in a row a stroke touches, the cells the changed columns
    // do not reach stay and only the span between them is decoded again.
    // Switching the decoder leaves opened rows alone. `topLines` is how many
    // empty lines the text began with: they are part of it, where a
    // drawing's empty top rows are not (see openedTopLines). No undo step.
    void LayText(const Image& ink, const TextRows& rows, int topLines = 0);
    // The drawing becomes the opened text, as one undoable step.
    void ReplaceWithText(const Image& ink, const TextRows& rows, int topLines = 0);
    // For a face restoring a session it kept: the rows `opened` marks take
    // `rows`' cells and are kept from then on as opened rows are, over the
    // ink already laid; the other rows stay as they were matched. No undo step.
    void KeepOpenedRows(const TextRows& rows, const OpenedRows& opened, int topLines = 0);
    // `image`'s black pixels are added to the drawing, as one undoable step.
    void AddInk(const Image& image);
    void WidenInkExtent(std::int64_t canvasX);
    // Re-matches rows first to last (clamped to 0-28) and redraws them.
    void MatchRows(int first, int last);
    // Redraws every row of the text layer and its undo copy from the rows as
    // they are: after the painter's way of drawing spacing changed.
    void RedrawText();

    // --- Text the user puts in (art_state_text.cpp): typed words. Row `row` keeps `cells` as a row of opened text keeps its
    // cells; in its ink rows, columns `from` to `to` - 1 are whitened and
    // the cells' characters drawn there, so that pen and eraser meet them as
    // they meet opened text. The neighbouring rows, whose bands reach that
    // ink, are matched again. No undo step: the caller begins one.
    void KeepRowText(int row, const TextRow& cells, int from, int to, const MonaFont& face);

    // --- The history of steps (art_state_history.cpp). Every command that
    // starts an undoable step (a stroke, clear, whole ink images, a moved
    // selection) closes the step before it; in Steps mode the closed step is
    // kept as what it changed.
    // Single is the one toggling undo that ExchangeWithUndo gives (the
    // default, as every replay script was written for it); a change of mode
    // forgets the steps kept.
    void SetUndoMode(UndoMode mode);
    UndoMode undoMode() const { return undoMode_; }
    // One step back, or forward again: in Single mode the exchange with the
    // undo copy (redo only right after an undo). A stroke under way ends
    // first. False when there was nothing to take back or bring back.
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    const History& history() const { return history_; }

    // --- A selection (art_state_selection.cpp): the black ink inside a
    // rectangle and the opened cells it holds whole, moved as one. Once
    // moved, the selection floats over the drawing it was lifted from until
    // another step sets it down, so moving it on over other ink leaves that
    // ink as it was. Every change is one undoable step; the rows its ink
    // reaches are matched from scratch, so a moved selection's text is the
    // text of the same ink drawn there (opened cells move along when the
    // move is by whole rows).
    // What lies in `rect` (for copying).
    InkPiece TakePiece(const InkRect& rect) const;
    // Moves what lies in `rect` (or the floating selection, when it lies
    // there) by dx, dy ink pixels; returns where it lies now. A move of the
    // same step goes on with the step before it (a drag is one step).
    enum class Step { New, Same };
    InkRect MoveSelection(const InkRect& rect, int dx, int dy, Step step = Step::New);
    // Lays `piece` over the drawing where it was taken, floating.
    InkRect PasteSelection(const InkPiece& piece);
    // Takes what lies in `rect` out of the drawing.
    void DeleteSelection(const InkRect& rect);
    // Sets a floating selection down: the drawing stays as it is.
    void DropSelection();
    // Where the floating selection lies, if one floats.
    std::optional<InkRect> floatingRect() const;
    // The drawing moved left by its left margin (its leftmost ink or opened
    // cell to column 0), as one step; false when there was no margin.
    bool AlignLeft();
    // The columns AlignLeft would move the drawing by (0: none).
    int LeftMargin() const;

    const Image& inkLayer() const { return drawing_->ink; }
    // The ink undo would bring back (the drawing itself when nothing was done
    // since the last snapshot): what a face keeps to restore a session whole.
    const Image& undoInkLayer() const;
    // Empty (0 x 0) in a session without a painter, which never draws text.
    const Image& textLayer() const { return drawing_->text; }
    const TextRows& rows() const { return drawing_->rows; }
    // Which rows keep opened text, and the same for the drawing undo brings
    // back: with the rows, what a face keeps to restore opened text as written.
    const OpenedRows& openedRows() const { return drawing_->opened; }
    bool KeepsAnyOpenedRow() const;
    // The empty lines the opened text began with (0 for a drawing): the text
    // written out starts with as many above its first non-empty row, so that
    // they come back.
    int openedTopLines() const { return drawing_->topLines; }
    int undoOpenedTopLines() const { return undo_->topLines; }
    const TextRows& undoRows() const { return undo_->rows; }
    const OpenedRows& undoOpenedRows() const { return undo_->opened; }
    const StrokePreview& preview() const { return preview_; }
    bool penMode() const { return penMode_; }
    bool strokeActive() const { return strokeActive_; }
    bool conversionPending() const { return conversionPending_; }
    int inkMinX() const { return inkMinX_; }
    int inkMaxX() const { return inkMaxX_; }

  private:
    struct Floating;
    struct Placement;
    // One drawing with everything taken from it. The session holds two, the
    // current one and the undo copy.
    struct Drawing {
        // Empty (0 x 0) in an undo copy until it is first needed: then the
        // drawing is blank, and its ink rows are marked empty.
        Image ink;
        // Made only for a session with a painter: nothing else draws text.
        Image text;
        TextRows rows;
        // The ink layer as bits, one band per row, kept up to date as ink changes.
        std::array<InkBand, kRowCount> bands;
        // Where each row's cells were hit, and the columns whose ink changed in
        // its window since: the rows the paint leaves alone (a change in their
        // margin only) catch up when next matched.
        std::array<RowTrail, kRowCount> trails;
        std::array<ColumnSpan, kRowCount> unmatched;
        // The rows laid from opened text, whose cells are kept but where ink changed.
        OpenedRows opened{};
        int topLines = 0;
        // The ink-layer pixel rows and the text rows that may hold anything but
        // white; outside them both layers are blank.
        ChangedRows inkRows;
        ChangedRows textRows;
    };

    // A blank drawing whose rows were scanned over the current ink extent,
    // made from `drawing` by whitening only the rows it marked.
    void Blank(Drawing& drawing) const;
    // Makes `to` equal to `from`, copying only rows either marks; `from`
    // has its ink.
    static void CopyDrawing(const Drawing& from, Drawing& to);
    // Lines `first` to `last` of `from` into `to` (none when last < first).
    static void CopyLines(const Image& from, Image& to, int first, int last);
    // All but the layers' pixels: the rows, their bands and what marks them.
    static void CopyRowsAndBands(const Drawing& from, Drawing& to);
    // Gives `drawing` its blank ink, if it has none yet.
    static void MakeInk(Drawing& drawing);
    // Queues the segment from the last point to `to`.
    void AddSegment(PenPoint to);
    // Queues the straight line shown, if the pointer moved since it began.
    void CommitLine();
    // A freehand piece of the stroke begins at the last point (the stroke's
    // start, or a straight line's end): the ink before it is kept if it may
    // settle.
    void BeginFreehandPiece();
    // Draws the freehand piece ending now again along its settled path: its
    // ink taken back to what it was before the piece, over the piece's box.
    void SettleStroke();
    ChangedRows RasteriseNewestSegment(const PenSegment& segment);
    // A kept character's cell in the ink layer, with its ink pixels counted.
    struct KeptBox {
        int row, from, to;  // columns [from, to)
        int inked;
    };
    // The kept characters within the eraser's reach of the segment from `a`
    // to `b` (ink pixels) that have ink, in rows that keep opened text.
    std::vector<KeptBox> KeptBoxesNear(Point a, Point b, ColumnSpan columns, int reach) const;
    int InkIn(const KeptBox& box) const;
    // Erases whole every one of `boxes` that lost ink since it was counted,
    // widening `columns` by their columns; the ink rows it changed.
    ChangedRows EraseWholeKeptCharacters(const std::vector<KeptBox>& boxes, ColumnSpan& columns);
    // Brings the bands up to date with ink changed in rows `changed`, within
    // `columns`, and notes the columns for every row whose window they reach.
    void NoteInkChange(const ChangedRows& changed, ColumnSpan columns);
    void ReadAllBands();
    // Lays `image`'s black pixels into the ink layer (see LayInk), noting
    // the columns they changed in each row, and reads the bands again.
    void LayPixels(const Image& image);
    // Re-matches rows first to last from what changed since each was last
    // matched, and redraws the rows whose cells changed.
    void RematchRows(int first, int last);
    // For an opened row: true when it was handled (re-decoded between the
    // cells the ink changed since `touched_` was noted does not reach).
    bool KeepOpenedRow(int row);
    // Row `row` as `cells` (starting at `starts`) with those from `left` to
    // `right` - 1 replaced by the span's ink, columns `spanLeft` to
    // `spanRight` - 1, decoded again.
    void DecodeBetweenKept(int row, const TextRow& cells, const std::vector<std::int64_t>& starts,
                           std::size_t left, std::size_t right, std::int64_t spanLeft,
                           std::int64_t spanRight, TextRow& out);
    // Notes the columns a segment from `a` to `b` (ink pixels, widened by
    // `reach`) changed in each text row of `changed`, but for the kept
    // characters of `unchanged` at its ends.
    void NoteTouchedColumns(Point a, Point b, int reach, const ChangedRows& changed,
                            const std::vector<KeptBox>& unchanged);
    // Those of `boxes` that hold the ink they held when counted.
    std::vector<KeptBox> UnchangedBoxes(const std::vector<KeptBox>& boxes) const;
    void DrawRow(int row);

    // The history (art_state_history.cpp): a step begins (the open one is
    // closed and the drawing copied as it is), what the open step changed
    // is kept, and a kept step is applied back or forward.
    void BeginStep();
    // Keeps what the open step changed, if anything; with `followInCopy` the
    // undo copy is then brought up to the drawing by the step itself, and
    // true says it was.
    bool CloseStep(bool followInCopy = false);
    HistoryStep StepBetween(const Drawing& before, const Drawing& after) const;
    // Returns the text rows it drew again.
    ChangedRows ApplyStep(const HistoryStep& step, bool forward);
    // After `step` changed the drawing its undo copy equalled, drawing again
    // `textRows`: the copy equal again.
    void FollowInUndoCopy(const HistoryStep& step, ChangedRows textRows);
    // The selection (art_state_selection.cpp).
    void Lift(const InkRect& rect);
    void Place(int dx, int dy, bool withPiece, Step step = Step::New);
    void Apply(const Placement& placement, Step step);

    const RowMatcher& matcher_;
    const TextPainter* painter_;
    Rematching rematching_;
    const FineDecoder* fine_ = nullptr;

    std::unique_ptr<Drawing> drawing_ = std::make_unique<Drawing>();
    std::unique_ptr<Drawing> undo_ = std::make_unique<Drawing>();
    // True while the undo copy equals the drawing, so that a snapshot with
    // nothing drawn since the last one (a click, a second clear) costs nothing.
    bool undoIsCopy_ = true;

    // Only the newest point of the stroke is ever read: the next segment starts there.
    PenPoint lastPoint_;
    // Segments recorded since the last paint; a button-up does not drop them.
    std::vector<PenSegment> pendingSegments_;
    // Per row, the columns of its own ink rows changed since it was last
    // matched: what an opened row decodes again.
    std::array<ColumnSpan, kRowCount> touched_{};
    // The ink of one row with everything outside a span blank; white between
    // uses, made when an opened row is first decoded again.
    Image spanInk_;
    StrokePreview preview_;
    Stabilizer stabilizer_ = Stabilizer::Off;
    int eraserWidth_ = kWidePenWidth;
    // The freehand piece under way's pen points, and whether it may settle
    // when it ends (a pen stroke with the stabilizer on); the ink as it was
    // before it, made the first time a piece may settle.
    std::vector<PenPoint> strokePoints_;
    bool settles_ = false;
    std::unique_ptr<Image> beforeStroke_;
    // Rows a settled stroke left, matched again at the next paint.
    ColumnSpan settledRows_;
    StrokeStabilizer steadied_;
    // The straight line under way (Shift held): from `lineFrom_`, the last
    // point drawn, to `lineTo_` once the pointer has moved.
    bool straight_ = false;
    bool lineMoved_ = false;
    PenPoint lineFrom_;
    PenPoint lineTo_;
    bool strokeActive_ = false;
    bool conversionPending_ = false;
    bool rowsDeferred_ = false;  // DeferRows: the paints decode nothing
    bool rowsBehind_ = false;    // and a paint has decoded nothing since
    bool penMode_ = true;
    int inkMinX_ = 799;
    int inkMaxX_ = 0;

    UndoMode undoMode_ = UndoMode::Single;
    History history_;
    // True after an odd number of Single-mode undos since the last step.
    bool swappedBack_ = false;
    // Counts decoder changes: steps kept under another decoder are converted again.
    int decoderGeneration_ = 0;
    // Defined beside the selection's code, where a Floating is whole.
    struct FloatingDeleter {
        void operator()(Floating* floating) const;
    };
    std::unique_ptr<Floating, FloatingDeleter> floating_;
};

}  // namespace fudeline
