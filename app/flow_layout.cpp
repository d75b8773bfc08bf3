#include "app/flow_layout.h"

#include <QWidget>

#include <algorithm>

namespace fudeline {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), spacing_(spacing) {}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const {
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
    // One row holding everything.
    int width = 0, height = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        width += item->sizeHint().width() + (width > 0 ? spacing_ : 0);
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
    const QRect room = rect.marginsRemoved(contentsMargins());
    int x = room.x(), y = room.y(), lineHeight = 0;
    QList<QPair<QLayoutItem*, QPoint>> line;
    // Items of a row share its height, each centred in it.
    auto finishLine = [&] {
        if (apply) {
            for (const auto& [item, at] : line) {
                const QSize size = item->sizeHint();
                item->setGeometry(QRect(QPoint(at.x(), at.y() + (lineHeight - size.height()) / 2), size));
            }
        }
        line.clear();
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize size = item->sizeHint();
        if (x > room.x() && x + size.width() > room.right() + 1) {
            finishLine();
            x = room.x();
            y += lineHeight + spacing_;
            lineHeight = 0;
        }
        line.append({item, QPoint(x, y)});
        x += size.width() + spacing_;
        lineHeight = std::max(lineHeight, size.height());
    }
    finishLine();
    const QMargins m = contentsMargins();
    return y + lineHeight - rect.y() + m.bottom();
}

}  // namespace fudeline
