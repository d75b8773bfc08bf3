#include "app/background/background_picture.h"

#include <QFile>

#include <algorithm>
#include <cmath>

#include "pixels/geometry.h"

namespace fudeline {

// Files larger than the core's decoding limit are not kept: the core
// would refuse them anyway.
constexpr qint64 kKeptFileBytes = qint64{256} << 20;

bool BackgroundPicture::Choose(const QString& path, QString* error) {
    const PictureHandle plain = library_.LoadPicture(path, error);
    if (plain == 0) return false;
    Release();
    plain_ = plain;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() <= kKeptFileBytes) fileBytes_ = file.readAll();
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
    fileBytes_.clear();
    cacheValid_ = false;
}

Image ShownPicture::Draw() const {
    // White where the picture does not reach, as the canvas is.
    Image shown(std::min(width, kCanvasWidth), std::min(height, kCanvasHeight));
    DrawScaledPicture(shown, 0, 0, width, height, picture, 0, 0, picture.width(), picture.height());
    return shown;
}

QSize ShownPictureSize(int width, int height, int percent) {
    if (width <= 0 || height <= 0) return {};
    if (percent != kFitCanvasScale) {
        return {static_cast<int>(std::int64_t{percent} * width / 100),
                static_cast<int>(std::int64_t{percent} * height / 100)};
    }
    // The factor and rounding trace's placement uses.
    const double scale = CanvasFitScale(width, height);
    return {std::max(1, static_cast<int>(std::lround(width * scale))),
            std::max(1, static_cast<int>(std::lround(height * scale)))};
}

ShownPicture BackgroundPicture::AsShown(PictureHandle picture) const {
    int w = 0, h = 0;
    library_.GetPictureInfo(plain_, w, h);  // the plain picture's size, always
    const QSize shown = ShownPictureSize(w, h, scale_);
    return {library_.SharedPicture(picture), shown.width(), shown.height()};
}

const Image* BackgroundPicture::CanvasLayer() {
    if (!shown_ || plain_ == 0 || faded_ == 0) return nullptr;
    if (!cacheValid_) {
        cache_ = AsShown(faint_ ? faded_ : plain_).Draw();
        cacheValid_ = true;
    }
    return &*cache_;
}

std::optional<ShownPicture> BackgroundPicture::PlainAsShown() const {
    if (!shown_ || plain_ == 0) return std::nullopt;
    return AsShown(plain_);
}

}  // namespace fudeline
