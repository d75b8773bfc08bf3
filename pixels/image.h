// A plain 32-bit RGB pixel buffer (0x00RRGGBB), the stuff every layer is made of.
#pragma once

#include <cstdint>
#include <vector>

namespace fudeline {

class Image {
  public:
    // Read outside the image; never equal to a real pixel, and never ink.
    static constexpr std::uint32_t kOutside = 0xFFFFFFFF;

    Image() = default;
    Image(int width, int height, std::uint32_t fill = 0xFFFFFF);

    int width() const { return width_; }
    int height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    std::uint32_t Pixel(int x, int y) const {
        return Contains(x, y) ? data_[Index(x, y)] : kOutside;
    }
    // Writes are ignored outside the image.
    void SetPixel(int x, int y, std::uint32_t colour) {
        if (Contains(x, y)) data_[Index(x, y)] = colour;
    }

    // Fills the part of the rectangle that lies inside the image.
    void FillRect(int x, int y, int w, int h, std::uint32_t colour);

    // Copies `source` with its top-left corner at (x, y); `andMode` combines each
    // pixel with a bitwise AND instead of replacing it.
    void Blit(const Image& source, int x, int y, bool andMode = false);

    const std::uint32_t* Row(int y) const { return data_.data() + Index(0, y); }
    std::uint32_t* Row(int y) { return data_.data() + Index(0, y); }

    bool operator==(const Image&) const = default;

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> data_;
};

}  // namespace fudeline
