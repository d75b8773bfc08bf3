#include "pixels/image.h"

#include <algorithm>

namespace fudeline {

Image::Image(int width, int height, std::uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      data_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Image::FillRect(int x, int y, int w, int h, std::uint32_t colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min<long>(static_cast<long>(x) + w, width_);
    const int y1 = std::min<long>(static_cast<long>(y) + h, height_);
    for (int row = y0; row < y1; ++row) {
        std::fill(Row(row) + x0, Row(row) + std::max(x0, x1), colour);
    }
}

void Image::Blit(const Image& source, int x, int y, bool andMode) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + source.width(), width_);
    const int y1 = std::min(y + source.height(), height_);
    for (int row = y0; row < y1; ++row) {
        const std::uint32_t* src = source.Row(row - y) + (x0 - x);
        std::uint32_t* dst = Row(row);
        for (int col = x0; col < x1; ++col, ++src) {
            dst[col] = andMode ? (dst[col] & *src) : *src;
        }
    }
}

}  // namespace fudeline
