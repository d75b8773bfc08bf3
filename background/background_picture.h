// The picture under the canvas: which one, shown or not, faint or plain, and
// at which size. Keeps the scaled picture between paints, since a paint
// follows every mouse move and rescaling a photo each time would make drawing lag.
#pragma once

#include <QString>

#include <optional>

#include "background/picture_library.h"
#include "pixels/image.h"

namespace fudeline {

inline constexpr int kBackgroundScales[] = {25, 50, 75, 100, 120, 150, 200};

class BackgroundPicture {
  public:
    ~BackgroundPicture() { Release(); }

    // Frees the current pair, then loads `path` and makes its faint copy;
    // shows the picture. On failure no picture is left and `error` says why.
    bool Choose(const QString& path, QString* error);
    void ToggleShown() { Flip(showBackground_); }
    void ToggleFaint() { Flip(faintBackground_); }
    void SetScale(int percent);
    // Frees both pictures (the window is closing).
    void Release();

    // The picture as the canvas shows it (scaled, cut at 800 x 522), or null
    // when nothing is to be drawn.
    const Image* CanvasLayer();

    bool shown() const { return showBackground_ == 1; }
    bool faint() const { return faintBackground_ == 1; }
    int scale() const { return backgroundScale_; }
    PictureHandle backgroundImage() const { return backgroundImage_; }
    PictureHandle fadedImage() const { return fadedImage_; }
    const PictureLibrary& library() const { return library_; }

  private:
    void Flip(int& flag) {
        flag = flag == 1 ? 0 : 1;
        cacheValid_ = false;
    }

    PictureLibrary library_;
    PictureHandle backgroundImage_ = 0;
    PictureHandle fadedImage_ = 0;
    int showBackground_ = 0;
    int faintBackground_ = 1;
    int backgroundScale_ = 100;

    bool cacheValid_ = false;
    std::optional<Image> cache_;
};

}  // namespace fudeline
