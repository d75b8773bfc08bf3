#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "io/io_errors.h"
#include "io/library_decoders.h"

namespace fudeline::library_decoders {
namespace {

struct MemorySource {
    std::string_view bytes;
    std::size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep into, png_size_t wanted) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->pos < wanted) png_error(png, "the file ends too early");
    std::memcpy(into, source->bytes.data() + source->pos, wanted);
    source->pos += wanted;
}

// libpng's first error, kept for the message; libpng then jumps back.
[[noreturn]] void KeepError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text->empty()) *text = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Everything a jump back from libpng must leave in place lives outside the
// function that set the jump.
struct ReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const PictureHeader* header = nullptr;
    const RgbaRows* take = nullptr;
    std::vector<std::uint8_t> row;
    bool otherSize = false;   // libpng read another size than the header
    bool headerRead = false;  // errors after this are damage, not a foreign file
};

// Sets the transformations to 8-bit RGBA in sRGB, as the simplified reader
// would: palettes and low bit depths expanded, a transparent colour made
// alpha, 16 bits scaled, grey made RGB, opaque alpha added.
void AskForRgba(png_structp png) {
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_alpha_mode(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
}

// Returns false when libpng failed (its message is kept) or read another size.
bool ReadAll(ReadState& state) {
    if (setjmp(png_jmpbuf(state.png))) return false;
    png_read_info(state.png, state.info);
    state.headerRead = true;
    const std::uint32_t width = png_get_image_width(state.png, state.info);
    const std::uint32_t height = png_get_image_height(state.png, state.info);
    if (width != state.header->width || height != state.header->height) {
        state.otherSize = true;
        return false;
    }
    const bool interlaced = png_get_interlace_type(state.png, state.info) != PNG_INTERLACE_NONE;
    AskForRgba(state.png);
    png_read_update_info(state.png, state.info);
    state.row.resize(std::size_t{width} * 4);
    for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
        RgbaRowPart part;
        part.rgba = state.row.data();
        std::uint32_t rows = height;
        part.count = width;
        if (interlaced) {
            rows = PNG_PASS_ROWS(height, pass);
            part.count = PNG_PASS_COLS(width, pass);
            part.firstX = PNG_PASS_START_COL(pass);
            part.stepX = 1u << PNG_PASS_COL_SHIFT(pass);
        }
        // libpng skips the passes that hold no pixel of a small picture.
        if (rows == 0 || part.count == 0) continue;
        for (std::uint32_t r = 0; r < rows; ++r) {
            png_read_row(state.png, state.row.data(), nullptr);
            part.y = interlaced ? PNG_ROW_FROM_PASS_ROW(r, pass) : r;
            (*state.take)(part);
        }
    }
    return true;
}

}  // namespace

Status ReadPngRows(std::string_view bytes, const PictureHeader& header, const RgbaRows& take) {
    std::string message;
    ReadState state;
    state.header = &header;
    state.take = &take;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, KeepError, IgnoreWarning);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.png || !state.info) {
        png_destroy_read_struct(&state.png, nullptr, nullptr);
        return Error{"", kinds::PictureOutOfMemory, "PNG"};
    }
    MemorySource source{bytes};
    png_set_read_fn(state.png, &source, ReadFromMemory);
    const bool read = ReadAll(state);
    png_destroy_read_struct(&state.png, &state.info, nullptr);
    if (read) return {};
    if (state.otherSize) return Error{"", kinds::PictureReadOtherwise, "PNG", "libpng"};
    if (!state.headerRead) return Error{"", kinds::NotReadablePng, message};
    return Error{"", kinds::PictureDamagedBecause, "PNG", message};
}

}  // namespace fudeline::library_decoders
