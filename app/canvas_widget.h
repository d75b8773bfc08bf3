// The 800 x 522 canvas, shown at a zoom: takes the mouse for the drawing
// session and shows the composed canvas. A mouse position becomes the canvas
// pixel under it and goes through the core's one client-pixel mapping, so at
// 100 % the window means exactly what a replay script of the same client
// pixels means, and zoomed every pen point still lands on the pixel under
// the pointer. With the selection tool the mouse draws a selection or drags
// the one under it. With the text tool a click puts the caret down and the
// keys and the input method type at it. The conversion itself runs in the
// core, at paint time.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>

#include "errors/result.h"
#include "pixels/image.h"
#include "pixels/pen_stroke.h"
#include "session/selection.h"

namespace fudeline {

class BackgroundPicture;
class Document;

class CanvasWidget : public QWidget {
    Q_OBJECT

  public:
    // Draw: the pen or the eraser, as the session's pen mode says.
    enum class Tool { Draw, Select, Text };

    CanvasWidget(Document& document, BackgroundPicture& background, QWidget* parent);

    void SetShowRowLines(bool show);
    bool showRowLines() const { return showRowLines_; }
    // The canvas as last composed, at 100 %.
    const Image& image() const { return view_; }

    // The canvas shown `zoom` times its size (1: 100 %).
    void SetZoom(double zoom);
    double zoom() const { return zoom_; }
    void SetTool(Tool tool);
    Tool tool() const { return tool_; }
    // The canvas pixel under a position on the widget (outside the canvas too).
    QPoint CanvasPixel(QPointF local) const;
    // The selection's rectangle on the widget, if there is one.
    std::optional<QRect> SelectionOnWidget() const;
    // The caret on the widget, one row high, if words are being typed.
    std::optional<QRect> CaretOnWidget() const;
    // The caret goes, with what the input method was composing.
    void EndTyping();
    // What the next click on the canvas lays into the drawing (a part, words
    // in a frame), given the canvas point clicked; the selection tool then
    // holds it, ready to move. Empty: nothing waits.
    using Placement = std::function<Status(PenPoint at)>;
    void SetPendingPlacement(Placement place);
    bool placementPending() const { return static_cast<bool>(pendingPlacement_); }
    // What the input method is composing at the caret, not yet typed.
    const QString& preedit() const { return preedit_; }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  signals:
    // A paint re-matched rows, or a command changed them: the text changed.
    void rowsChanged();
    // A file was dropped on the canvas.
    void fileDropped(const QString& path);
    // The selection was drawn, cleared or moved.
    void selectionChanged();
    // Space-drag or the middle button: the view moves by `delta` screen pixels.
    void panRequested(QPoint delta);
    // Ctrl+wheel: `steps` zoom steps (in positive) about `local`.
    void zoomRequested(int steps, QPointF local);
    // What was typed, or part of it, was refused, for this reason.
    void typingRefused(const QString& reason);
    // A pending placement was laid into the drawing (the selection tool
    // holds it), or refused for this reason.
    void placed();
    void placementRefused(const QString& reason);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    bool typing() const;
    // The keys the text tool takes while a caret stands, before any shortcut.
    bool IsTypingKey(const QKeyEvent& event) const;
    // True when the key was the text tool's.
    bool TypeKey(const QKeyEvent& event);
    void TypeText(const QString& text);
    void TypingDone(bool changed);
    void PaintCaret(QPainter& painter);
    // Moves of a selection dragged wait for the paint, as strokes do.
    bool ApplyPendingMove();
    QRect WidgetRectOfCanvas(const InkRect& canvas) const;

    Document& document_;
    BackgroundPicture& background_;
    Image view_;
    bool showRowLines_ = false;
    double zoom_ = 1.0;
    Tool tool_ = Tool::Draw;

    // Panning: Space held, or the middle button down, and where the pointer last was.
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPoint panFrom_;
    // The selection tool's drag: a rectangle drawn from `bandFrom_`, or the
    // selection moved from `moveFrom_` (ink pixels), `moved_` of it done.
    std::optional<QPoint> bandFrom_;
    QPoint bandTo_;
    std::optional<QPoint> moveFrom_;
    QPoint moveTo_;
    QPoint moved_;
    bool moveStarted_ = false;
    QString preedit_;
    Placement pendingPlacement_;
};

// The tool indicator left of the buttons: the pen and the eraser side by side,
// the one in use lit; a press on it switches between them.
class PenIndicator : public QWidget {
    Q_OBJECT

  public:
    PenIndicator(Document& document, const CanvasWidget& canvas, QWidget* parent);
    QSize sizeHint() const override;

  signals:
    void toggled();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Document& document_;
    const CanvasWidget& canvas_;
    QPixmap pen_;
    QPixmap eraser_;
};

}  // namespace fudeline
