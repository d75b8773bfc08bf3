// Pixels the browser decoded, handed to the page's PNG reader: PNG decoding
// is the browser's in the page, everything around it (which formats, which
// sizes, the reasons) the core's.
#pragma once

#include <cstdint>
#include <vector>

namespace fudeline::web {

// The reason the PNG reader gives when the size passed and only the browser's
// pixels are missing: the page then decodes and asks again.
inline constexpr const char* kNeedsBrowserDecode = "(the browser decodes this PNG)";

struct BrowserPixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;

    // The one slot the page fills before asking the core to read a PNG again.
    static BrowserPixels& Pending() {
        static BrowserPixels pending;
        return pending;
    }
};

}  // namespace fudeline::web
