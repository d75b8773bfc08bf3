// The eraser's widths the window and the page offer, and their names in
// replay scripts and settings.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "pixels/raster.h"

namespace fudeline {

enum class EraserSize { Small, Medium, Large };

// Small takes a pixel or two beside a line, large clears an area quickly;
// medium is the one width there was before there was a choice.
inline constexpr std::array<int, 3> kEraserWidths = {4, kWidePenWidth, 16};
inline constexpr std::array<std::string_view, 3> kEraserSizeNames = {"small", "medium", "large"};

inline int EraserWidth(EraserSize size) {
    return kEraserWidths[static_cast<std::size_t>(size)];
}

inline std::string_view EraserSizeName(EraserSize size) {
    return kEraserSizeNames[static_cast<std::size_t>(size)];
}

inline std::optional<EraserSize> ParseEraserSize(std::string_view word) {
    for (std::size_t i = 0; i < kEraserSizeNames.size(); ++i) {
        if (word == kEraserSizeNames[i]) return static_cast<EraserSize>(i);
    }
    return std::nullopt;
}

}  // namespace fudeline
