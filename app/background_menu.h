// The popup menu under "背景...": choose a picture, show it, faint, and sizes.
// One action per command; the check marks are set from the picture each time
// the picture changes, so they always say what the canvas shows.
#pragma once

#include <QMenu>

class QAction;
class QActionGroup;

namespace fudeline {

class BackgroundPicture;

class BackgroundMenu : public QMenu {
    Q_OBJECT

  public:
    BackgroundMenu(BackgroundPicture& picture, QWidget* parent);

    // Sets every check mark from the picture.
    void SyncMarks();

    QAction* chooseAction() const { return choose_; }

  signals:
    // The user asked for a picture file.
    void choosePictureRequested();
    // What the canvas shows of the picture changed.
    void pictureChanged();

  private:
    QAction* AddToggle(QMenu* menu, const char* name, const QString& text,
                       void (*flip)(BackgroundPicture&));

    BackgroundPicture& picture_;
    QAction* choose_ = nullptr;
    QAction* show_ = nullptr;
    QAction* faint_ = nullptr;
    QActionGroup* sizes_ = nullptr;
};

}  // namespace fudeline
