// PNG pictures in colour, for line extraction: two flat regions of the same
// grey but different hue meet at a line, which the grey decoders lose. PNG is
// where such pictures (clip art, cartoons, logos, most with transparency)
// come from; other formats are traced in grey.
#pragma once

#include <string_view>

#include "pixels/colour_picture.h"
#include "pixels/result.h"

namespace fudeline {

bool IsPngBytes(std::string_view bytes);

// Transparent parts laid on white paper (ChannelOverWhite); the size limit
// and the errors are DecodePicture's.
Result<ColourPicture> DecodeColourPng(std::string_view bytes);

}  // namespace fudeline
