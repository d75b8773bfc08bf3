#include "app/canvas_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <algorithm>
#include <cmath>

#include "app/core_reasons.h"

#include "app/background/background_picture.h"
#include "engine/document.h"
#include "engine/engine_errors.h"
#include "pixels/geometry.h"
#include "session/art_state.h"
#include "session/client_map.h"
#include "session/compose.h"
#include "text/row_edit.h"

#include "res/pen_indicator.xpm"

namespace fudeline {
namespace {

// Mouse positions are client pixels held as two signed 16-bit values, as a
// replay script's are: a stroke dragged far outside stops at the same place.
ClientTarget MapCanvasPixel(QPoint canvas) {
    auto clamp = [](std::int64_t v) { return std::clamp<std::int64_t>(v, -32768, 32767); };
    return MapClientPoint(clamp(std::int64_t{canvas.x()} + kCanvasLeft),
                          clamp(std::int64_t{canvas.y()} + kCanvasTop));
}

QString LocalFileOf(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

Point InkOf(QPoint canvas) {
    return ToInkPoint({canvas.x(), canvas.y()});
}

// Arrows move a selection a pixel, with Shift a character cell: a row down
// or up, the width of a full-width space across.
constexpr int kCellWidth = kFullWidthSpaceWidth;

// The caret and what the input method composes stand out from the black
// text and the red stroke.
const QColor kCaretColour(0, 90, 200);

// Text a key or the input method gives that is meant to be typed: no control
// characters (Tab, Delete...), which keep their own meaning.
bool Printable(const QString& text) {
    if (text.isEmpty()) return false;
    for (const char32_t code : text.toUcs4()) {
        if (!QChar::isPrint(code)) return false;
    }
    return true;
}

Qt::CursorShape CursorOf(CanvasWidget::Tool tool) {
    switch (tool) {
        case CanvasWidget::Tool::Select:
            return Qt::CrossCursor;
        case CanvasWidget::Tool::Text:
            return Qt::IBeamCursor;
        case CanvasWidget::Tool::Draw:
            break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

CanvasWidget::CanvasWidget(Document& document, BackgroundPicture& background, QWidget* parent)
    : QWidget(parent),
      document_(document),
      background_(background),
      view_(kCanvasWidth, kCanvasHeight) {
    setObjectName(QStringLiteral("canvas"));
    setFixedSize(kCanvasWidth, kCanvasHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers the whole canvas
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("キャンバス"));
}

void CanvasWidget::SetShowRowLines(bool show) {
    showRowLines_ = show;
    update();
}

void CanvasWidget::SetZoom(double zoom) {
    zoom_ = zoom;
    setFixedSize(static_cast<int>(std::lround(kCanvasWidth * zoom)),
                 static_cast<int>(std::lround(kCanvasHeight * zoom)));
    update();
}

void CanvasWidget::SetTool(Tool tool) {
    if (tool != Tool::Text) EndTyping();
    tool_ = tool;
    bandFrom_.reset();
    moveFrom_.reset();
    setCursor(CursorOf(tool));
    // Only the text tool takes the input method: with the pen, P and E stay keys.
    setAttribute(Qt::WA_InputMethodEnabled, tool == Tool::Text);
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
    update();
}

void CanvasWidget::SetPendingPlacement(Placement place) {
    pendingPlacement_ = std::move(place);
    setCursor(pendingPlacement_ ? Qt::CrossCursor : CursorOf(tool_));
}

bool CanvasWidget::typing() const {
    return tool_ == Tool::Text && document_.caret().has_value();
}

std::optional<QRect> CanvasWidget::CaretOnWidget() const {
    if (!typing()) return std::nullopt;
    const TextCaret& caret = *document_.caret();
    return WidgetRectOfCanvas({caret.x, caret.row * kRowHeight, 1, kRowHeight});
}

void CanvasWidget::EndTyping() {
    document_.EndTyping();
    if (!preedit_.isEmpty()) {
        preedit_.clear();
        // What was being composed has no place to go any more.
        if (hasFocus()) QGuiApplication::inputMethod()->reset();
    }
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
    update();
}

bool CanvasWidget::IsTypingKey(const QKeyEvent& event) const {
    if (!typing()) return false;
    switch (event.key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Backspace:
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            // With Shift an arrow moves a selection by a cell; typing has none.
            return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        default:
            break;
    }
    // Shift makes capitals; with Ctrl, Alt or Meta a key is a command.
    const Qt::KeyboardModifiers command = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !(event.modifiers() & command) && Printable(event.text());
}

bool CanvasWidget::TypeKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Escape:
            EndTyping();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!document_.NewLine())
                emit typingRefused(ReasonText(Error{"", kinds::TypeBelowLastRow}));
            TypingDone(false);
            return true;
        case Qt::Key_Backspace:
            TypingDone(document_.EraseBefore());
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const int step = event.key() == Qt::Key_Left ? -1 : event.key() == Qt::Key_Right ? 1 : 0;
            const int rows = event.key() == Qt::Key_Up ? -1 : event.key() == Qt::Key_Down ? 1 : 0;
            document_.MoveCaret(step, rows);
            TypingDone(false);
            return true;
        }
        default:
            break;
    }
    if (!Printable(event.text())) return false;
    TypeText(event.text());
    return true;
}

void CanvasWidget::TypeText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const Status typed =
        document_.Type(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    // A refusal keeps what came before the character refused.
    TypingDone(true);
    if (!typed) emit typingRefused(ReasonText(typed.error()));
}

void CanvasWidget::TypingDone(bool changed) {
    if (changed) emit rowsChanged();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    update();
}

bool CanvasWidget::event(QEvent* event) {
    // While a caret stands, letters are words, not the tools' one-key shortcuts.
    if (event->type() == QEvent::ShortcutOverride && IsTypingKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CanvasWidget::inputMethodEvent(QInputMethodEvent* event) {
    if (!typing()) {
        preedit_.clear();
        event->ignore();
        return;
    }
    if (!event->commitString().isEmpty()) TypeText(event->commitString());
    preedit_ = event->preeditString();
    event->accept();
    update();
}

QVariant CanvasWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            // Until the caret is down, keys are the window's shortcuts.
            return typing();
        case Qt::ImCursorRectangle:
            return CaretOnWidget().value_or(QRect());
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition:
            return 0;
        case Qt::ImSurroundingText:
        case Qt::ImCurrentSelection:
            return QString();
        default:
            return QWidget::inputMethodQuery(query);
    }
}

void CanvasWidget::PaintCaret(QPainter& painter) {
    const std::optional<QRect> caret = CaretOnWidget();
    if (!caret) return;
    QRect line = *caret;
    if (!preedit_.isEmpty()) {
        // Composed text is shown where it will go, underlined, over white so
        // that it reads over the drawing; it is not in the text until committed.
        QFont font = this->font();
        font.setPixelSize(std::max(8, static_cast<int>(std::lround(kInkRowHeight * zoom_))));
        font.setUnderline(true);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QRect box(caret->topLeft(),
                        QSize(metrics.horizontalAdvance(preedit_), caret->height()));
        painter.fillRect(box, Qt::white);
        painter.setPen(kCaretColour);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, preedit_);
        line.moveLeft(box.right() + 1);
    }
    painter.fillRect(line, kCaretColour);
}

QPoint CanvasWidget::CanvasPixel(QPointF local) const {
    auto pixel = [this](double v) {
        return static_cast<int>(std::clamp(std::floor(v / zoom_), -1e9, 1e9));
    };
    return QPoint(pixel(local.x()), pixel(local.y()));
}

QRect CanvasWidget::WidgetRectOfCanvas(const InkRect& canvas) const {
    auto at = [this](int v) { return static_cast<int>(std::lround(v * zoom_)); };
    return QRect(QPoint(at(canvas.left), at(canvas.top)),
                 QPoint(at(canvas.right()) - 1, at(canvas.bottom()) - 1));
}

std::optional<QRect> CanvasWidget::SelectionOnWidget() const {
    if (!document_.selection()) return std::nullopt;
    return WidgetRectOfCanvas(CanvasRectOfInk(*document_.selection()));
}

bool CanvasWidget::ApplyPendingMove() {
    if (!moveFrom_) return false;
    const Point from = InkOf(*moveFrom_), to = InkOf(moveTo_);
    const QPoint wanted(to.x - from.x, to.y - from.y);
    const QPoint delta = wanted - moved_;
    if (delta.isNull()) return false;
    document_.MoveSelection(delta.x(), delta.y(),
                            moveStarted_ ? ArtState::Step::Same : ArtState::Step::New);
    moveStarted_ = true;
    moved_ = wanted;
    emit selectionChanged();
    return true;
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    // The conversion waits for the paint: any number of mouse moves before it
    // cost one conversion.
    const bool moved = ApplyPendingMove();
    ArtState& state = document_.state();
    const bool converted = state.RunPendingConversion() || moved;
    CanvasView parts;
    parts.picture = background_.CanvasLayer();
    parts.showRowLines = showRowLines_;
    parts.stroke = &state.preview();
    parts.textLayer = &state.textLayer();
    ComposeCanvas(parts, view_);
    const QImage image(reinterpret_cast<const uchar*>(view_.Row(0)), kCanvasWidth, kCanvasHeight,
                       kCanvasWidth * 4, QImage::Format_RGB32);
    QPainter painter(this);
    if (zoom_ == 1.0) {
        painter.drawImage(0, 0, image);  // 1:1, no smoothing
    } else {
        // Only the exposed part, each canvas pixel a square of screen pixels.
        const QRect exposed = event->rect();
        const QPoint first = CanvasPixel(exposed.topLeft());
        const QPoint last = CanvasPixel(exposed.bottomRight());
        const QRect source = QRect(first, last).intersected(image.rect());
        painter.drawImage(WidgetRectOfCanvas({source.x(), source.y(), source.width(), source.height()}),
                          image, source);
    }
    // The selection, and the rectangle being drawn, as dashes over white.
    std::optional<QRect> outline = SelectionOnWidget();
    if (bandFrom_) {
        const QRect band = QRect(*bandFrom_, bandTo_).normalized();
        outline = WidgetRectOfCanvas({band.x(), band.y(), band.width() + 1, band.height() + 1});
    }
    if (outline) {
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(outline->adjusted(0, 0, -1, -1));
        painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        painter.drawRect(outline->adjusted(0, 0, -1, -1));
    }
    PaintCaret(painter);
    if (converted) emit rowsChanged();
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        panning_ = true;
        panFrom_ = event->globalPosition().toPoint();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const QPoint pixel = CanvasPixel(event->position());
    if (pendingPlacement_) {
        const ClientTarget target = MapCanvasPixel(pixel);
        if (target.kind != ClientTarget::Kind::Canvas) return;
        const Placement place = std::move(pendingPlacement_);
        pendingPlacement_ = nullptr;
        EndTyping();
        const Status laid = place(target.point);
        setCursor(CursorOf(tool_));
        if (!laid) {
            emit placementRefused(ReasonText(laid.error()));
            return;
        }
        SetTool(Tool::Select);
        update();
        emit placed();
        emit rowsChanged();
        return;
    }
    if (tool_ == Tool::Text) {
        // A click elsewhere ends the words typed so far; on the canvas it
        // puts the caret down for new ones.
        EndTyping();
        const ClientTarget target = MapCanvasPixel(pixel);
        if (target.kind == ClientTarget::Kind::Canvas) document_.PlaceCaret(target.point);
        setFocus(Qt::MouseFocusReason);
        QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
        update();
        return;
    }
    if (tool_ == Tool::Select) {
        const std::optional<QRect> selection = SelectionOnWidget();
        if (selection && selection->contains(event->position().toPoint())) {
            moveFrom_ = moveTo_ = pixel;
            moved_ = QPoint();
            moveStarted_ = false;
        } else {
            bandFrom_ = bandTo_ = pixel;
        }
        update();
        return;
    }
    // The press grabs the mouse until release: points outside the canvas keep arriving.
    const ClientTarget target = MapCanvasPixel(pixel);
    if (target.kind == ClientTarget::Kind::Canvas) {
        document_.state().BeginStroke(target.point, event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const QPoint now = event->globalPosition().toPoint();
        emit panRequested(panFrom_ - now);
        panFrom_ = now;
        return;
    }
    if (tool_ == Tool::Text) return;
    const QPoint pixel = CanvasPixel(event->position());
    if (bandFrom_ || moveFrom_) {
        (bandFrom_ ? bandTo_ : moveTo_) = pixel;
        update();
        return;
    }
    // Shift as the move reports it: held, a straight line; let go, freehand
    // on from the line's end.
    if (document_.state().ExtendStroke(MapCanvasPixel(pixel).point,
                                       event->modifiers().testFlag(Qt::ShiftModifier))) {
        update();
    }
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
        setCursor(spaceHeld_ ? Qt::OpenHandCursor : CursorOf(tool_));
        return;
    }
    if (event->button() != Qt::LeftButton || tool_ == Tool::Text) return;
    if (bandFrom_) {
        const QRect band = QRect(*bandFrom_, CanvasPixel(event->position())).normalized();
        bandFrom_.reset();
        // A click without a drag clears the selection.
        if (band.width() < 2 && band.height() < 2) {
            document_.Select(std::nullopt);
        } else {
            document_.Select(InkRectOfCanvas(band.x(), band.y(), band.width() + 1, band.height() + 1));
        }
        emit selectionChanged();
        update();
        return;
    }
    if (moveFrom_) {
        moveTo_ = CanvasPixel(event->position());
        ApplyPendingMove();
        moveFrom_.reset();
        update();
        emit rowsChanged();
        return;
    }
    if (document_.state().EndStroke()) update();
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();  // the view scrolls
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) emit zoomRequested(steps, event->position());
    event->accept();
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    // Space too is a word's, not the pan's, while a caret stands.
    if (IsTypingKey(*event) && TypeKey(*event)) return;
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            spaceHeld_ = true;
            setCursor(Qt::OpenHandCursor);
        }
        return;
    }
    const bool cell = event->modifiers() & Qt::ShiftModifier;
    int dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Left: dx = cell ? -kCellWidth : -1; break;
        case Qt::Key_Right: dx = cell ? kCellWidth : 1; break;
        case Qt::Key_Up: dy = cell ? -kInkRowHeight : -1; break;
        case Qt::Key_Down: dy = cell ? kInkRowHeight : 1; break;
        default: QWidget::keyPressEvent(event); return;
    }
    // Without a selection the arrows scroll the view.
    if (!document_.selection() || (event->modifiers() & ~Qt::ShiftModifier & ~Qt::KeypadModifier)) {
        event->ignore();
        return;
    }
    document_.MoveSelection(dx, dy);
    emit selectionChanged();
    emit rowsChanged();
    update();
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = false;
        if (!panning_) setCursor(CursorOf(tool_));
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CanvasWidget::focusOutEvent(QFocusEvent* event) {
    // The release of a Space held while focus went elsewhere never comes.
    spaceHeld_ = false;
    QWidget::focusOutEvent(event);
}

void CanvasWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFileOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CanvasWidget::dropEvent(QDropEvent* event) {
    const QString path = LocalFileOf(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    emit fileDropped(path);
}

PenIndicator::PenIndicator(Document& document, const CanvasWidget& canvas, QWidget* parent)
    : QWidget(parent), document_(document), canvas_(canvas) {
    setObjectName(QStringLiteral("penIndicator"));
    setToolTip(tr("ペンと消しゴムを切り替えます (P / E)"));
    // The white-ground halves of the symbol: the pen at x 0-15, the eraser at 48-63.
    const QPixmap states(pen_indicator_xpm);
    pen_ = states.copy(1, 1, 14, kIndicatorHeight - 2);
    eraser_ = states.copy(49, 1, 14, kIndicatorHeight - 2);
    pen_.setMask(pen_.createMaskFromColor(Qt::white));
    eraser_.setMask(eraser_.createMaskFromColor(Qt::white));
    setFixedSize(sizeHint());
}

QSize PenIndicator::sizeHint() const {
    // The press area is one column and one row larger than the symbol.
    return QSize(kIndicatorHitRight - kIndicatorLeft + 1, kIndicatorHitBottom - kIndicatorTop + 1);
}

void PenIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const bool drawing = canvas_.tool() == CanvasWidget::Tool::Draw;
    const bool pen = document_.state().penMode();
    const int half = kIndicatorWidth / 2;
    for (int side = 0; side < 2; ++side) {
        const QRect box(side * half, 0, half, kIndicatorHeight);
        // The tool in use is lit and framed; the other sits on the plain ground.
        const bool active = drawing && (side == 0) == pen;
        painter.fillRect(box, active ? palette().highlight() : palette().base());
        painter.setPen(active ? palette().color(QPalette::Highlight).darker(150)
                              : palette().color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.drawPixmap(box.x() + 1, 1, side == 0 ? pen_ : eraser_);
    }
}

void PenIndicator::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    ArtState& state = document_.state();
    if (canvas_.tool() == CanvasWidget::Tool::Draw) {
        state.TogglePenMode();  // as a replay script's press on it does
    } else if (state.penMode() != (event->position().x() < kIndicatorWidth / 2)) {
        // From the selection tool, the half pressed is the tool chosen.
        state.TogglePenMode();
    }
    update();
    emit toggled();
}

}  // namespace fudeline
