#include "app/canvas_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <algorithm>

#include "background/background_picture.h"
#include "pixels/geometry.h"
#include "session/art_state.h"
#include "session/client_map.h"
#include "session/compose.h"

#include "res/pen_indicator.xpm"

namespace fudeline {
namespace {

// Mouse positions are client pixels held as two signed 16-bit values, as a
// replay script's are: a stroke dragged far outside stops at the same place.
ClientTarget MapLocalPoint(QPointF local, QPoint origin) {
    auto clamp = [](double v) {
        return static_cast<std::int64_t>(std::clamp(v, -32768.0, 32767.0));
    };
    return MapClientPoint(clamp(local.x() + origin.x()), clamp(local.y() + origin.y()));
}

QString LocalFileOf(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

CanvasWidget::CanvasWidget(ArtState& state, BackgroundPicture& background, QWidget* parent)
    : QWidget(parent), state_(state), background_(background), view_(kCanvasWidth, kCanvasHeight) {
    setObjectName(QStringLiteral("canvas"));
    setGeometry(kCanvasLeft, kCanvasTop, kCanvasWidth, kCanvasHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers the whole canvas
    setAcceptDrops(true);
}

void CanvasWidget::SetShowRowLines(bool show) {
    showRowLines_ = show;
    update();
}

void CanvasWidget::paintEvent(QPaintEvent*) {
    // The conversion waits for the paint: any number of mouse moves before it
    // cost one conversion.
    const bool converted = state_.RunPendingConversion();
    CanvasView parts;
    parts.picture = background_.CanvasLayer();
    parts.showRowLines = showRowLines_;
    parts.stroke = &state_.preview();
    parts.textLayer = &state_.textLayer();
    ComposeCanvas(parts, view_);
    const QImage image(reinterpret_cast<const uchar*>(view_.Row(0)), kCanvasWidth, kCanvasHeight,
                       kCanvasWidth * 4, QImage::Format_RGB32);
    QPainter(this).drawImage(0, 0, image);  // 1:1, no smoothing
    if (converted) emit rowsChanged();
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // The press grabs the mouse until release: points outside the canvas keep arriving.
    const ClientTarget target = MapLocalPoint(event->position(), pos());
    if (target.kind == ClientTarget::Kind::Canvas) {
        state_.BeginStroke(target.point, event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    // Shift as the move reports it: held, a straight line; let go, freehand
    // on from the line's end.
    if (state_.ExtendStroke(MapLocalPoint(event->position(), pos()).point,
                            event->modifiers().testFlag(Qt::ShiftModifier))) {
        update();
    }
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (state_.EndStroke()) update();
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

PenIndicator::PenIndicator(ArtState& state, QWidget* parent)
    : QWidget(parent), state_(state), states_(pen_indicator_xpm) {
    setObjectName(QStringLiteral("penIndicator"));
    // The press area is one column and one row larger than the symbol.
    setGeometry(kIndicatorLeft, kIndicatorTop, kIndicatorHitRight - kIndicatorLeft + 1,
                kIndicatorHitBottom - kIndicatorTop + 1);
}

void PenIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, states_, state_.penMode() ? 0 : kIndicatorWidth, 0, kIndicatorWidth,
                       kIndicatorHeight);
}

void PenIndicator::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (MapLocalPoint(event->position(), pos()).kind == ClientTarget::Kind::PenIndicator) {
        state_.TogglePenMode();
        update();
    }
}

}  // namespace fudeline
