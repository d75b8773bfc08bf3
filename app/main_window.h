// The one window of Fudeline: a menu bar, the tool indicator and a row of
// controls above the canvas, the canvas in a view that zooms and scrolls, the
// post counter below it. It owns one Document and one background picture;
// each command is a QAction with its shortcut and its place in a menu, and
// the buttons and popup menus trigger the same actions.
#pragma once

#include <QFutureWatcher>
#include <QMainWindow>

#include <functional>
#include <optional>
#include <vector>

#include "app/file_chooser.h"
#include "app/frame_dialog.h"
#include "app/page_dialogs.h"
#include "app/background/background_picture.h"
#include "engine/document.h"
#include "engine/engine.h"
#include "text/spacing.h"
#include "fudeline/version.h"
#include "trace/trace_picture.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;

namespace fudeline {

class BackgroundMenu;
class CanvasWidget;
class PostStatus;

inline constexpr const char* kCaption = " \u3006(x`) Fudeline v" FUDELINE_VERSION;
inline constexpr const char* kShiftJisMime = "text/plain;charset=Shift_JIS";

class PartsPalette;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `engine`, loaded whole, must outlive the window; the window sets how its
    // painter draws gaps.
    explicit MainWindow(Engine& engine, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Tests answer file requests through this instead of a dialog.
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // Which page of a page file to open (labels listed; -1: cancelled), and
    // the name of a page added to an AST file (nothing: cancelled); tests
    // answer through these instead of a dialog.
    using PageChooser =
        std::function<int(const QStringList& labels, const PagePreview& preview, QWidget* parent)>;
    using PageNamer = std::function<std::optional<QString>(QWidget* parent)>;
    void SetPageChooser(PageChooser chooser) { choosePage_ = std::move(chooser); }
    // The words and style of a speech frame (nothing: cancelled); tests
    // answer through this instead of a dialog.
    using FrameAsker = std::function<std::optional<FrameRequest>(QWidget* parent)>;
    void SetFrameAsker(FrameAsker asker) { askFrame_ = std::move(asker); }
    void SetPageNamer(PageNamer namer) { askPageName_ = std::move(namer); }

    const ArtState& state() const { return document_.state(); }
    const Document& document() const { return document_; }
    const BackgroundPicture& background() const { return background_; }
    CanvasWidget* canvas() const { return canvas_; }
    QScrollArea* view() const { return view_; }
    PostStatus* postStatus() const { return postStatus_; }
    Document& document() { return document_; }
    // The message shown beside the counter (empty when none).
    QString statusMessage() const;
    // Every key the window answers, one "keys<TAB>what" a line, as the help shows it.
    QStringList ShortcutList() const;

    // The canvas's zoom: `zoom` times its size, about `anchor` (a point of
    // the canvas widget that stays where it is on screen); the zoom steps
    // between 100 % and 800 %, and the zoom that shows the whole canvas.
    void ZoomTo(double zoom, std::optional<QPointF> anchor = std::nullopt);
    void ZoomBy(int steps, std::optional<QPointF> anchor = std::nullopt);
    double FitZoom() const;

    // The text Copy puts on the clipboard, in Shift-JIS.
    std::string ExportText() const;
    // How gaps are spelled now: Unicode spaces when chosen, else spaces only
    // with the fine decoder's "no fillers", else fillers.
    Spacing spacing() const { return document_.decoder().spacing; }

    PartsPalette* partsPalette() const { return parts_; }
    // Reads the page file at `path` into the parts palette and shows it; on
    // failure says so (a warning, or with `quiet` a status message) and
    // returns false.
    bool LoadPartsLibrary(const QString& path, bool quiet = false);

    // True from "線を取り込む" until its lines are in the drawing.
    bool tracingLines() const { return tracing_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QAction* AddCommand(const char* name, const QString& text, const QKeySequence& shortcut,
                        void (MainWindow::*command)());
    void CreateControls();
    void CreateMenus();
    // The eraser's widths under the tool menu, with [ and ] to step.
    void CreateEraserSizes(QMenu* toolMenu);
    void ShowMenuUnder(QMenu* menu, QPushButton* button);
    void DrawingChanged();
    // How long a message that needs no answer stays beside the counter.
    static constexpr int kMessageMs = 4000;
    // Says `message` beside the counter, for `ms` milliseconds (0: until replaced).
    void ShowStatusMessage(const QString& message, int ms = 0);
    // The counter's "左に寄せると" figure, worked out once drawing pauses.
    void CountAlignedLeft();

    void Undo();
    void Redo();
    void ClearAll();
    // Copy: the selection when one is drawn, else the text (CopyAsText).
    void Copy();
    void CopyAsText();
    void Cut();
    void Paste();
    void DeleteSelection();
    void SelectAll();
    void ClearSelection();
    void AlignLeft();
    void ChoosePen();
    void ChooseEraser();
    void ChooseSelect();
    void ChooseText();
    void SyncTools();
    void ShowShortcuts();
    void ZoomIn();
    void ZoomOut();
    void ZoomActualSize();
    void ZoomToFit();
    // Where keyboard zoom centres: the pointer over the canvas, else the view's middle.
    QPointF ZoomAnchor() const;
    void OpenDrawing();
    void SaveDrawing();
    // False when the user cancelled or the file could not be written.
    bool SaveDrawingToFile();
    // True when the ink differs from what was last saved or opened.
    bool HasUnkeptDrawing();
    // A page's text drawn as the canvas shows it, for the page chooser.
    QImage PagePicture(const std::string& sjisText) const;
    void ExportTextFile();
    void SaveTextPicture();
    // Existing text art (a text file, or a page of an MLT or AST file) drawn
    // as the drawing, as one undoable step; and the text added as a page.
    void OpenTextArt();
    void AppendPage();
    // The parts palette (parts_commands.cpp): a dock of the pages of the
    // libraries the user opened, kept between runs; a part chosen is laid
    // into the drawing at the next click on the canvas.
    void CreatePartsPalette(QMenu* viewMenu);
    // The libraries of the last run, once the status line can say what failed.
    void RestorePartsLibraries();
    void OpenPartsLibrary();
    // "吹き出しを置く": words in a speech frame, laid at the next click.
    void PlaceSpeechFrame();
    void ChooseBackgroundPicture();
    void LoadBackgroundPicture(const QString& path);

    // Taking the background's lines into the drawing: the picture is read
    // here, its lines are found on a worker thread, and they join the drawing
    // here once no stroke is under way.
    // Fitted to the board, the lines are found at the largest size whose
    // text fits one post on the board chosen (FitPictureToBoard).
    void TraceBackgroundLines(bool fitBoard = false);
    void AddTracedLines();
    void SetTracing(bool tracing);

    // Rows become text by the row matcher or, when chosen, the fine decoder.
    void ApplyConversionMode();
    // The stabilizer chosen, for the strokes from the next one on.
    void ApplyStabilizer();

    // Writes `bytes` to `path` whole; on failure says so, with the file name.
    bool WriteOrWarn(const QString& path, const std::string& bytes);
    // The same for what a command made, or why it could not be made.
    bool WriteOrWarn(const QString& path, const Result<std::string>& bytes);
    void Warn(const QString& message, const QString& path, const QString& reason);

    Engine& engine_;
    Document document_;
    ArtState& state_;  // the document's session, which the canvas draws on
    BackgroundPicture background_;
    FileChooser chooseFile_;
    PageChooser choosePage_;
    PageNamer askPageName_;
    FrameAsker askFrame_;
    Image keptInk_;  // the ink as last saved or opened; closing asks when it differs

    CanvasWidget* canvas_ = nullptr;
    PartsPalette* parts_ = nullptr;
    QScrollArea* view_ = nullptr;
    PostStatus* postStatus_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer* messageTimer_ = nullptr;
    QTimer* alignTimer_ = nullptr;
    QWidget* indicator_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* singleUndo_ = nullptr;
    QAction* pen_ = nullptr;
    QAction* eraser_ = nullptr;
    std::vector<QAction*> eraserSizes_;  // small, medium, large
    QAction* select_ = nullptr;
    QAction* text_ = nullptr;
    QAction* rowLines_ = nullptr;
    QList<QAction*> commands_;
    bool shown_ = false;
    BackgroundMenu* backgroundMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QCheckBox* brTagBox_ = nullptr;
    QCheckBox* rowLinesBox_ = nullptr;
    QCheckBox* fineBox_ = nullptr;
    QCheckBox* noFillersBox_ = nullptr;
    QCheckBox* unicodeSpacingBox_ = nullptr;
    QComboBox* stabilizerBox_ = nullptr;

    QFutureWatcher<TracedInk> traceWatcher_;
    // What fitting to the board found, written by the worker and read once
    // it has finished.
    struct BoardFitOutcome {
        std::optional<double> scalePercent;
        std::optional<Error> error;
    };
    std::shared_ptr<BoardFitOutcome> boardFit_;
    std::optional<Image> tracedInk_;  // found, waiting for the stroke under way to end
    bool tracing_ = false;
};

}  // namespace fudeline
