#include "io/picture_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "pixels/geometry.h"

namespace fudeline {

std::optional<std::string> EncodeGreyPng(const GreyPicture& picture, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(picture.width);
    png.height = static_cast<png_uint_32>(picture.height);
    png.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png, size, 0, picture.levels.data(), 0, nullptr)) {
        if (error) *error = std::string("cannot encode PNG: ") + png.message;
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, picture.levels.data(), 0,
                                   nullptr)) {
        if (error) *error = std::string("cannot encode PNG: ") + png.message;
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

std::optional<std::string> EncodeInkPng(const Image& ink, std::string* error) {
    GreyPicture grey{ink.width(), ink.height(), {}};
    grey.levels.reserve(static_cast<std::size_t>(ink.width()) * ink.height());
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            grey.levels.push_back(ink.Pixel(x, y) == kBlack ? 0 : 255);
        }
    }
    return EncodeGreyPng(grey, error);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string* error) {
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ec);
        if (error) *error = "write error";
        return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        if (error) *error = ec.message();
        return false;
    }
    return true;
}

}  // namespace fudeline
