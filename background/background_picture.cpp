#include "background/background_picture.h"

#include "pixels/geometry.h"

namespace fudeline {

bool BackgroundPicture::Choose(const QString& path, QString* error) {
    Release();
    backgroundImage_ = library_.LoadPicture(path, error);
    fadedImage_ = library_.CopyPicture(backgroundImage_);
    library_.FadePicture(fadedImage_, 3000, 3000, 3000);
    showBackground_ = 1;
    cacheValid_ = false;
    return backgroundImage_ != 0;
}

void BackgroundPicture::SetScale(int percent) {
    backgroundScale_ = percent;
    cacheValid_ = false;
}

void BackgroundPicture::Release() {
    if (backgroundImage_ != 0) library_.FreePicture(backgroundImage_);
    if (fadedImage_ != 0) library_.FreePicture(fadedImage_);
    backgroundImage_ = fadedImage_ = 0;
    cacheValid_ = false;
}

const Image* BackgroundPicture::CanvasLayer() {
    if (showBackground_ != 1 || backgroundImage_ == 0 || fadedImage_ == 0) return nullptr;
    if (!cacheValid_) {
        int w = 0, h = 0;
        library_.GetPictureInfo(backgroundImage_, w, h);  // the plain picture's size, always
        const PictureHandle picture = faintBackground_ == 1 ? fadedImage_ : backgroundImage_;
        const int dw = static_cast<int>(std::int64_t{backgroundScale_} * w / 100);
        const int dh = static_cast<int>(std::int64_t{backgroundScale_} * h / 100);
        // White where the picture does not reach, as the canvas is.
        cache_.emplace(std::min(dw, kCanvasWidth), std::min(dh, kCanvasHeight));
        library_.DrawPicture(*cache_, 0, 0, dw, dh, picture, 0, 0, w, h, kSrcCopy, 3);
        cacheValid_ = true;
    }
    return &*cache_;
}

}  // namespace fudeline
