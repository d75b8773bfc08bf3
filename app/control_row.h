// The row of controls above the canvas keeps the places it was designed with
// for the Japanese labels; a label that needs more room (another language,
// another face) widens its control and pushes its neighbours aside, so no
// text is cut and no two controls touch.
#pragma once

#include <QList>

class QWidget;

namespace fudeline {

// The least room between what two neighbouring controls show.
inline constexpr int kControlGap = 4;

// The width `control` needs to show its whole label: a button's text with the
// style's margins, a check box's own size hint.
int NeededWidth(const QWidget& control);

// Lays `row` (left to right, all of one parent) out again: each control at
// least as wide as it needs, at its place unless the one before pushes it,
// kControlGap clear of its neighbours. Should that pass `right`, buttons give
// up their room beyond their text, then the wider gaps close, never left of
// where the row began. Controls that fit stay exactly where they were.
void FitControlRow(const QList<QWidget*>& row, int right);

}  // namespace fudeline
