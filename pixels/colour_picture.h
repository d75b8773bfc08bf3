// A decoded picture in colour, row after row, three bytes a pixel (red, green,
// blue), transparent parts already laid on white paper: what line extraction
// takes when the colours matter, since two flat regions of the same grey but
// different hue still meet at a line an artist would draw.
#pragma once

#include <cstdint>
#include <vector>

namespace fudeline {

struct ColourPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3, no padding
    // The file's pixels one pixel here stands for, across and down: a
    // picture that will be shrunk a lot may be decoded smaller, and is then
    // placed as the file would be.
    int reduction = 1;
};

// One channel of a pixel with coverage `alpha` over white paper, rounded as
// OverWhite rounds grey levels: every reader of a transparent picture (the
// command-line tool, the window) lays it on paper with this one formula, so
// they trace the same lines.
inline std::uint8_t ChannelOverWhite(std::uint8_t value, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((value * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

}  // namespace fudeline
