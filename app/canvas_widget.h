// The 800 x 522 canvas: takes the mouse for the drawing session and shows the
// composed canvas. Mouse positions arrive canvas-local and go through the
// core's one client-pixel mapping, so the window means exactly what a replay
// script of the same client pixels means. The conversion itself runs in the
// core, at paint time.
#pragma once

#include <QWidget>

#include "pixels/image.h"

namespace fudeline {

class ArtState;
class BackgroundPicture;

class CanvasWidget : public QWidget {
    Q_OBJECT

  public:
    CanvasWidget(ArtState& state, BackgroundPicture& background, QWidget* parent);

    void SetShowRowLines(bool show);
    bool showRowLines() const { return showRowLines_; }
    // The canvas as last composed.
    const Image& image() const { return view_; }

  signals:
    // A paint re-matched rows: the text changed.
    void rowsChanged();
    // A file was dropped on the canvas.
    void fileDropped(const QString& path);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    ArtState& state_;
    BackgroundPicture& background_;
    Image view_;
    bool showRowLines_ = false;
};

// The pen/eraser symbol left of the buttons; a press on it switches the pen.
class PenIndicator : public QWidget {
    Q_OBJECT

  public:
    PenIndicator(ArtState& state, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    ArtState& state_;
    QPixmap states_;  // pen at x 0-31, eraser at x 32-63
};

}  // namespace fudeline
