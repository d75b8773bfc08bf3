// A small picture library over Qt's image classes. Pictures are reached only
// through 32-bit handles; 0 means no picture, and every call given 0 does nothing.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <unordered_map>

#include "pixels/image.h"

namespace fudeline {

using PictureHandle = std::uint32_t;

class PictureLibrary {
  public:
    // Pictures whose decoded size would pass this are refused before decoding.
    static constexpr int kAllocationLimitMB = 256;

    // Reads the picture file; 0 when it cannot be read (then `error` says why,
    // in the user's language).
    PictureHandle LoadPicture(const QString& path, QString* error = nullptr);
    // An independent copy with the same picture and size; 0 for 0.
    PictureHandle CopyPicture(PictureHandle handle);
    // Makes the picture faint in place: each channel moves three quarters of
    // the way toward white (FaintLevel, the page's rule too).
    void FadePicture(PictureHandle handle);
    // The picture's size; false for an unknown handle.
    bool GetPictureInfo(PictureHandle handle, int& width, int& height) const;
    // Draws source rectangle (sx, sy, sw, sh) stretched onto destination
    // rectangle (dx, dy, dw, dh) of `destination`, cut at its edges. Only the
    // part that lands inside `destination` is ever scaled.
    void DrawPicture(Image& destination, int dx, int dy, int dw, int dh, PictureHandle handle,
                     int sx, int sy, int sw, int sh) const;
    void FreePicture(PictureHandle handle);
    // The picture itself, shared: a null image for an unknown handle. The
    // library never changes a picture it has handed out (a change makes its
    // own copy), so the result may be read on any thread.
    QImage SharedPicture(PictureHandle handle) const;

    std::size_t PictureCount() const { return pictures_.size(); }

  private:
    PictureHandle Store(QImage image);

    std::unordered_map<PictureHandle, QImage> pictures_;
    PictureHandle next_ = 1;
};

// What DrawPicture does, for a picture held outside a library.
void DrawScaledPicture(Image& destination, int dx, int dy, int dw, int dh, const QImage& source,
                       int sx, int sy, int sw, int sh);

}  // namespace fudeline
