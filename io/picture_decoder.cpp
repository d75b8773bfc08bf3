#include "io/picture_decoder.h"

#include "io/file_bytes.h"
#include "io/picture_formats.h"

namespace fudeline {
namespace picture_formats {

Status CheckPictureSize(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0) return Refuse("the picture has no pixels");
    // Both factors are below 2^32, so the product cannot overflow.
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height * 4 > kMaxPictureBytes) {
        return Refuse("the picture is too large (" + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels)");
    }
    return {};
}

Result<GreyPicture> AllocatePicture(std::uint64_t width, std::uint64_t height) {
    if (Status size = CheckPictureSize(width, height); !size) return size.error();
    GreyPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.levels.assign(width * height, 255);
    return picture;
}

}  // namespace picture_formats

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

Result<GreyPicture> DecodePicture(std::string_view bytes) {
    using namespace picture_formats;
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return DecodePng(bytes);
    if (StartsWith(bytes, "\xFF\xD8\xFF")) return DecodeJpeg(bytes);
    if (StartsWith(bytes, "RIFF") && bytes.substr(8, 4) == "WEBP") return DecodeWebp(bytes);
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return DecodeGif(bytes);
    if (StartsWith(bytes, "BM")) return DecodeBmp(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6') {
        return DecodePnm(bytes);
    }
    return Refuse("not a picture in a known format (PNG, JPEG, WebP, GIF, BMP or PNM)");
}

Result<GreyPicture> ReadPicture(const std::string& path) {
    // No picture within the decoding limit has a larger file.
    const Result<std::string> bytes = ReadFileBytes(path, kMaxPictureBytes);
    if (!bytes) return bytes.error();
    Result<GreyPicture> picture = DecodePicture(*bytes);
    if (!picture) return picture.error().WithPath(InputName(path));
    return picture;
}

}  // namespace fudeline
