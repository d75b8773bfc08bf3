#include "app/control_row.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace fudeline {

int NeededWidth(const QWidget& control) {
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        // Not sizeHint(): the style gives buttons a minimum width the design's
        // narrower buttons never had.
        const int margins =
            2 * (button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                 button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
        return button->fontMetrics().horizontalAdvance(button->text()) + margins;
    }
    return control.sizeHint().width();
}

void FitControlRow(const QList<QWidget*>& row, int right) {
    const int n = static_cast<int>(row.size());
    if (n == 0) return;
    const int first = row.front()->x();
    std::vector<int> designed, left, width, needed;
    for (const QWidget* control : row) {
        designed.push_back(control->x());
        needed.push_back(NeededWidth(*control));
        width.push_back(std::max(control->width(), needed.back()));
    }
    auto isCheckBox = [&](int i) { return qobject_cast<const QCheckBox*>(row[i]) != nullptr; };
    auto shown = [&](int i) { return isCheckBox(i) ? needed[i] : width[i]; };
    // Left to right: a control that needs more room pushes the ones after it.
    // Returns where the last one's shown part ends.
    auto push = [&] {
        left = designed;
        for (int i = 1; i < n; ++i)
            left[i] = std::max(left[i], left[i - 1] + shown(i - 1) + kControlGap);
        return left[n - 1] + shown(n - 1);
    };
    int end = push();
    // Past the edge: buttons first give up the room the design gave them
    // beyond their text, the rightmost first...
    for (int i = n - 1; i >= 0 && end > right; --i) {
        if (isCheckBox(i)) continue;
        width[i] -= std::min(width[i] - needed[i], end - right);
        end = push();
    }
    // ...then the design's wider gaps close, from the right.
    if (end > right) {
        int limit = right;
        for (int i = n - 1; i >= 0; --i) {
            left[i] = std::max(std::min(left[i], limit - shown(i)), first);
            limit = left[i] - kControlGap;
        }
    }
    for (int i = 0; i < n; ++i) {
        // A check box wider than its label never reaches under its neighbour.
        int w = width[i];
        if (isCheckBox(i) && i + 1 < n)
            w = std::max(needed[i], std::min(w, left[i + 1] - kControlGap - left[i]));
        row[i]->setGeometry(left[i], row[i]->y(), w, row[i]->height());
    }
}

}  // namespace fudeline
