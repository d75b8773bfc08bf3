#include "app/background/picture_library.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

#include "pixels/colour_picture.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("PictureLibrary", text);
}

// Qt's own reasons are English; say them in the window's language instead.
QString ReasonOf(QImageReader::ImageReaderError error) {
    switch (error) {
        case QImageReader::FileNotFoundError:
            return Tr(QT_TRANSLATE_NOOP("PictureLibrary", "ファイルがありません"));
        case QImageReader::DeviceError:
            return Tr(QT_TRANSLATE_NOOP("PictureLibrary", "ファイルを読めません"));
        case QImageReader::UnsupportedFormatError:
            return Tr(QT_TRANSLATE_NOOP("PictureLibrary", "画像の形式が分かりません"));
        case QImageReader::InvalidDataError:
            return Tr(QT_TRANSLATE_NOOP("PictureLibrary",
                                        "画像のデータが壊れているか、途中で切れています"));
        default:
            return Tr(QT_TRANSLATE_NOOP("PictureLibrary", "画像を読めません"));
    }
}

}  // namespace

PictureHandle PictureLibrary::Store(QImage image) {
    while (next_ == 0 || pictures_.count(next_)) ++next_;
    const PictureHandle handle = next_++;
    pictures_.emplace(handle, std::move(image));
    return handle;
}

// Transparent parts become white paper with the command-line tool's own
// formula, so the canvas shows the picture as it is traced and the window's
// line import finds the lines the tool finds (Qt alone would drop the alpha
// and show what is under it: black in most files).
static QImage OnWhitePaper(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return picture.convertToFormat(QImage::Format_RGB32);
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x];
            const auto a = static_cast<std::uint8_t>(qAlpha(c));
            row[x] = qRgb(ChannelOverWhite(static_cast<std::uint8_t>(qRed(c)), a),
                          ChannelOverWhite(static_cast<std::uint8_t>(qGreen(c)), a),
                          ChannelOverWhite(static_cast<std::uint8_t>(qBlue(c)), a));
        }
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

PictureHandle PictureLibrary::LoadPicture(const QString& path, QString* error) {
    auto fail = [&](const QString& why) -> PictureHandle {
        if (error) *error = why;
        return 0;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(Tr(QT_TRANSLATE_NOOP("PictureLibrary", "画像ではなくフォルダです")));
    if (!info.exists())
        return fail(Tr(QT_TRANSLATE_NOOP("PictureLibrary", "ファイルがありません")));
    QImageReader::setAllocationLimit(kAllocationLimitMB);
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() &&
        qint64{size.width()} * size.height() * 4 > qint64{kAllocationLimitMB} * 1024 * 1024) {
        return fail(Tr(QT_TRANSLATE_NOOP("PictureLibrary", "画像が大きすぎます (%1 x %2 ピクセル)"))
                        .arg(size.width())
                        .arg(size.height()));
    }
    QImage image = reader.read();
    if (image.isNull()) return fail(ReasonOf(reader.error()));
    return Store(OnWhitePaper(image));
}

PictureHandle PictureLibrary::CopyPicture(PictureHandle handle) {
    const auto it = pictures_.find(handle);
    if (it == pictures_.end()) return 0;
    QImage copy = it->second.copy();
    return Store(std::move(copy));
}

void PictureLibrary::FadePicture(PictureHandle handle) {
    const auto it = pictures_.find(handle);
    if (it == pictures_.end()) return;
    QImage& image = it->second;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x];
            row[x] = qRgb(FaintLevel(qRed(c)), FaintLevel(qGreen(c)), FaintLevel(qBlue(c)));
        }
    }
}

bool PictureLibrary::GetPictureInfo(PictureHandle handle, int& width, int& height) const {
    const auto it = pictures_.find(handle);
    if (it == pictures_.end()) return false;
    width = it->second.width();
    height = it->second.height();
    return true;
}

void PictureLibrary::DrawPicture(Image& destination, int dx, int dy, int dw, int dh,
                                 PictureHandle handle, int sx, int sy, int sw, int sh) const {
    const auto it = pictures_.find(handle);
    if (it == pictures_.end()) return;
    DrawScaledPicture(destination, dx, dy, dw, dh, it->second, sx, sy, sw, sh);
}

QImage PictureLibrary::SharedPicture(PictureHandle handle) const {
    const auto it = pictures_.find(handle);
    return it == pictures_.end() ? QImage() : it->second;
}

void DrawScaledPicture(Image& destination, int dx, int dy, int dw, int dh, const QImage& source,
                       int sx, int sy, int sw, int sh) {
    if (source.isNull() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    // The visible part of the destination rectangle, and the source pixels it shows.
    const int visibleW = std::min<qint64>(dw, destination.width() - std::max(dx, 0));
    const int visibleH = std::min<qint64>(dh, destination.height() - std::max(dy, 0));
    if (visibleW <= 0 || visibleH <= 0) return;
    const int srcW = static_cast<int>(std::min<qint64>(sw, (qint64{visibleW} * sw + dw - 1) / dw));
    const int srcH = static_cast<int>(std::min<qint64>(sh, (qint64{visibleH} * sh + dh - 1) / dh));
    const int scaledW = static_cast<int>(qint64{srcW} * dw / sw);
    const int scaledH = static_cast<int>(qint64{srcH} * dh / sh);
    const QImage part = source.copy(sx, sy, srcW, srcH)
                            .scaled(std::max(scaledW, 1), std::max(scaledH, 1),
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(visibleH, part.height()); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        for (int x = 0; x < std::min(visibleW, part.width()); ++x) {
            destination.SetPixel(dx + x, dy + y, src[x] & 0xFFFFFF);
        }
    }
}

void PictureLibrary::FreePicture(PictureHandle handle) {
    pictures_.erase(handle);
}

}  // namespace fudeline
