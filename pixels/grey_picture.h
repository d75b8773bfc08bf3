// A decoded picture as grey levels (0 black ink .. 255 white paper), row after
// row: what the picture decoders give and line extraction takes.
#pragma once

#include <cstdint>
#include <vector>

namespace fudeline {

struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels;  // width * height, no padding

    std::uint8_t Level(int x, int y) const {
        return levels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Rec. 601 luma in integer arithmetic, the weights every decoder here uses.
inline std::uint8_t GreyOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint8_t>((299u * r + 587u * g + 114u * b + 500u) / 1000u);
}

// A pixel with coverage `alpha` over white paper: transparent parts are paper.
inline std::uint8_t OverWhite(std::uint8_t level, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((level * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

}  // namespace fudeline
