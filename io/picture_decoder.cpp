#include "io/picture_decoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "io/picture_formats.h"

namespace fudeline {
namespace picture_formats {

std::optional<GreyPicture> Refuse(std::string* error, const std::string& why) {
    if (error) *error = why;
    return std::nullopt;
}

std::optional<GreyPicture> AllocatePicture(std::uint64_t width, std::uint64_t height,
                                           std::string* error) {
    if (width == 0 || height == 0) return Refuse(error, "the picture has no pixels");
    // Both factors are below 2^32, so the product cannot overflow.
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height * 4 > kMaxPictureBytes) {
        return Refuse(error, "the picture is too large (" + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels)");
    }
    GreyPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.levels.assign(width * height, 255);
    return picture;
}

}  // namespace picture_formats

namespace {

using namespace picture_formats;

// Files larger than this are refused before they are read: no picture within
// the decoding limit needs more.
constexpr std::uintmax_t kMaxFileBytes = kMaxPictureBytes;

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

std::optional<std::string> ReadAll(std::FILE* file, std::string* error) {
    std::string bytes;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes.size() + got > kMaxFileBytes) {
            if (error) *error = "the file is too large";
            return std::nullopt;
        }
        bytes.append(buffer, got);
    }
    if (std::ferror(file)) {
        if (error) *error = "read error";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<GreyPicture> DecodePicture(std::string_view bytes, std::string* error) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return DecodePng(bytes, error);
    if (StartsWith(bytes, "\xFF\xD8\xFF")) return DecodeJpeg(bytes, error);
    if (StartsWith(bytes, "RIFF") && bytes.substr(8, 4) == "WEBP") return DecodeWebp(bytes, error);
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return DecodeGif(bytes, error);
    if (StartsWith(bytes, "BM")) return DecodeBmp(bytes, error);
    if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6') {
        return DecodePnm(bytes, error);
    }
    return Refuse(error, "not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)");
}

std::optional<GreyPicture> ReadPicture(const std::string& path, std::string* error) {
    std::optional<std::string> bytes;
    if (path == "-") {
        bytes = ReadAll(stdin, error);
    } else {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) return Refuse(error, "is a directory");
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) return Refuse(error, std::strerror(errno));
        bytes = ReadAll(file, error);
        std::fclose(file);
    }
    if (!bytes) return std::nullopt;
    return DecodePicture(*bytes, error);
}

}  // namespace fudeline
