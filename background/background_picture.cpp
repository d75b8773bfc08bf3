#include "background/background_picture.h"

#include "pixels/geometry.h"

namespace fudeline {

bool BackgroundPicture::Choose(const QString& path, QString* error) {
    const PictureHandle plain = library_.LoadPicture(path, error);
    if (plain == 0) return false;
    Release();
    plain_ = plain;
    faded_ = library_.CopyPicture(plain_);
    library_.FadePicture(faded_);
    shown_ = true;
    cacheValid_ = false;
    return true;
}

void BackgroundPicture::SetScale(int percent) {
    scale_ = percent;
    cacheValid_ = false;
}

void BackgroundPicture::Release() {
    library_.FreePicture(plain_);
    library_.FreePicture(faded_);
    plain_ = faded_ = 0;
    cacheValid_ = false;
}

Image BackgroundPicture::Draw(PictureHandle picture) const {
    int w = 0, h = 0;
    library_.GetPictureInfo(plain_, w, h);  // the plain picture's size, always
    const int dw = static_cast<int>(std::int64_t{scale_} * w / 100);
    const int dh = static_cast<int>(std::int64_t{scale_} * h / 100);
    // White where the picture does not reach, as the canvas is.
    Image shown(std::min(dw, kCanvasWidth), std::min(dh, kCanvasHeight));
    library_.DrawPicture(shown, 0, 0, dw, dh, picture, 0, 0, w, h);
    return shown;
}

const Image* BackgroundPicture::CanvasLayer() {
    if (!shown_ || plain_ == 0 || faded_ == 0) return nullptr;
    if (!cacheValid_) {
        cache_ = Draw(faint_ ? faded_ : plain_);
        cacheValid_ = true;
    }
    return &*cache_;
}

std::optional<Image> BackgroundPicture::PlainAsShown() const {
    if (!shown_ || plain_ == 0) return std::nullopt;
    return Draw(plain_);
}

}  // namespace fudeline
