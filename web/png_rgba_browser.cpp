// The page's PNG reader behind the core's ink-image reader: the browser
// decodes PNG (the engine is built without libpng), so this reads the header
// itself, lets the core accept or refuse the size before anything is decoded,
// and then takes the pixels the browser decoded for the same bytes.
#include <cstring>
#include <string>

#include "io/png_rgba.h"
#include "web/browser_pixels.h"

namespace fudeline {
namespace {

std::uint32_t BigEndian(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

}  // namespace

Result<RgbaPixels> DecodePngRgba(std::string_view bytes, const std::string& noun,
                                 const AcceptPngSize& accept) {
    // Signature (8 bytes), then the IHDR chunk: length 13, "IHDR", width, height.
    if (bytes.size() < 33 || bytes.substr(12, 4) != "IHDR") {
        return Error{"", "PNG " + noun + " has no valid header"};
    }
    const std::uint32_t width = BigEndian(bytes.data() + 16);
    const std::uint32_t height = BigEndian(bytes.data() + 20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return Error{"", "PNG " + noun + " has no valid width and height"};
    }
    if (Status accepted = accept(width, height); !accepted) return accepted.error();
    web::BrowserPixels& decoded = web::BrowserPixels::Pending();
    if (decoded.rgba.empty()) return Error{"", web::kNeedsBrowserDecode};
    if (decoded.width != width || decoded.height != height ||
        decoded.rgba.size() != std::size_t{width} * height * 4) {
        return Error{"", "cannot read this PNG " + noun};
    }
    RgbaPixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgba = std::move(decoded.rgba);
    decoded = {};
    return pixels;
}

}  // namespace fudeline
