// The page's picture decoders behind the core's tracing reader: the engine is
// built without libpng, libjpeg, libwebp and giflib, so the browser decodes
// and everything around the pixels stays the core's (which formats are read
// in colour, the size limit checked from the header before anything is
// decoded, transparency laid on white, the placement). As the PNG reader
// does, each decoder first answers kNeedsBrowserDecode; the page then decodes
// the same bytes and asks again with the pixels in BrowserPixels::Pending().
#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "io/jpeg_samples.h"
#include "io/picture_formats.h"
#include "io/png_rgba.h"
#include "pixels/grey_picture.h"
#include "web/browser_pixels.h"
#include "web/picture_browser.h"

namespace fudeline {
namespace {

struct HeaderSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// The browser's pixels of the size the header gave, or why not.
Result<web::BrowserPixels> TakePending(HeaderSize size, const char* format) {
    web::BrowserPixels& pending = web::BrowserPixels::Pending();
    if (pending.rgba.empty()) return Error{"", web::kNeedsBrowserDecode};
    web::BrowserPixels taken = std::move(pending);
    pending = {};
    if (taken.width != size.width || taken.height != size.height ||
        taken.rgba.size() != std::size_t{size.width} * size.height * 4) {
        return Error{"", std::string("cannot read this ") + format + " picture"};
    }
    return taken;
}

// The frame size of a JPEG's start-of-frame segment; nothing when the
// markers end first.
std::optional<HeaderSize> JpegSize(std::string_view bytes) {
    std::size_t at = 2;
    while (at + 9 < bytes.size()) {
        if (Byte(bytes, at) != 0xFF) return std::nullopt;
        const std::uint32_t marker = Byte(bytes, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const std::size_t length = Byte(bytes, at + 2) << 8 | Byte(bytes, at + 3);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                           marker != 0xCC;
        if (frame) {
            return HeaderSize{Byte(bytes, at + 7) << 8 | Byte(bytes, at + 8),
                              Byte(bytes, at + 5) << 8 | Byte(bytes, at + 6)};
        }
        if (marker == 0xD9 || marker == 0xDA || length < 2) return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

// PNG in whole rows: the browser hands over the picture at once.
Status ReadPngRows(std::string_view bytes, const std::string& noun, const AcceptPngSize& accept,
                   const std::function<void(const RgbaRowPart&)>& take) {
    Result<RgbaPixels> pixels = DecodePngRgba(bytes, noun, accept);
    if (!pixels) return pixels.error();
    for (std::uint32_t y = 0; y < pixels->height; ++y) {
        take(RgbaRowPart{y, 0, 1, pixels->width,
                         pixels->rgba.data() + std::size_t{y} * pixels->width * 4});
    }
    return {};
}

namespace picture_formats {

// A JPEG shrunk while decoding is asked of the browser at that size, which
// the browser's libjpeg decodes as the command line's does. A browser that
// decodes only at full size gets each block of reduction x reduction pixels
// averaged, near the command line's samples but not equal to them.
Result<JpegSamples> DecodeJpegSamples(std::string_view bytes, JpegChannels channels,
                                      const JpegReduction& reductionFor) {
    const std::optional<HeaderSize> size = JpegSize(bytes);
    if (!size) return Refuse("the JPEG picture is damaged: no frame header");
    if (Status fits = CheckPictureSize(size->width, size->height); !fits) return fits.error();
    JpegSamples decoded;
    decoded.reduction = reductionFor ? reductionFor(size->width, size->height) : 1;
    const std::uint32_t r = static_cast<std::uint32_t>(decoded.reduction);
    decoded.width = (size->width + r - 1) / r;
    decoded.height = (size->height + r - 1) / r;
    web::BrowserPixels& pending = web::BrowserPixels::Pending();
    if (pending.rgba.empty()) {
        if (r > 1) web::BrowserDecodeSize::Wanted() = {decoded.width, decoded.height};
        return Error{"", web::kNeedsBrowserDecode};
    }
    const bool shrunk = r > 1 && pending.width == decoded.width && pending.height == decoded.height;
    Result<web::BrowserPixels> pixels =
        TakePending(shrunk ? HeaderSize{decoded.width, decoded.height} : *size, "JPEG");
    if (!pixels) return pixels.error();
    const int perPixel = static_cast<int>(channels);
    decoded.samples.resize(std::size_t{decoded.width} * decoded.height * perPixel);
    if (shrunk) {
        for (std::size_t i = 0; i < std::size_t{decoded.width} * decoded.height; ++i) {
            const std::uint8_t* p = &pixels->rgba[i * 4];
            if (channels == JpegChannels::kGrey) {
                decoded.samples[i] = GreyOf(p[0], p[1], p[2]);
            } else {
                std::memcpy(&decoded.samples[i * 3], p, 3);
            }
        }
        return decoded;
    }
    std::uint8_t* out = decoded.samples.data();
    for (std::uint32_t y = 0; y < decoded.height; ++y) {
        const std::uint32_t y1 = std::min(size->height, (y + 1) * r);
        for (std::uint32_t x = 0; x < decoded.width; ++x) {
            const std::uint32_t x1 = std::min(size->width, (x + 1) * r);
            std::uint32_t sum[3] = {0, 0, 0};
            for (std::uint32_t sy = y * r; sy < y1; ++sy) {
                const std::uint8_t* p = pixels->rgba.data() + (std::size_t{sy} * size->width + x * r) * 4;
                for (std::uint32_t sx = x * r; sx < x1; ++sx, p += 4) {
                    sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
                }
            }
            const std::uint32_t n = (y1 - y * r) * (x1 - x * r);
            std::uint8_t rgb[3];
            for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>((sum[c] + n / 2) / n);
            if (channels == JpegChannels::kGrey) {
                *out++ = GreyOf(rgb[0], rgb[1], rgb[2]);
            } else {
                out[0] = rgb[0], out[1] = rgb[1], out[2] = rgb[2];
                out += 3;
            }
        }
    }
    return decoded;
}

Result<RgbaPixels> DecodeWebpRgba(std::string_view bytes) {
    // An extended header's flags say whether it moves; the browser would
    // show the first frame where the command line refuses the file.
    if (bytes.size() >= 21 && bytes.substr(12, 4) == "VP8X" && (Byte(bytes, 20) & 0x02)) {
        return Refuse("animated WebP pictures are not supported");
    }
    web::BrowserPixels& pending = web::BrowserPixels::Pending();
    if (pending.rgba.empty()) return Error{"", web::kNeedsBrowserDecode};
    if (Status fits = CheckPictureSize(pending.width, pending.height); !fits) return fits.error();
    Result<web::BrowserPixels> pixels = TakePending({pending.width, pending.height}, "WebP");
    if (!pixels) return pixels.error();
    return RgbaPixels{pixels->width, pixels->height, std::move(pixels->rgba)};
}

Result<GreyPicture> DecodeWebp(std::string_view bytes) {
    const Result<RgbaPixels> pixels = DecodeWebpRgba(bytes);
    if (!pixels) return pixels.error();
    return GreyOverWhite(*pixels);
}

// The first frame on the logical screen; its transparent colour is paper.
Result<GreyPicture> DecodeGif(std::string_view bytes) {
    if (bytes.size() < 10) return Refuse("the GIF picture is damaged: no screen size");
    const HeaderSize size{Byte(bytes, 7) << 8 | Byte(bytes, 6), Byte(bytes, 9) << 8 | Byte(bytes, 8)};
    auto picture = AllocatePicture(size.width, size.height);
    if (!picture) return picture.error();
    Result<web::BrowserPixels> pixels = TakePending(size, "GIF");
    if (!pixels) return pixels.error();
    for (std::size_t i = 0; i < picture->levels.size(); ++i) {
        const std::uint8_t* p = &pixels->rgba[i * 4];
        if (p[3] != 0) picture->levels[i] = GreyOf(p[0], p[1], p[2]);
    }
    return picture;
}

}  // namespace picture_formats
}  // namespace fudeline
