// Which picture format some bytes hold, told by their first bytes: the one
// reading of signatures that the grey and colour decoders and the ink-image
// reader share.
#pragma once

#include <string_view>

namespace fudeline {

enum class PictureFormat { Unknown, Png, Jpeg, Webp, Gif, Bmp, Pnm };

inline PictureFormat SniffPictureFormat(std::string_view bytes) {
    const auto startsWith = [bytes](std::string_view prefix) {
        return bytes.substr(0, prefix.size()) == prefix;
    };
    if (startsWith("\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
    if (startsWith("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
    if (startsWith("RIFF") && bytes.size() >= 12 && bytes.substr(8, 4) == "WEBP") {
        return PictureFormat::Webp;
    }
    if (startsWith("GIF87a") || startsWith("GIF89a")) return PictureFormat::Gif;
    if (startsWith("BM")) return PictureFormat::Bmp;
    if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6') {
        return PictureFormat::Pnm;
    }
    return PictureFormat::Unknown;
}

}  // namespace fudeline
