// What the page's picture decoders (picture_browser.cpp) ask of the browser
// besides the pixels.
#pragma once

#include <cstdint>

namespace fudeline::web {

// The size a JPEG is wanted at when the core shrinks it while decoding (as
// libjpeg scales by 1/2, 1/4 or 1/8); zero: as stored. Set when a decoder
// answers kNeedsBrowserDecode.
struct BrowserDecodeSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    static BrowserDecodeSize& Wanted() {
        static BrowserDecodeSize wanted;
        return wanted;
    }
};

}  // namespace fudeline::web
