// The text model: every row of the canvas as a list of placed characters.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pixels/geometry.h"

namespace fudeline {

struct TextCell {
    std::int32_t gap = 0;  // blank pixels before the character; never negative, 1 or 2
    std::string text;      // the character's Shift-JIS bytes
    std::int32_t width = 0;
    // The character as the user wrote it, where CP932 reads `text` as
    // another: 〜 (U+301C) has the bytes of ～ (U+FF5E), which UTF-8 output
    // would otherwise give back. 0 where CP932's reading is the character.
    char32_t written = 0;
    bool operator==(const TextCell&) const = default;
};

using TextRow = std::vector<TextCell>;
using TextRows = std::array<TextRow, kRowCount>;

}  // namespace fudeline
