#include <algorithm>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first, and jerror.h needs jpeglib.h.
#include <jpeglib.h>
// (kept apart so sorting keeps the order)
#include <jerror.h>

#include "io/io_errors.h"
#include "io/library_decoders.h"
#include "io/picture_formats.h"
#include "pixels/grey_picture.h"

namespace fudeline::library_decoders {
namespace {

// A progressive JPEG of a few kilobytes can hold thousands of scans, each a
// full pass over the picture; real encoders write about ten.
constexpr int kMaxScans = 500;
// libjpeg's own memory at most, and less when the file and the decoded
// samples leave less of kDecodingBudget: the whole decoding stays under twice
// the 256 MB picture limit. In grey (64 MB of samples at most) this takes any
// progressive colour picture within the size limit whose colour is subsampled
// as cameras and editors save it, and full-resolution colour up to about
// 8000 x 8000; in RGB at full size (192 MB of samples) subsampled colour still
// fits, full-resolution colour up to about 6700 x 6700. A progressive CMYK
// picture needs 8 bytes a pixel and is refused above about 6900 x 6900.
constexpr long kMaxJpegMemory = 384L << 20;
constexpr long kDecodingBudget = 464L << 20;
constexpr long kMinJpegMemory = 16L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
    const ErrorKind* kind = nullptr;  // a reason of the core's own, else libjpeg's message
};

[[noreturn]] void EscapeOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (manager->base.msg_code == JERR_NO_BACKING_STORE) {
        // What libjpeg says when the memory cap is reached.
        manager->kind = &kinds::JpegTooMuchMemory;
    } else {
        manager->base.format_message(cinfo, manager->message);
    }
    std::longjmp(manager->escape, 1);
}

// libjpeg only warns when the data runs out or is corrupt, and goes on with
// grey or repeated blocks where the picture should be: a cut file ending in an
// end marker, or a header claiming more rows than the data holds, would trace
// a false edge. These warnings end the decoding; the harmless ones (an unknown
// colour transform or JFIF revision, a bad ICC profile) are ignored.
bool DamagesPixels(int code) {
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_NOT_SEQUENTIAL:
            return true;
        default:
            return false;
    }
}

void EscapeOnDamage(j_common_ptr cinfo, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level >= 0 || !DamagesPixels(manager->base.msg_code)) return;
    manager->base.format_message(cinfo, manager->message);
    std::longjmp(manager->escape, 1);
}

void LimitScans(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans) {
        auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
        manager->kind = &kinds::JpegTooManyScans;
        std::longjmp(manager->escape, 1);
    }
}

// Adobe writes CMYK inverted: each sample is already the remaining light.
void CmykToSamples(const JSAMPLE* cmyk, JDIMENSION width, JpegChannels channels,
                   std::uint8_t* out) {
    for (JDIMENSION x = 0; x < width; ++x) {
        const JSAMPLE* p = &cmyk[std::size_t{x} * 4];
        const unsigned k = p[3];
        const std::uint8_t r = static_cast<std::uint8_t>(p[0] * k / 255);
        const std::uint8_t g = static_cast<std::uint8_t>(p[1] * k / 255);
        const std::uint8_t b = static_cast<std::uint8_t>(p[2] * k / 255);
        if (channels == JpegChannels::kGrey) {
            out[x] = GreyOf(r, g, b);
        } else {
            out[x * 3] = r;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = b;
        }
    }
}

}  // namespace

Result<JpegSamples> DecodeJpegSamples(std::string_view bytes, const PictureHeader& header,
                                      JpegChannels channels, int reduction) {
    // Everything with a destructor lives before setjmp, so the jump back skips none.
    JpegSamples decoded;
    Status size;
    std::vector<JSAMPLE> cmykRow;
    jpeg_decompress_struct cinfo{};
    ErrorManager manager{};
    jpeg_progress_mgr progress{};
    cinfo.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = EscapeOnError;
    manager.base.emit_message = EscapeOnDamage;
    progress.progress_monitor = LimitScans;
    if (setjmp(manager.escape)) {
        jpeg_destroy_decompress(&cinfo);
        if (manager.kind) return picture_formats::Refuse(*manager.kind);
        return picture_formats::Refuse(kinds::PictureDamagedBecause, "JPEG", manager.message);
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    // Progressive pictures keep every coefficient of every component until
    // the end, two bytes each; without a cap a picture just inside the size
    // limit could take a gigabyte.
    cinfo.mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    size = picture_formats::CheckPictureSize(cinfo.image_width, cinfo.image_height);
    if (size && (cinfo.image_width != header.width || cinfo.image_height != header.height)) {
        size = picture_formats::Refuse(kinds::PictureReadOtherwise, "JPEG", "libjpeg");
    }
    if (!size) {
        jpeg_destroy_decompress(&cinfo);
        return size.error();
    }
    decoded.reduction = reduction;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(reduction);
    // libjpeg turns colour to grey itself (it keeps the luma channel), except
    // from CMYK, which it hands over as is.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space =
        cmyk ? JCS_CMYK : (channels == JpegChannels::kGrey ? JCS_GRAYSCALE : JCS_RGB);
    jpeg_calc_output_dimensions(&cinfo);
    decoded.width = cinfo.output_width;
    decoded.height = cinfo.output_height;
    const std::size_t rowBytes = std::size_t{decoded.width} * static_cast<std::size_t>(channels);
    decoded.samples.resize(rowBytes * decoded.height);
    // The coefficient buffers are taken in jpeg_start_decompress.
    cinfo.mem->max_memory_to_use = std::clamp(kDecodingBudget - static_cast<long>(bytes.size()) -
                                                  static_cast<long>(decoded.samples.size()),
                                              kMinJpegMemory, kMaxJpegMemory);
    jpeg_start_decompress(&cinfo);
    if (cmyk) cmykRow.resize(std::size_t{cinfo.output_width} * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* out = decoded.samples.data() + std::size_t{cinfo.output_scanline} * rowBytes;
        JSAMPROW row = cmyk ? cmykRow.data() : out;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) CmykToSamples(cmykRow.data(), cinfo.output_width, channels, out);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return decoded;
}

}  // namespace fudeline::library_decoders
