// One decoder per picture format, behind DecodePicture. Each gets the whole
// file and the same contract: a grey picture within the size limit, or an error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pixels/grey_picture.h"

namespace fudeline::picture_formats {

std::optional<GreyPicture> DecodePng(std::string_view bytes, std::string* error);
std::optional<GreyPicture> DecodeJpeg(std::string_view bytes, std::string* error);
std::optional<GreyPicture> DecodeWebp(std::string_view bytes, std::string* error);
std::optional<GreyPicture> DecodeGif(std::string_view bytes, std::string* error);
std::optional<GreyPicture> DecodeBmp(std::string_view bytes, std::string* error);
std::optional<GreyPicture> DecodePnm(std::string_view bytes, std::string* error);

// Nothing and the reason, for the decoders' failure paths.
std::optional<GreyPicture> Refuse(std::string* error, const std::string& why);

// A white picture of this size, or nothing (and why) when it is empty or
// would decode past the limit; checked before anything is decoded.
std::optional<GreyPicture> AllocatePicture(std::uint64_t width, std::uint64_t height,
                                           std::string* error);

}  // namespace fudeline::picture_formats
