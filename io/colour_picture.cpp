#include "io/colour_picture.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first, and jerror.h needs jpeglib.h.
#include <jpeglib.h>
// (kept apart so sorting keeps the order)
#include <jerror.h>
#include <webp/decode.h>

#include "io/picture_decoder.h"
#include "io/picture_formats.h"
#include "io/png_rgba.h"

namespace fudeline {
namespace {

using picture_formats::Refuse;

// The limits of the grey JPEG decoder, for the same reasons: thousands of
// scans in a few kilobytes, progressive coefficients of a huge picture.
constexpr int kMaxScans = 500;
constexpr long kMaxJpegMemory = 512L << 20;

// The grey decoders' limit and words: 4 bytes a pixel within kMaxPictureBytes.
Status CheckSize(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) return Refuse("the picture has no pixels");
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height * 4 > kMaxPictureBytes) {
        return Refuse("the picture is too large (" + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels)");
    }
    return {};
}

ColourPicture OnWhite(int width, int height, const std::vector<std::uint8_t>& rgba) {
    ColourPicture picture{width, height, {}};
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    picture.rgb.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &rgba[i * 4];
        for (int c = 0; c < 3; ++c) picture.rgb[i * 3 + c] = ChannelOverWhite(p[c], p[3]);
    }
    return picture;
}

Result<ColourPicture> DecodePng(std::string_view bytes) {
    const Result<RgbaPixels> pixels = DecodePngRgba(bytes, "picture", CheckSize);
    if (!pixels) return pixels.error();
    return OnWhite(static_cast<int>(pixels->width), static_cast<int>(pixels->height), pixels->rgba);
}

// The grey WebP decoder's checks, in colour.
Result<ColourPicture> DecodeWebp(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) {
        return Refuse("not a readable WebP picture");
    }
    if (features.has_animation) return Refuse("animated WebP pictures are not supported");
    if (Status size = CheckSize(static_cast<std::uint32_t>(features.width),
                                static_cast<std::uint32_t>(features.height));
        !size) {
        return size.error();
    }
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(features.width) *
                                   static_cast<std::size_t>(features.height) * 4);
    if (!WebPDecodeRGBAInto(data, bytes.size(), rgba.data(), rgba.size(), features.width * 4)) {
        return Refuse("the WebP picture is damaged");
    }
    return OnWhite(features.width, features.height, rgba);
}

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

[[noreturn]] void EscapeOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (manager->base.msg_code == JERR_NO_BACKING_STORE) {
        std::snprintf(manager->message, sizeof manager->message, "it needs too much memory");
    } else {
        manager->base.format_message(cinfo, manager->message);
    }
    std::longjmp(manager->escape, 1);
}

// Running out of data is the one warning that matters: libjpeg would fill
// the rest with grey and report success.
void NoteWarning(j_common_ptr cinfo, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && manager->base.msg_code == JWRN_JPEG_EOF) manager->truncated = true;
}

void LimitScans(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans) {
        auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(manager->message, sizeof manager->message, "too many scans");
        std::longjmp(manager->escape, 1);
    }
}

Result<ColourPicture> DecodeJpeg(std::string_view bytes,
                                 const std::function<double(int, int)>& shownScale) {
    // Everything with a destructor lives before setjmp, so the jump back skips none.
    ColourPicture picture;
    std::vector<JSAMPLE> cmykRow;
    Status size;
    jpeg_decompress_struct cinfo{};
    ErrorManager manager{};
    jpeg_progress_mgr progress{};
    cinfo.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = EscapeOnError;
    manager.base.emit_message = NoteWarning;
    progress.progress_monitor = LimitScans;
    if (setjmp(manager.escape)) {
        jpeg_destroy_decompress(&cinfo);
        return Refuse(std::string("the JPEG picture is damaged: ") + manager.message);
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    cinfo.mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    size = CheckSize(cinfo.image_width, cinfo.image_height);
    if (!size) {
        jpeg_destroy_decompress(&cinfo);
        return size.error();
    }
    if (shownScale) {
        const double scale = shownScale(static_cast<int>(cinfo.image_width),
                                        static_cast<int>(cinfo.image_height));
        while (picture.reduction < 8 && scale > 0 && scale * picture.reduction * 2 <= 1) {
            picture.reduction *= 2;
        }
        cinfo.scale_num = 1;
        cinfo.scale_denom = static_cast<unsigned>(picture.reduction);
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    picture.width = static_cast<int>(cinfo.output_width);
    picture.height = static_cast<int>(cinfo.output_height);
    picture.rgb.resize(std::size_t{cinfo.output_width} * cinfo.output_height * 3);
    if (cmyk) cmykRow.resize(std::size_t{cinfo.output_width} * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* out =
            picture.rgb.data() + std::size_t{cinfo.output_scanline} * cinfo.output_width * 3;
        JSAMPROW row = cmyk ? cmykRow.data() : out;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (!cmyk) continue;
        // Adobe writes CMYK inverted: each sample is already the remaining light.
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
            const JSAMPLE* p = &cmykRow[std::size_t{x} * 4];
            for (int c = 0; c < 3; ++c) out[x * 3 + c] = static_cast<std::uint8_t>(p[c] * p[3] / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (manager.truncated) return Refuse("the JPEG picture is truncated");
    return picture;
}

bool IsPng(std::string_view bytes) {
    return bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n";
}

bool IsJpeg(std::string_view bytes) {
    return bytes.substr(0, 3) == "\xFF\xD8\xFF";
}

bool IsWebp(std::string_view bytes) {
    return bytes.substr(0, 4) == "RIFF" && bytes.size() >= 12 && bytes.substr(8, 4) == "WEBP";
}

}  // namespace

bool HasColourDecoder(std::string_view bytes) {
    return IsPng(bytes) || IsJpeg(bytes) || IsWebp(bytes);
}

Result<ColourPicture> DecodeColourPicture(std::string_view bytes,
                                          const std::function<double(int, int)>& shownScale) {
    if (IsPng(bytes)) return DecodePng(bytes);
    if (IsJpeg(bytes)) return DecodeJpeg(bytes, shownScale);
    if (IsWebp(bytes)) return DecodeWebp(bytes);
    return Refuse("not a PNG, JPEG or WebP picture");
}

}  // namespace fudeline
