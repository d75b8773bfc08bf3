// The popup menu under "背景...": choose a picture, show it, faint, and sizes.
#pragma once

#include <QMenu>

namespace fudeline {

class BackgroundPicture;

// Command identifiers of the menu items.
enum BackgroundCommand : int {
    kChoosePicture = 32772,
    kToggleFaint = 32773,
    kScale25 = 32774,
    kScale50 = 32775,
    kScale75 = 32776,
    kScale100 = 32777,
    kScale150 = 32778,
    kScale200 = 32779,
    kScale120 = 32780,
    kToggleShow = 32781,
};

// The size a scale command sets, or 0 for another command.
int ScaleOfCommand(int command);

// Builds the menu with its check marks set from `picture`; each item's data()
// holds its command identifier and its objectName the identifier as text.
// Positions: 0 choose, 1 show, 2 separator, 3 faint, 4 the size submenu
// (25%, 50%, 75%, separator, 100%, separator, 120%, 150%, 200%).
QMenu* BuildBackgroundMenu(const BackgroundPicture& picture, QWidget* parent);

}  // namespace fudeline
