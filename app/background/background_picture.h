// The picture under the canvas: which one, shown or not, faint or plain, and
// at which size. Keeps the scaled picture between paints, since a paint
// follows every mouse move and rescaling a photo each time would make drawing lag.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

#include "app/background/picture_library.h"
#include "pixels/image.h"

namespace fudeline {

// A picture at a shown size, cut at 800 x 522 where it is drawn. Holds its
// own reference to the pixels, so the background may change meanwhile.
struct ShownPicture {
    QImage picture;
    int width = 0;  // the shown size, before the cut
    int height = 0;

    Image Draw() const;
};

// The scale that fits the canvas: the whole picture as large as 800 x 522
// holds it, keeping its aspect, at the top left, where fudeline-cli trace
// places a picture by default, so taking in its lines gives what trace gives.
inline constexpr int kFitCanvasScale = 0;

// The size a `width` x `height` picture is shown at, at `percent` % or, for
// kFitCanvasScale, fitted to the canvas.
QSize ShownPictureSize(int width, int height, int percent);

class BackgroundPicture {
  public:
    ~BackgroundPicture() { Release(); }

    // Loads `path` with its faint copy and shows it, replacing the picture
    // shown before. When it cannot be loaded the old picture and every flag
    // stay as they were, and `error` says why.
    bool Choose(const QString& path, QString* error);
    void ToggleShown() { Flip(shown_); }
    void ToggleFaint() { Flip(faint_); }
    // A percentage, or kFitCanvasScale.
    void SetScale(int percent);
    // Frees both pictures (the window is closing).
    void Release();

    // The picture as the canvas shows it (scaled, cut at 800 x 522), or null
    // when nothing is to be drawn.
    const Image* CanvasLayer();
    // The plain picture at the size and place the canvas shows it, even when
    // it is shown faint: fading is a way of looking at the picture, not a
    // change of its lines, and the faint copy keeps only a quarter of the
    // contrast they are found by. Nothing when none is shown. Scaling a photo
    // takes longer than a frame, so it is left to ShownPicture::Draw, which
    // may run on any thread.
    std::optional<ShownPicture> PlainAsShown() const;

    // The chosen file's bytes as they were when it was loaded (empty when
    // too large to keep): the window traces them as `fudeline-cli trace`
    // traces the file, decoded and placed by the same code.
    const QByteArray& fileBytes() const { return fileBytes_; }

    bool shown() const { return shown_; }
    bool faint() const { return faint_; }
    int scale() const { return scale_; }
    bool hasPicture() const { return plain_ != 0; }
    const PictureLibrary& library() const { return library_; }

  private:
    ShownPicture AsShown(PictureHandle picture) const;
    void Flip(bool& flag) {
        flag = !flag;
        cacheValid_ = false;
    }

    PictureLibrary library_;
    PictureHandle plain_ = 0;
    PictureHandle faded_ = 0;
    QByteArray fileBytes_;
    bool shown_ = false;
    bool faint_ = true;
    int scale_ = 100;

    bool cacheValid_ = false;
    std::optional<Image> cache_;
};

}  // namespace fudeline
