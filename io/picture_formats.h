// What the readers of pictures share: the decoders of the formats the core
// reads from their bytes alone (BMP, PNM), the size limit every reader checks
// before decoding, and how they refuse.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "errors/result.h"
#include "io/io_errors.h"
#include "pixels/grey_picture.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodeBmp(std::string_view bytes);
Result<GreyPicture> DecodePnm(std::string_view bytes);

// The decoders' failures: the reason, no path (the reader of the file adds it).
template <typename... Values>
Error Refuse(const ErrorKind& kind, Values&&... values) {
    return Error{"", kind, std::forward<Values>(values)...};
}

// Why a picture of this size cannot be decoded: it is empty, or it would
// decode past the limit. Every decoder, grey or colour, asks before decoding.
Status CheckPictureSize(std::uint64_t width, std::uint64_t height);

// A white picture of this size, or why not when it is empty or would decode
// past the limit; checked before anything is decoded.
Result<GreyPicture> AllocatePicture(std::uint64_t width, std::uint64_t height);

}  // namespace fudeline::picture_formats
