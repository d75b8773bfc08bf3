#include "text/gap_composer.h"

#include <array>
#include <string_view>

namespace fudeline {
namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";  // 11 px
constexpr int kFullWidth = 11;

// Narrow pieces for each remainder of width / 11, in order. Remainders 1 and 2
// borrow one full-width space: their pieces fill 12 and 13 pixels.
constexpr std::array<std::array<std::string_view, 4>, 11> kPieces = {{
    {},
    {".", ".", ".", "."},
    {" ", ".", " "},
    {"."},
    {"\xDE"},
    {" "},
    {".", "."},
    {"\xA4"},
    {" ", "."},
    {".", ".", "."},
    {".", "\xA4"},
}};

}  // namespace

std::string ComposeGap(std::int32_t width) {
    if (width <= 0) return {};
    std::int32_t quotient = width / kFullWidth;
    const std::int32_t remainder = width % kFullWidth;
    std::string result;
    if (remainder == 0) {
        for (std::int32_t i = 0; i < quotient; ++i) result += kFullWidthSpace;
        return result;
    }
    if (remainder <= 2) {
        if (quotient == 0) return {};
        --quotient;
    }
    int pieces = 0;
    for (std::string_view piece : kPieces[static_cast<std::size_t>(remainder)]) {
        if (!piece.empty()) ++pieces;
    }
    const std::int32_t share = quotient / pieces;
    const std::int32_t extra = quotient % pieces;
    result.reserve(static_cast<std::size_t>(quotient) * 2 + 4);
    for (int i = 0; i < pieces; ++i) {
        const std::int32_t spaces = share + (i < extra ? 1 : 0);
        for (std::int32_t s = 0; s < spaces; ++s) result += kFullWidthSpace;
        result += kPieces[static_cast<std::size_t>(remainder)][static_cast<std::size_t>(i)];
    }
    return result;
}

}  // namespace fudeline
