// Spacing strings: a gap in pixels as full-width spaces and narrow pieces whose
// widths (11, 5, 3, 4 and 7 pixels) add up to it.
#pragma once

#include <cstdint>
#include <string>

namespace fudeline {

// The Shift-JIS spacing string that fills `width` pixels. Widths 1 and 2 (and
// anything below 0) cannot be filled and give the empty string.
std::string ComposeGap(std::int32_t width);

}  // namespace fudeline
