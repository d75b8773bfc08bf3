// One decoder per picture format, behind DecodePicture. Each gets the whole
// file and the same contract: a grey picture within the size limit, or an
// error saying what is wrong with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/png_rgba.h"
#include "pixels/grey_picture.h"
#include "pixels/result.h"

namespace fudeline::picture_formats {

Result<GreyPicture> DecodePng(std::string_view bytes);
Result<GreyPicture> DecodeJpeg(std::string_view bytes);
Result<GreyPicture> DecodeWebp(std::string_view bytes);
Result<GreyPicture> DecodeGif(std::string_view bytes);
Result<GreyPicture> DecodeBmp(std::string_view bytes);
Result<GreyPicture> DecodePnm(std::string_view bytes);

// A still WebP picture within the size limit as RGBA, for the grey and the
// colour decoder alike.
Result<RgbaPixels> DecodeWebpRgba(std::string_view bytes);

// The decoders' failures: the reason, no path (the reader of the file adds it).
inline Error Refuse(std::string why) {
    return Error{"", std::move(why)};
}

// Why a picture of this size cannot be decoded: it is empty, or it would
// decode past the limit. Every decoder, grey or colour, asks before decoding.
Status CheckPictureSize(std::uint64_t width, std::uint64_t height);

// A white picture of this size, or why not when it is empty or would decode
// past the limit; checked before anything is decoded.
Result<GreyPicture> AllocatePicture(std::uint64_t width, std::uint64_t height);

// RGBA pixels (a WebP's, however decoded) in grey over white paper.
Result<GreyPicture> GreyOverWhite(const RgbaPixels& pixels);

}  // namespace fudeline::picture_formats
