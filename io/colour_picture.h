// Pictures in colour, for line extraction: two flat regions of the same grey
// but different hue meet at a line, which a grey picture loses. PNG (clip
// art, cartoons, logos, most with transparency) and JPEG are read in colour;
// the other formats are traced in grey (DecodePicture).
#pragma once

#include <string_view>

#include "pixels/colour_picture.h"
#include "pixels/result.h"

namespace fudeline {

// Whether DecodeColourPicture takes these bytes (PNG or JPEG, by their first bytes).
bool HasColourDecoder(std::string_view bytes);

// Transparent parts laid on white paper (ChannelOverWhite); the size limit
// and the errors are DecodePicture's.
Result<ColourPicture> DecodeColourPicture(std::string_view bytes);

}  // namespace fudeline
