// The popup menu under "背景...": choose a picture, show it, faint, sizes
// (fitted to the canvas, or seven percentages; the choice is remembered), and
// take its lines into the drawing.
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

    // While lines are being taken the command stays greyed: a second run
    // would add the same lines twice.
    void SetTracing(bool tracing);

    QAction* chooseAction() const { return choose_; }
    QAction* traceAction() const { return trace_; }
    QAction* traceToFitBoardAction() const { return traceToFit_; }

  signals:
    // The user asked for a picture file.
    void choosePictureRequested();
    // The user asked for the shown picture's lines in the drawing.
    void traceLinesRequested();
    // The same at the largest size whose text fits one post on the board.
    void traceLinesToFitBoardRequested();
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
    QAction* trace_ = nullptr;
    QAction* traceToFit_ = nullptr;
    bool tracing_ = false;
};

}  // namespace fudeline
