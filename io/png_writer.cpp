#include "io/png_writer.h"

#include <png.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "io/io_errors.h"
#include "pixels/geometry.h"

namespace fudeline {
namespace {

// Fills `row` (width * channels bytes) with row y of the picture.
using RowFiller = std::function<void(int y, png_byte* row)>;

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

[[noreturn]] void KeepError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text->empty()) *text = message;
    png_longjmp(png, 1);
}

struct WriteState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    int width = 0;
    int height = 0;
    int colourType = 0;
    const RowFiller* fill = nullptr;
    std::vector<png_byte> row;
};

// Everything a jump back from libpng must leave in place lives in `state`.
bool WriteAll(WriteState& state) {
    if (setjmp(png_jmpbuf(state.png))) return false;
    png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(state.width),
                 static_cast<png_uint_32>(state.height), 8, state.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 8-bit pictures are marked sRGB, so viewers show the greys as written.
    png_set_sRGB(state.png, state.info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(state.png, state.info);
    for (int y = 0; y < state.height; ++y) {
        (*state.fill)(y, state.row.data());
        png_write_row(state.png, state.row.data());
    }
    png_write_end(state.png, state.info);
    return true;
}

// Encodes row by row, holding one row: a picture at the render limit (256 MB
// of 32-bit pixels) needs no 8-bit copy of itself beside it.
Result<std::string> Encode(int width, int height, int colourType, int channels,
                           const RowFiller& fill) {
    std::string message;
    std::string bytes;
    WriteState state;
    state.width = width;
    state.height = height;
    state.colourType = colourType;
    state.fill = &fill;
    state.row.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(channels));
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, KeepError, nullptr);
    if (state.png) state.info = png_create_info_struct(state.png);
    if (!state.png || !state.info) {
        png_destroy_write_struct(&state.png, nullptr);
        return Error{{}, kinds::PngEncodingOutOfMemory};
    }
    png_set_write_fn(state.png, &bytes, AppendToString, FlushNothing);
    const bool written = WriteAll(state);
    png_destroy_write_struct(&state.png, &state.info);
    if (!written) return Error{{}, kinds::PngEncodingFailed, message};
    return bytes;
}

bool Empty(const Image& image) {
    return image.width() <= 0 || image.height() <= 0;
}

const Error kEmptyPicture{{}, kinds::EmptyPictureNotWritten};

}  // namespace

Result<std::string> EncodeInkPng(const Image& image) {
    if (Empty(image)) return kEmptyPicture;
    return Encode(image.width(), image.height(), PNG_COLOR_TYPE_GRAY, 1, [&](int y, png_byte* row) {
        const std::uint32_t* pixels = image.Row(y);
        for (int x = 0; x < image.width(); ++x) row[x] = pixels[x] == kBlack ? 0 : 255;
    });
}

Result<std::string> EncodePng(const Image& image) {
    if (Empty(image)) return kEmptyPicture;
    return Encode(image.width(), image.height(), PNG_COLOR_TYPE_RGB, 3, [&](int y, png_byte* row) {
        const std::uint32_t* pixels = image.Row(y);
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(pixels[x]);
        }
    });
}

Result<std::string> EncodeGreyPng(const GreyPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return kEmptyPicture;
    return Encode(picture.width, picture.height, PNG_COLOR_TYPE_GRAY, 1, [&](int y, png_byte* row) {
        const std::size_t width = static_cast<std::size_t>(picture.width);
        std::copy_n(picture.levels.data() + static_cast<std::size_t>(y) * width, width, row);
    });
}

Result<std::string> EncodeRgbaPng(int width, int height, const std::uint8_t* rgba) {
    if (width <= 0 || height <= 0) return kEmptyPicture;
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    return Encode(width, height, PNG_COLOR_TYPE_RGBA, 4, [&](int y, png_byte* row) {
        std::copy_n(rgba + static_cast<std::size_t>(y) * stride, stride, row);
    });
}

}  // namespace fudeline
